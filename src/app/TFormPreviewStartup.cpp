// SPDX-License-Identifier: MIT
// The window's command-line arguments at start-up.
#include "TFormPreview.h"

#include "FolderBrowser.h"
#include "FontViews.h"
#include "Installer.h"
#include "ListView.h"
#include "Prompter.h"
#include "StartupArguments.h"

#include <QDir>
#include <QTimer>
#include <QSignalBlocker>

bool TFormPreview::openStartupArguments()
{
    const StartupPlan plan = planStartup(m_arguments, QDir::currentPath());
    switch (plan.kind) {
    case StartupPlan::Kind::Nothing:
        return false;
    case StartupPlan::Kind::Refused:
        // Told, then the window starts as it would without the argument.
        m_services.prompter.message(plan.message, MessageIcon::Error);
        return false;
    case StartupPlan::Kind::Folder:
        if (!m_folderBrowser->ListFolder(plan.path))
            return false;
        m_folderBrowser->CurrentFolder = plan.path;
        m_fontViews->setSampleFace(QStringLiteral("Times New Roman"));
        m_folderBrowser->selectFirstFile();
        return true;
    case StartupPlan::Kind::Archive:
        // Once the start-up has set out its views, which shows the folder view.
        QTimer::singleShot(0, this, [this, path = plan.path] { guarded([&] { openDroppedArchive(path); }); });
        return true;
    case StartupPlan::Kind::FontFile:
        break;
    }
    loadFontFromPath(plan.path);
    selectListedFile(plan.path);
    if (plan.install)
        m_installer->installFromCommandLine(plan.path);
    if (!plan.others.isEmpty())
        m_services.prompter.message(plan.message, MessageIcon::Information);
    return true;
}

void TFormPreview::selectListedFile(const QString &path)
{
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    ListView *list = m_ui.FilesBrowse;
    for (int row = 0; row < list->count(); ++row) {
        const ListView::Item &item = list->item(row);
        const QString name = item.name.isEmpty() ? item.caption + item.subItems.value(0) : item.name;
        if (item.subItems.value(0) != QLatin1String(" ") && name == fileName) {
            const QSignalBlocker quiet(list);
            list->selectRow(row);
            list->scrollToRow(row);
            return;
        }
    }
}
