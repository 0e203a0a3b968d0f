// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Clipboard text and the desktop's "open". Tests replace the opener to see what was opened.
namespace Desktop {
QString clipboardText();
bool clipboardHasText();
void setClipboardText(const QString &text);

using Opener = std::function<void(const QUrl &)>;
void setOpener(Opener opener);
void open(const QUrl &url);
}
