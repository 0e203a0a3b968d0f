// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "GlyvantaApplication.h"
#include "Paths.h"
#include "QtPrompter.h"
#include "QtToolkitFonts.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "TFormPreview.h"
#include "TipOfTheDay.h"

#include <QDir>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

struct Options {
    QString screenshot;
    int screenshotPage = -1;
    QStringList arguments;   // the program's own: a font file path and an option word
};

Options parseArguments(const QStringList &all)
{
    Options options;
    for (qsizetype i = 1; i < all.size(); ++i) {
        if (all[i] == QLatin1String("--screenshot") && i + 1 < all.size())
            options.screenshot = all[++i];
        else if (all[i] == QLatin1String("--screenshot-page") && i + 1 < all.size())
            options.screenshotPage = all[++i].toInt();
        else
            options.arguments << all[i];
    }
    return options;
}

}

int main(int argc, char *argv[])
{
    GlyvantaApplication app(argc, argv);
    const Options options = parseArguments(app.arguments());

    const Paths paths = Paths::fromEnvironment(QCoreApplication::applicationDirPath());
    QtPrompter prompter;
    app.setErrorPrompter(&prompter);
    RegistryStore registry(paths.registryFile());
    const RegistryStore::LoadResult loaded = registry.load();
    QtToolkitFonts toolkitFonts;
    FontCatalogue catalogue(paths.cacheFolder, &toolkitFonts);
    FontsRegistry fontsKey(catalogue, paths.systemFontsFolder);

    TFormPreview window(MainServices{prompter, registry, catalogue, fontsKey, paths}, options.arguments);
    prompter.setOwner(&window);
    reportStoreLoad(loaded, registry, prompter);
    window.show();

    if (!options.screenshot.isEmpty()) {
        window.tips().StartupTipPending = false;
        QTimer::singleShot(400, &window, [&] {
            if (options.screenshotPage >= 0 && options.screenshotPage < window.ui().TabsPreviewModes->count()) {
                window.ui().TabsPreviewModes->setCurrentIndex(options.screenshotPage);
                window.TabsPreviewModesChange();
            }
            QTimer::singleShot(200, &window, [&] {
                const bool saved = window.grab().save(options.screenshot, "PNG");
                std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "Screenshot written to" : "Could not write",
                             qPrintable(QDir::current().absoluteFilePath(options.screenshot)));
                window.close();
                app.exit(saved ? 0 : 1);
            });
        });
    }
    return app.exec();
}
