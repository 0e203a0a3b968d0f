// SPDX-License-Identifier: MIT
// How the installed-fonts list grows with the collection: N distinct small TrueType fonts
// (a real font with a naming table of its own, written by the test builder) in a temporary folder
// served by a fontconfig configuration and cache of its own. One row of the growth table per run:
//   growth_bench N
// fc-list over the same set, the catalogue read cold (no facts cache) and warm, the real window
// from show() to its first rows and to its whole list, a selection on each of the three pages,
// and the peak RSS of the process.
#include "BenchForm.h"
#include "BenchSupport.h"
#include "InstalledFontsList.h"
#include "InstalledFontsRead.h"
#include "ListView.h"
#include "MallocArenas.h"
#include "GeneratedFonts.h"
#include "GlyvantaApplication.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstring>

#include <sys/resource.h>

namespace {

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

}

int main(int argc, char **argv)
{
    // As the program does first.
    limitMallocArenas();
    // A start-up is timed from here: the application's own set-up (its toolkit fonts) counts too.
    QElapsedTimer timer;
    timer.start();
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    BenchHome home;
    const QString kept = argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : home.path();
    const QString fonts = kept + QStringLiteral("/fonts-%1").arg(count);
    if (!makeGeneratedSet(fonts, count)) {
        std::fprintf(stderr, "could not make the font files\n");
        return 1;
    }
    // Beside the generated set, the desktop's own UI font, as on every real system.
    serveFontFolders(home.path() + QStringLiteral("/fonts.conf"), {fonts, QStringLiteral("/usr/share/fonts/truetype/dejavu")}, kept);
    if (argc <= 3)
        runShell(QStringLiteral("fc-list"));   // fontconfig's own cache, once
    // "start cold|warm" as third and fourth arguments: one start-up of the window in this process,
    // over the facts cache of the parent run (removed first when cold); prints first rows, full list
    // and peak RSS. The growth table runs each start-up in a process of its own, as the program
    // starts: the toolkit's font caches of an earlier window in the same process would hide costs.
    const bool startUp = argc > 4 && std::strcmp(argv[3], "start") == 0;
    if (startUp) {
        const QByteArray parentHome = qgetenv("GROWTH_BENCH_HOME");
        for (const char *v : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            qputenv(v, parentHome + '/' + v);
        const QString cacheFolder = Paths::fromEnvironment(QString()).cacheFolder;
        if (std::strcmp(argv[4], "cold") == 0)
            QDir(cacheFolder).removeRecursively();
        // As the program starts: the installed faces are read while the window is set up.
        startInstalledFacesHeadStart(cacheFolder);
    }
    GlyvantaApplication app(argc, argv);   // as the program starts: its toolkit fonts confined
    if (startUp) {
        BenchForm bench;
        InstalledFontsList &list = bench.form.installedFonts();
        double first = -1;
        while (list.loading()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (first < 0 && list.list().count() > 0)
                first = timer.nsecsElapsed() / 1e6;
        }
        QCoreApplication::processEvents();
        const double full = timer.nsecsElapsed() / 1e6;
        std::printf("%.1f %.1f %.1f\n", first < 0 ? full : first, full, peakRssMb());
        return 0;
    }
    const double fcList = medianMs(5, [] { runShell(QStringLiteral("fc-list")); });
    const QString cache = home.path() + QStringLiteral("/bench-cache/");
    const QString userFonts = home.path() + QStringLiteral("/XDG_DATA_HOME/fonts/");
    std::size_t rows = 0;
    auto read = [&] { rows = readInstalledFonts(cache, userFonts, true).rows.size(); };
    const double cold = medianMs(count > 20000 ? 1 : 3, read, [&] { QDir(cache).removeRecursively(); });
    const double warm = medianMs(5, read);
    // The facts cache alone, as the warm read above left it.
    const double cacheLoad = medianMs(5, [&] {
        FontCatalogue catalogue(cache);
        std::vector<CatalogueFont> none;
        catalogue.fillFacts(none);
    });

    // The window, each start-up in a process of its own: cold (no facts cache of ours), then warm.
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    qputenv("GROWTH_BENCH_HOME", home.path().toUtf8());
    std::vector<double> start[2][3];   // [cold, warm][first rows, full list, peak RSS]
    for (int warmStart = 0; warmStart < 2; ++warmStart) {
        const int runs = warmStart ? 5 : (count >= 20000 ? 3 : 5);
        for (int run = 0; run < runs; ++run) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QString::number(count), kept, QStringLiteral("start"), warmStart ? QStringLiteral("warm") : QStringLiteral("cold")});
            child.waitForFinished(-1);
            const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
            if (figures.size() != 3)
                continue;
            for (int i = 0; i < 3; ++i)
                start[warmStart][i].push_back(figures[i].toDouble());
            std::fprintf(stderr, "start %s: first rows %s ms, full list %s ms, peak RSS %s MB\n", warmStart ? "warm" : "cold",
                         figures[0].constData(), figures[1].constData(), figures[2].constData());
        }
    }

    // Selections, in a window of this process over the warm cache.
    {
        BenchForm bench;
        InstalledFontsList &list = bench.form.installedFonts();
        list.waitUntilLoaded();
        QCoreApplication::processEvents();
        double select[3] = {};
        for (int page = 0; page < 3; ++page) {
            if (page == 0)
                bench.form.FontPreview2Click();
            else if (page == 1)
                bench.form.CharMap2Click();
            else
                bench.form.Report2Click();
            select[page] = selectionMedianMs(bench, 11);
        }
        std::printf("| faces | rows | fc-list | read cold | read warm | cache load | first rows cold | full list cold | first rows warm | full list warm"
                    " | peak RSS cold | peak RSS warm | select text | select map | select report |\n");
        std::printf("| %d | %zu | %.0f ms | %.0f ms | %.0f ms | %.1f ms | %.0f ms | %.0f ms | %.0f ms | %.0f ms | %.0f MB | %.0f MB | %.1f ms | %.1f ms | %.1f ms |\n",
                    count, rows, fcList, cold, warm, cacheLoad, median(start[0][0]), median(start[0][1]), median(start[1][0]),
                    median(start[1][1]), median(start[0][2]), median(start[1][2]), select[0], select[1], select[2]);
    }
    return 0;
}
