// SPDX-License-Identifier: MIT
#include "MenuTree.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QVariant>

void DisableMenuTree(QAction *item)
{
    if (!item->isEnabled())
        return;
    item->setProperty("tag", QVariant::fromValue(item->shortcut()));
    item->setShortcut(QKeySequence());
    item->setEnabled(false);
    if (QMenu *menu = QMenu::menuInAction(item))
        for (QAction *child : menu->actions())
            DisableMenuTree(child);
}

void EnableMenuTree(QAction *item)
{
    if (item->isEnabled())
        return;
    item->setShortcut(item->property("tag").value<QKeySequence>());
    item->setEnabled(true);
    if (QMenu *menu = QMenu::menuInAction(item))
        for (QAction *child : menu->actions())
            EnableMenuTree(child);
}
