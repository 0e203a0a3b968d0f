// SPDX-License-Identifier: MIT
// What a selection costs as the collection grows: N distinct small TrueType fonts (as growth_bench
// makes them) served by a fontconfig configuration and cache of its own, the real window, and a
// row of the installed list selected on each page (text sample, character map, report, Unicode
// map); then a preview of font files of each kind the views draw through a font of their own.
//   select_bench N [runs] [preview runs] [folder to keep the generated set in, as growth_bench's]
#include "BenchForm.h"
#include "BenchSupport.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "GeneratedFonts.h"
#include "GlyvantaApplication.h"

#include <QApplication>
#include <QDir>
#include <QFile>

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
    const int previewRuns = argc > 3 ? std::atoi(argv[3]) : 3;
    BenchHome home;
    const QString kept = argc > 4 ? QDir(QString::fromLocal8Bit(argv[4])).absolutePath() : home.path();
    const QString fonts = kept + QStringLiteral("/fonts-%1").arg(count);
    if (!makeGeneratedSet(fonts, count)) {
        std::fprintf(stderr, "could not make the font files\n");
        return 1;
    }
    serveFontFolders(home.path() + QStringLiteral("/fonts.conf"), {fonts}, kept);
    runShell(QStringLiteral("fc-list"));
    GlyvantaApplication app(argc, argv);   // as the program starts: its toolkit fonts confined

    BenchForm bench;
    InstalledFontsList &list = bench.form.installedFonts();
    while (list.loading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();

    double select[4] = {};
    for (int page = 0; page < 4; ++page) {
        if (page == 0)
            bench.form.FontPreview2Click();
        else if (page == 1)
            bench.form.CharMap2Click();
        else if (page == 2)
            bench.form.Report2Click();
        else
            bench.form.UnicodeMap2Click();
        select[page] = selectionMedianMs(bench, runs);
    }

    std::printf("| faces | rows | select text | select map | select report | select unicode |\n| %d | %d", count, list.list().count());
    for (double ms : select)
        std::printf(" | %.1f ms", ms);
    std::printf(" |\n");
    std::fflush(stdout);
    if (previewRuns <= 0)
        return 0;

    // A preview of a file of each kind, on the text sample page.
    bench.form.FontPreview2Click();
    const QString files[] = {QStringLiteral("/usr/share/wine/fonts/couree.fon"), QStringLiteral("/usr/share/fonts/X11/Type1/NimbusSans-Italic.pfb"),
                             QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf")};
    double preview[3] = {};
    for (int f = 0; f < 3; ++f)
        preview[f] = medianMs(previewRuns, [&] {
            bench.form.ReleaseCurrentFont();
            bench.form.previewFontFile(files[f]);
            bench.form.repaint();
            QCoreApplication::processEvents();
        });

    std::printf("| faces | preview .fon | preview .pfb | preview .ttf |\n| %d", count);
    for (double ms : preview)
        std::printf(" | %.1f ms", ms);
    std::printf(" |\n");
    return 0;
}
