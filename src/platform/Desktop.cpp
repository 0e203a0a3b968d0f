// SPDX-License-Identifier: MIT
#include "Desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>

namespace {

// xdg-open tells by its exit code whether a program took the address (0) or none could (3, 4).
// A handler that stays in the foreground keeps it running: after a short wait that counts as
// taken, and the launcher is left to finish on its own.
bool openWithXdgOpen(const QString &launcher, const QUrl &url)
{
    auto *process = new QProcess;
    process->setProgram(launcher);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(3000)) {
        delete process;
        return false;
    }
    if (process->waitForFinished(4000)) {
        const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return ok;
    }
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return true;
}

bool openOnDesktop(const QUrl &url)
{
    if (url.isEmpty() || !url.isValid())
        return false;
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!launcher.isEmpty())
        return openWithXdgOpen(launcher, url);
    return QDesktopServices::openUrl(url);
}

Desktop::Opener &opener()
{
    static Desktop::Opener instance = openOnDesktop;
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

bool Desktop::open(const QUrl &url)
{
    return opener()(url);
}

QString Desktop::openFailureText(const QUrl &url)
{
    const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toDisplayString();
    return QStringLiteral("Could not open %1: no web browser or other program for it is available.").arg(shown.isEmpty() ? QStringLiteral("an empty address") : shown);
}
