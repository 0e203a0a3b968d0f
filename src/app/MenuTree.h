// SPDX-License-Identifier: MIT
#pragma once

class QAction;

// A disabled menu's items give up their shortcuts until the menu is enabled again. The
// shortcut is kept in the item's tag (the "tag" property), which starts as its own shortcut.
void DisableMenuTree(QAction *item);
void EnableMenuTree(QAction *item);
