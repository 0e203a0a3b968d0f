// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Clipboard text and the desktop's "open". Tests replace the opener to see what was opened and
// to stand for a desktop that has no program for the address.
namespace Desktop {
QString clipboardText();
bool clipboardHasText();
void setClipboardText(const QString &text);

// True when a program took the address.
using Opener = std::function<bool(const QUrl &)>;
void setOpener(Opener opener);
bool open(const QUrl &url);
// What the user is told when nothing could open the address.
QString openFailureText(const QUrl &url);
}
