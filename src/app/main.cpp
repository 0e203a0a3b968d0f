// SPDX-License-Identifier: MIT
#include "CliCommands.h"
#include "CommandLine.h"
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "InstalledFontsRead.h"
#include "GlyvantaApplication.h"
#include "MallocArenas.h"
#include "NativeFile.h"
#include "Paths.h"
#include "QtPrompter.h"
#include "QtToolkitFonts.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "TFormPreview.h"
#include "TipOfTheDay.h"
#include "WindowLayout.h"

#include <QDir>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

// File names are bytes: a name that is not UTF-8 must reach the program as the file it names.
QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << pathFromNative(QByteArrayView(argv[i]));
    return arguments;
}

// A command line that asks for no window runs on a core application: no display is needed.
int runWithoutWindow(int argc, char **argv, const CommandLine &line)
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Glyvanta"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCommandLine(line, Paths::fromEnvironment(QCoreApplication::applicationDirPath()), out, err);
}

void scheduleScreenshot(GlyvantaApplication &app, TFormPreview &window, const CommandLine &line)
{
    window.tips().StartupTipPending = false;
    QTimer::singleShot(400, &window, [&app, &window, line] {
        if (line.screenshotPage >= 0) {
            window.ui().TabsPreviewModes->setCurrentIndex(line.screenshotPage);
            window.TabsPreviewModesChange();
        }
        QTimer::singleShot(200, &window, [&app, &window, line] {
            const bool saved = window.grab().save(line.screenshot, "PNG");
            std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "Screenshot written to" : "Could not write",
                         qPrintable(QDir::current().absoluteFilePath(line.screenshot)));
            window.close();
            app.exit(saved ? 0 : 1);
        });
    });
}

int runWindow(int argc, char **argv)
{
    // The application takes Qt's own options (-platform, -style, ...) out of argv first.
    GlyvantaApplication app(argc, argv);
    const CommandLine line = parseCommandLine(argumentsOf(argc, argv));
    if (line.kind != CommandLine::Kind::Window) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runCommandLine(line, Paths::fromEnvironment(QCoreApplication::applicationDirPath()), out, err);
    }
    app.setWindowIcon(applicationIcon());
    app.setDesktopFileName(QStringLiteral("org.example.Glyvanta"));

    const Paths paths = Paths::fromEnvironment(QCoreApplication::applicationDirPath());
    QtPrompter prompter;
    app.setErrorPrompter(&prompter);
    RegistryStore registry(paths.registryFile());
    const RegistryStore::LoadResult loaded = registry.load();
    QtToolkitFonts toolkitFonts;
    FontCatalogue catalogue(paths.cacheFolder, &toolkitFonts);
    FontsRegistry fontsKey(catalogue, paths.systemFontsFolder);

    TFormPreview window(MainServices{prompter, registry, catalogue, fontsKey, paths}, line.windowArguments);
    prompter.setOwner(&window);
    reportStoreLoad(loaded, registry, prompter);
    window.show();

    if (!line.screenshot.isEmpty())
        scheduleScreenshot(app, window, line);
    return app.exec();
}

}

int main(int argc, char *argv[])
{
    limitMallocArenas();
    // Decided before any application exists: only the window needs a display.
    const CommandLine early = parseCommandLine(withoutToolkitOptions(argumentsOf(argc, argv)));
    if (early.kind != CommandLine::Kind::Window)
        return runWithoutWindow(argc, argv, early);

    // The installed faces are read while the toolkit and the window are set up.
    startInstalledFacesHeadStart(Paths::fromEnvironment(QString()).cacheFolder);
    const int code = runWindow(argc, argv);
    endInstalledFacesHeadStart();
    return code;
}
