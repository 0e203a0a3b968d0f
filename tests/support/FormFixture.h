// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveBrowser.h"
#include "FontCatalogue.h"
#include "FontLoader.h"
#include "FontViews.h"
#include "FontsRegistry.h"
#include "InstalledFontsList.h"
#include "RegistryStore.h"
#include "ScriptedPrompter.h"
#include "TFormPreview.h"
#include "TipOfTheDay.h"
#include "TestEnvironment.h"
#include "QtToolkitFonts.h"

#include <QAction>
#include <QMenu>

#include <QCoreApplication>
#include <QTimer>

#include <memory>

// A main window over the test environment, its services and a scripted prompter.
struct FormFixture {
    explicit FormFixture(QStringList arguments = {}, bool resetFiles = true)
        : paths(preparedPaths(resetFiles))
        , registry(paths.registryFile())
        , catalogue(paths.cacheFolder, &toolkitFonts)
        , fontsKey(catalogue, paths.systemFontsFolder)
    {
        registry.load();
        form = std::make_unique<TFormPreview>(MainServices{prompter, registry, catalogue, fontsKey, paths}, std::move(arguments));
    }
    ~FormFixture()
    {
        if (form && form->isVisible())
            form->close();
    }
    static Paths preparedPaths(bool resetFiles)
    {
        if (resetFiles)
            TestEnvironment::instance().resetUserFiles();
        return TestEnvironment::instance().paths();
    }
    // Shows the window (which runs start-up). The tests drive the 50 ms timer themselves
    // (SysTimerTimer), so that no tick lands between a handler and the check of its result; the
    // start-up tip stays pending only when asked.
    void show(bool keepStartupTip = false)
    {
        form->show();
        if (QTimer *timer = form->findChild<QTimer *>(QStringLiteral("SysTimer")))
            timer->stop();
        if (!keepStartupTip)
            form->tips().StartupTipPending = false;
        QCoreApplication::processEvents();
        // The installed list is read on a worker thread; the tests start from the whole list.
        form->installedFonts().waitUntilLoaded();
    }

    Paths paths;
    ScriptedPrompter prompter;
    RegistryStore registry;
    QtToolkitFonts toolkitFonts;
    FontCatalogue catalogue;
    FontsRegistry fontsKey;
    std::unique_ptr<TFormPreview> form;
};

// A command or menu of the window by its objectName, as a user's script would find it.
inline QAction *actionNamed(QObject &form, const QString &name)
{
    return form.findChild<QAction *>(name);
}
inline QMenu *menuNamed(QObject &form, const QString &name)
{
    return form.findChild<QMenu *>(name);
}
