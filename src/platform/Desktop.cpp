// SPDX-License-Identifier: MIT
#include "Desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>

namespace {
Desktop::Opener &opener()
{
    static Desktop::Opener instance = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return instance;
}
}

QString Desktop::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

bool Desktop::clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void Desktop::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void Desktop::setOpener(Opener replacement)
{
    opener() = std::move(replacement);
}

void Desktop::open(const QUrl &url)
{
    opener()(url);
}
