// SPDX-License-Identifier: MIT
#pragma once

#include "BenchSupport.h"
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "Paths.h"
#include "QtPrompter.h"
#include "QtToolkitFonts.h"
#include "RegistryStore.h"
#include "TFormPreview.h"
#include "TipOfTheDay.h"

#include <QCoreApplication>
#include <QTemporaryDir>

// A temporary home for a benchmark: XDG folders of its own and the offscreen platform. Create it
// before the application object.
struct BenchHome {
    BenchHome()
    {
        for (const char *v : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            qputenv(v, home.path().toUtf8() + '/' + v);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QString path() const { return home.path(); }
    QTemporaryDir home;
};

// The main window over the real services, shown, with no start-up tip.
struct BenchForm {
    BenchForm()
        : paths(Paths::fromEnvironment(QCoreApplication::applicationDirPath()))
        , registry(paths.registryFile())
        , catalogue(paths.cacheFolder, &toolkitFonts)
        , fontsKey(catalogue, paths.systemFontsFolder)
        , form(MainServices{prompter, registry, catalogue, fontsKey, paths}, {})
    {
        form.resize(900, 700);
        form.show();
        form.tips().StartupTipPending = false;
    }
    Paths paths;
    QtPrompter prompter;
    RegistryStore registry;
    QtToolkitFonts toolkitFonts;
    FontCatalogue catalogue;
    FontsRegistry fontsKey;
    TFormPreview form;
};

// The median time of selecting rows spread over the installed list, on the page shown, with the
// window painted each time.
inline double selectionMedianMs(BenchForm &bench, int runs)
{
    ListView &list = bench.form.installedFonts().list();
    int row = 0;
    const int step = std::max(1, list.count() / runs);
    return medianMs(runs, [&] {
        row = (row + step + 1) % list.count();
        list.selectRow(row);
        bench.form.repaint();
        QCoreApplication::processEvents();
    });
}
