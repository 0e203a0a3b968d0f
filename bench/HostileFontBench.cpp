// SPDX-License-Identifier: MIT
// Previewing font files built to cost as much as possible: a naming table of 65,535 records of
// 64 KB each, and a collection of 12,000 faces. The work must follow the file's size.
#include "BenchForm.h"
#include "BenchSupport.h"
#include "CharacterMap.h"
#include "FontCatalogue.h"
#include "FontLoader.h"
#include "GlyvantaApplication.h"
#include "NameTableReader.h"
#include "SfntBuilder.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include <unistd.h>

namespace {

std::vector<std::uint8_t> readFont(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

QString writeFont(const QString &path, const std::vector<std::uint8_t> &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

void reportPerMegabyte(const char *what, double ms, std::size_t bytes)
{
    report(what, ms);
    std::printf("%-58s %10.2f ms per MB\n", "", ms / (double(bytes) / (1024 * 1024)));
}

}

int main(int argc, char **argv)
{
    BenchHome home;
    GlyvantaApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;

    const auto base = readFont(QStringLiteral("/usr/share/wine/fonts/fixedsys.ttf"));
    const auto overlapping = SfntBuilder::withNameTable(base, SfntBuilder::repeatedNameTable(65535, 65535));
    const auto stored = SfntBuilder::withNameTable(base, SfntBuilder::repeatedNameTable(65535, 65535, true));
    const auto collection = SfntBuilder::collectionOf(base, 12000, 32 * 12000);
    // Faces that do not share a directory: each must be parsed on its own.
    const auto distinct = SfntBuilder::collectionOf(base, 12000, 32 * 12000, true);
    const QString names = writeFont(home.path() + QStringLiteral("/names.ttf"), overlapping);
    const QString storedNames = writeFont(home.path() + QStringLiteral("/stored.ttf"), stored);
    const QString faces = writeFont(home.path() + QStringLiteral("/faces.ttc"), collection);
    const QString distinctFaces = writeFont(home.path() + QStringLiteral("/distinct.ttc"), distinct);
    std::printf("names.ttf %zu bytes, stored.ttf %zu bytes, faces.ttc %zu bytes, distinct.ttc %zu bytes\n", overlapping.size(), stored.size(),
                collection.size(), distinct.size());

    const double reader = medianMs(runs, [&] {
        CurrentFontRecord record;
        ReadTrueTypeNames(record, names);
        if (record.FontFileHandle > 0)
            ::close(record.FontFileHandle);
    });
    reportPerMegabyte("ReadTrueTypeNames, names.ttf (median)", reader, overlapping.size());

    BenchForm bench;
    TFormPreview &form = bench.form;
    QCoreApplication::processEvents();
    auto preview = [&](const QString &path) {
        form.ReleaseCurrentFont();
        const int result = form.fontLoader().LoadFontFile(path);
        std::printf("%s: result %d, face \"%s\"\n", qPrintable(QFileInfo(path).fileName()), result,
                    qPrintable(form.ui().StatusPanels[3]->text().left(24).simplified()));
        return medianMs(runs, [&] {
            form.ReleaseCurrentFont();
            form.fontLoader().LoadFontFile(path);
            form.characterMap().CharactersPreviewClick();
        });
    };
    const QString plain = writeFont(home.path() + QStringLiteral("/plain.ttf"), base);
    reportPerMegabyte("LoadFontFile, the same font as it is (median)", preview(plain), base.size());
    reportPerMegabyte("LoadFontFile, names.ttf (median)", preview(names), overlapping.size());
    reportPerMegabyte("LoadFontFile, stored.ttf (median)", preview(storedNames), stored.size());
    reportPerMegabyte("LoadFontFile, faces.ttc (median)", preview(faces), collection.size());
    reportPerMegabyte("LoadFontFile, distinct.ttc (median)", preview(distinctFaces), distinct.size());
    std::printf("goal: a few ms per MB\n");
    form.close();
    return 0;
}
