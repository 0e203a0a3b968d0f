// SPDX-License-Identifier: MIT
// The naming-table reader against FreeType's own name reading; loading one TrueType file with
// the character map fill; the map's re-layout.
#include "BenchForm.h"
#include "BenchSupport.h"
#include "CharacterMap.h"
#include "FontCatalogue.h"
#include "FontLoader.h"
#include "FontsRegistry.h"
#include "GlyvantaApplication.h"
#include "NameTableReader.h"
#include "Paths.h"
#include "QtPrompter.h"
#include "RegistryStore.h"
#include "TFormPreview.h"

#include <QDir>
#include <QTableWidget>
#include <QTemporaryDir>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H

#include <unistd.h>

namespace {

QStringList fontFiles()
{
    QStringList files;
    for (const QString &folder : {QStringLiteral("/usr/share/fonts/truetype/dejavu"), QStringLiteral("/usr/share/wine/fonts")})
        for (const QString &name : QDir(folder).entryList({QStringLiteral("*.ttf")}, QDir::Files))
            files << folder + QLatin1Char('/') + name;
    return files;
}

// What FreeType offers for the same job: open the face and fetch every name record.
void freetypeNames(FT_Library library, const QStringList &files)
{
    for (const QString &file : files) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, QFile::encodeName(file).constData(), 0, &face) != 0)
            continue;
        const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
        for (FT_UInt i = 0; i < count; ++i) {
            FT_SfntName name;
            FT_Get_Sfnt_Name(face, i, &name);
        }
        FT_Done_Face(face);
    }
}

}

int main(int argc, char **argv)
{
    BenchHome home;
    GlyvantaApplication app(argc, argv);

    const QStringList files = fontFiles();
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    const double ours = medianMs(15, [&] {
        for (const QString &file : files) {
            CurrentFontRecord record;
            ReadTrueTypeNames(record, file);
            if (record.FontFileHandle > 0)
                ::close(record.FontFileHandle);
        }
    });
    const double freetype = medianMs(15, [&] { freetypeNames(library, files); });
    FT_Done_FreeType(library);
    std::printf("%lld TrueType files\n", static_cast<long long>(files.size()));
    report("ReadTrueTypeNames over every file (median of 15)", ours);
    report("FreeType open + FT_Get_Sfnt_Name (median of 15)", freetype);
    std::printf("ratio ours / FreeType: %.2f (goal <= 1)\n", ours / freetype);

    BenchForm bench;
    TFormPreview &form = bench.form;
    QCoreApplication::processEvents();
    form.CharMap2Click();
    const QString font = home.path() + QStringLiteral("/DejaVuSerif.ttf");
    QFile::copy(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"), font);
    const double load = medianMs(21, [&] {
        form.ReleaseCurrentFont();
        form.fontLoader().LoadFontFile(font);
        form.characterMap().CharactersPreviewClick();
    });
    report("LoadFontFile + map fill, DejaVuSerif.ttf (median of 21)", load);
    std::printf("goal: under 20 ms\n");

    QTableWidget *grid = form.ui().CharactersPreview;
    int width = grid->width();
    const double resize = medianMs(51, [&] {
        width = width == 400 ? 560 : 400;
        grid->setFixedWidth(width);
        form.characterMap().FormResize();
    });
    report("FormResize of a 256-character map (median of 51)", resize);
    std::printf("goal: under 2 ms\n");
    form.close();
    return 0;
}
