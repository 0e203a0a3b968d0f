// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The family fontconfig draws a font name with: the name itself when fonts of that family are
// installed, else the family it stands in for ("Sans Serif" is a generic name, not a family).
// Empty when fontconfig has no font at all. Asked of the system's configuration, whatever the
// toolkit has been given (see confineToolkitFonts).
QString fontconfigFamilyFor(const QString &name);

// The installed face fontconfig draws a font name with; an empty file when it has none.
struct FontconfigFace {
    QString file;
    int index = 0;
    QString family;
};
FontconfigFace fontconfigFaceFor(const QString &name);

// The system's fontconfig configuration is loaded once and kept; after fonts were installed or
// removed it is let go, and loaded again when next needed.
void forgetSystemFontConfig();
// Renews fontconfig's cache of a folder whose files changed, so that every program sees the
// change, then lets the kept configuration go.
void rescanFontFolder(const QString &folder);

// Gives the toolkit a fontconfig configuration of its own that holds only the fonts it needs for
// the window's own texts: the faces fontconfig draws each name with, the rest of the first one's
// family, and the faces that cover the characters those lack. The toolkit builds its font list
// from the whole configuration and matches every family it is asked for against all of them, a
// cost that grows with the collection; installed faces are drawn through fonts of their own
// instead (FontCatalogue::drawnStyle). Call before the toolkit first lists its fonts. False when
// fontconfig has no fonts for those names: the toolkit then keeps the system's configuration.
bool confineToolkitFonts(const QStringList &names);
