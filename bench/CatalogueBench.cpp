// SPDX-License-Identifier: MIT
// Enumerating the installed fonts and building the list rows over 1,000 distinct font files,
// cold (no facts cache) and warm, beside fc-list over the same isolated configuration.
#include "BenchSupport.h"
#include "FontCatalogue.h"
#include "InstalledFontsRead.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Copies a small font with its family name rewritten, so that every copy is a family of its own.
bool makeFonts(const QString &folder, int count)
{
    QFile source(QStringLiteral("/usr/share/wine/fonts/fixedsys.ttf"));
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray font = source.readAll();
    const QByteArray ascii = "Fixedsys";
    QByteArray utf16;
    for (char c : ascii)
        utf16.append('\0').append(c);
    for (int i = 0; i < count; ++i) {
        const QByteArray name = QByteArray("Fx") + QByteArray::number(i).rightJustified(6, '0');
        QByteArray nameUtf16;
        for (char c : name)
            nameUtf16.append('\0').append(c);
        QByteArray copy = font;
        copy.replace(utf16, nameUtf16).replace(ascii, name);
        QFile out(folder + QStringLiteral("/bench%1.ttf").arg(i, 4, 10, QLatin1Char('0')));
        if (!out.open(QIODevice::WriteOnly) || out.write(copy) != copy.size())
            return false;
    }
    return true;
}

}

int main(int argc, char **argv)
{
    QTemporaryDir root;
    const QString fonts = root.path() + QStringLiteral("/fonts");
    QDir().mkpath(fonts);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (!makeFonts(fonts, count)) {
        std::fprintf(stderr, "could not make the font files\n");
        return 1;
    }
    QFile conf(root.path() + QStringLiteral("/fonts.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir><cachedir>%2/fccache</cachedir></fontconfig>\n")
                   .arg(fonts, root.path()).toUtf8());
    conf.close();
    qputenv("FONTCONFIG_FILE", conf.fileName().toUtf8());
    QCoreApplication app(argc, argv);

    runShell(QStringLiteral("fc-list"));   // builds fontconfig's own cache once
    const QString cacheFolder = root.path() + QStringLiteral("/cache/");
    size_t rows = 0;
    // What the start-up reads: the faces, the Fonts-key view of them and the matched rows.
    auto enumerate = [&] { rows = readInstalledFonts(cacheFolder, root.path() + QStringLiteral("/userfonts/"), true).rows.size(); };
    const double fcList = medianMs(9, [] { runShell(QStringLiteral("fc-list")); });
    const double cold = medianMs(5, enumerate, [&] { QDir(cacheFolder).removeRecursively(); });
    enumerate();
    const double warm = medianMs(9, enumerate);

    std::printf("%d font files, %zu list rows\n", count, rows);
    report("fc-list (median of 9)", fcList);
    report("read + Fonts key + rows, cold facts cache (median of 5)", cold);
    report("read + Fonts key + rows, warm facts cache (median of 9)", warm);
    std::printf("ratio cold / fc-list: %.2f (goal <= 3)\nratio warm / fc-list: %.2f (goal <= 1.5)\n", cold / fcList, warm / fcList);
    return 0;
}
