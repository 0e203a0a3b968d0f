// SPDX-License-Identifier: MIT
#pragma once

#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "RegistryStore.h"
#include "ScriptedPrompter.h"
#include "TFormPreview.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>

// A main window over the test environment, its services and a scripted prompter.
struct FormFixture {
    explicit FormFixture(QStringList arguments = {}, bool resetFiles = true)
        : paths(preparedPaths(resetFiles))
        , registry(paths.registryFile())
        , catalogue(paths.cacheFolder)
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
            form->state().StartupTipPending = false;
        QCoreApplication::processEvents();
    }

    Paths paths;
    ScriptedPrompter prompter;
    RegistryStore registry;
    FontCatalogue catalogue;
    FontsRegistry fontsKey;
    std::unique_ptr<TFormPreview> form;
};
