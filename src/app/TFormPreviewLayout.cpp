// SPDX-License-Identifier: MIT
// The main window's sizes: the design size, never less than the content needs, and panes that
// share the width of a larger window.
#include "TFormPreview.h"

#include "ListView.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QSplitter>

void TFormPreview::applyLayout()
{
    // Both sides grow with the window; the navigation box by a third of what is added.
    m_ui.MainSplitter->setStretchFactor(0, 1);
    m_ui.MainSplitter->setStretchFactor(1, 2);
    // Archive entries often share a long folder part: the end of the name tells them apart.
    m_ui.ZipBrowse->setCaptionElideMode(Qt::ElideLeft);

    if (QLayout *own = layout())
        own->activate();
    resize(QSize(709, 629).expandedTo(minimumSizeHint()));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
