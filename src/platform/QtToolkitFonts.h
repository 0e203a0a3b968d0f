// SPDX-License-Identifier: MIT
#pragma once

#include "ToolkitFonts.h"

#include <QHash>
#include <QString>

#include <memory>

class QTemporaryDir;

// Fonts of this process in the toolkit's font database, where the views find them by family.
//
// Each font goes to the toolkit as a file of its own name, written to a private folder, not as
// bytes: the toolkit names a font given as bytes after its slot, reuses a freed slot for the next
// one, and keeps the faces it has opened by that name, so a widget still drawing a font given back
// would make the next font in its slot draw the old one's glyphs.
class QtToolkitFonts final : public ToolkitFonts {
public:
    QtToolkitFonts();
    ~QtToolkitFonts() override;
    int addFont(const QByteArray &content) override;
    void removeFont(int id) override;

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QHash<int, QString> m_files;
    int m_written = 0;
};
