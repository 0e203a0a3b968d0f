// SPDX-License-Identifier: MIT
// The naming-table reader against FreeType's FT_Get_Sfnt_Name over 1,000 real font files (the
// TrueType and OpenType files of this machine, taken in turn until there are 1,000), both reading
// every record of the table, in the same run.
#include "BenchSupport.h"
#include "NameTableReader.h"

#include <QDirIterator>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H

int main()
{
    QStringList files;
    for (const char *root : {"/usr/share/fonts", "/usr/share/wine/fonts"}) {
        QDirIterator it(QString::fromLatin1(root), {QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    if (files.isEmpty())
        return 1;
    std::vector<QString> paths;
    for (int i = 0; i < 1000; ++i)
        paths.push_back(files[i % files.size()]);

    std::size_t ours = 0, theirs = 0;
    const double reader = medianMs(9, [&] {
        for (const QString &path : paths)
            ours += readFontFileNames(path)[4].size();
    });
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    const double freetype = medianMs(9, [&] {
        for (const QString &path : paths) {
            FT_Face face = nullptr;
            if (FT_New_Face(library, QFile::encodeName(path).constData(), 0, &face) != 0)
                continue;
            const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
            for (FT_UInt n = 0; n < count; ++n) {
                FT_SfntName name;
                if (FT_Get_Sfnt_Name(face, n, &name) == 0 && name.name_id == 4)
                    theirs += name.string_len;
            }
            FT_Done_Face(face);
        }
    });
    FT_Done_FreeType(library);
    std::printf("%zu distinct files, 1000 reads per pass (checksums %zu / %zu)\n", static_cast<std::size_t>(files.size()), ours, theirs);
    report("naming-table reader, 1,000 files (median of 9)", reader);
    report("FreeType FT_New_Face + FT_Get_Sfnt_Name, 1,000 files (median of 9)", freetype);
    std::printf("ratio reader / FreeType: %.2f\n", reader / freetype);
    return 0;
}
