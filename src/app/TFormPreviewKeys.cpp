// SPDX-License-Identifier: MIT
// The main window from the keyboard: where Tab goes, which page each view key leaves the focus
// in, and the keys for what only the mouse reached.
#include "TFormPreview.h"

#include "ArchiveBrowser.h"
#include "ListView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

void TFormPreview::connectKeyboard()
{
    // Tab moves on: a tab typed by accident would be stored with the sample text.
    m_ui.Preview->setTabChangesFocus(true);
    m_ui.ReportEdit->setTabChangesFocus(true);
    // The arrows move over the map; Tab leaves it.
    m_ui.CharactersPreview->setTabKeyNavigation(false);

    // The favourites are a toolbar button's menu: this key opens it.
    auto *favorites = new QShortcut(QKeySequence(QStringLiteral("Ctrl+D")), this);
    favorites->setObjectName(QStringLiteral("FavoritesShortcut"));
    connect(favorites, &QShortcut::activated, this, [this] { showFavoritesMenu(); });

    // Ins in the archive list installs the selected entry, as the popup's Install does; the File
    // menu's Install stays with the folder list.
    m_ui.PopZipInstall->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_ui.ZipBrowse->addAction(m_ui.PopZipInstall);
}

// Tab walks the toolbar's fields, the navigation box top to bottom, the view tabs and the shown
// page, then starts again. What is hidden or disabled is passed by.
QList<QWidget *> TFormPreview::tabChain() const
{
    QList<QWidget *> chain;
    chain << m_ui.SelectCharset << m_ui.FontSize << m_ui.CopyBuff << m_ui.DisksBrowse;
    // The four view style buttons are one stop, the pressed one; the arrows move between them.
    QWidget *pressedStyle = nullptr;
    for (QToolButton *style : m_ui.ViewStyleButtons)
        if (style->isChecked())
            pressedStyle = style;
    chain << pressedStyle;
    for (ListView *list : {m_ui.FilesBrowse, m_ui.FontsList, m_ui.ZipBrowse})
        chain << list->activeView();
    chain << m_ui.SelectExt << m_ui.TabsPreviewModes->tabBar() << m_ui.Preview << m_ui.CharactersPreview << m_ui.AsciiDec << m_ui.AcsiiHex
          << m_ui.GoTo << m_ui.GoToCode << m_ui.GoToSymbol << m_ui.GoStart << m_ui.ReportEdit;
    chain.removeIf([pressedStyle](QWidget *w) {
        return !w || !w->isVisible() || !w->isEnabled() || (w != pressedStyle && !(w->focusPolicy() & Qt::TabFocus));
    });
    return chain;
}

bool TFormPreview::focusNextPrevChild(bool next)
{
    const QList<QWidget *> chain = tabChain();
    QWidget *focus = QApplication::focusWidget();
    const qsizetype at = chain.indexOf(focus);
    if (chain.isEmpty() || at < 0)
        return QMainWindow::focusNextPrevChild(next);
    const qsizetype to = (at + (next ? 1 : chain.size() - 1)) % chain.size();
    chain[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

QWidget *TFormPreview::pageFocusWidget() const
{
    switch (m_ui.TabsPreviewModes->currentIndex()) {
    case 0:
        return m_ui.Preview;
    case 1:
        return m_ui.CharactersPreview;
    default:
        return m_ui.ReportEdit;
    }
}

void TFormPreview::focusShownPage()
{
    if (QWidget *target = pageFocusWidget(); target && target->isEnabled())
        target->setFocus(Qt::ShortcutFocusReason);
}

void TFormPreview::showFavoritesMenu()
{
    QMenu *menu = m_ui.PopupFavorites;
    QPoint at = mapToGlobal(QPoint(0, 0));
    if (auto *button = findChild<QToolButton *>(QStringLiteral("BtnFavorites")); button && button->isVisible())
        at = button->mapToGlobal(QPoint(0, button->height()));
    menu->popup(at);
    // The first entry is active, so that the arrows and Enter work at once.
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible() && action->isEnabled()) {
            menu->setActiveAction(action);
            break;
        }
    }
}
