// SPDX-License-Identifier: MIT
// Loads every font file below the folders given through the program's loading path, against the
// machine's own fontconfig, and counts the files that preview as themselves: listed by the
// folder filter, loaded with a face name, and drawn by the sample's font with the file's own
// glyphs. The glyphs are compared as pixels: characters of the file's own coverage, drawn with
// the font the sample really gets and with the face loaded straight from the file's bytes, at
// the same pixel size.
//   preview_check [--old] <filter index> <folder>...
// --old counts as before: the toolkit's family name for the sample's font equals the face's.
#include "FaceFont.h"
#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "FontLoader.h"
#include "FontsRegistry.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "NativeFile.h"
#include "Paths.h"
#include "Prompter.h"
#include "QtToolkitFonts.h"
#include "SameGlyphs.h"
#include "WebFont.h"

#include <QApplication>
#include <QColor>
#include <QDirIterator>
#include <QFont>
#include <QFontInfo>
#include <QMap>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Answers every box with its first button and keeps the last text.
class QuietPrompter final : public Prompter {
public:
    MessageAnswer showMessage(const MessageRequest &request) override
    {
        last = request.text;
        return MessageAnswer::Ok;
    }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QString> openFile(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString &, const QString &) override { return std::nullopt; }
    int runDialog(QDialog &) override { return 2; }
    QString last;
};

struct Tally {
    int files = 0, listed = 0, named = 0, drawn = 0;
};

// The old count: the toolkit's family for the face's font is the face's family.
bool sameFamily(FontCatalogue &catalogue, const QString &face, QString *drawnAs)
{
    const FaceStyle resolved = catalogue.faceStyle(face);
    QFont font;
    font.setFamilies({resolved.family});
    font.setStyleName(resolved.style);
    font.setPixelSize(16);
    // The toolkit tells apart families of the same name from several foundries by a
    // " [foundry]" suffix; the family is what counts.
    QString drawn = QFontInfo(font).family();
    drawn = drawn.left(drawn.indexOf(QLatin1String(" [")) < 0 ? drawn.size() : drawn.indexOf(QLatin1String(" [")));
    *drawnAs = drawn;
    return drawn.compare(resolved.family, Qt::CaseInsensitive) == 0;
}

}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int first = 1;
    const bool old = argc > 1 && qstrcmp(argv[1], "--old") == 0;
    if (old)
        ++first;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: preview_check [--old] <filter index> <folder>...\n");
        return 2;
    }
    const int filter = QString::fromLocal8Bit(argv[first]).toInt();
    QTemporaryDir cache;
    Paths paths = Paths::fromEnvironment(QApplication::applicationDirPath());
    QtToolkitFonts toolkit;
    FontCatalogue catalogue(cache.path(), &toolkit);
    FontsRegistry fontsKey(catalogue, paths.systemFontsFolder);
    ListView list;
    InstalledFontsList installed(catalogue, fontsKey, FontsRegistry::kKeyPath, list);
    installed.BuildInstalledFontFiles();
    installed.FillInstalledFontsList();
    QuietPrompter prompter;
    FontLoader loader(prompter, catalogue, installed);
    QPlainTextEdit sample;

    QMap<QString, Tally> byExtension;
    Tally all;
    for (int a = first + 1; a < argc; ++a) {
        QDirIterator it(QString::fromLocal8Bit(argv[a]), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString ext = fileExtension(path).toLower();
            Tally &t = byExtension[ext.isEmpty() ? QStringLiteral("(none)") : ext];
            ++t.files;
            ++all.files;
            if (FileTypeImage(ext, filter) < 1)
                continue;
            ++t.listed;
            ++all.listed;
            releaseFontRecord(loader.CurrentFont, catalogue);
            if (loader.LoadFontFile(path) != 0 || loader.loaded().face.isEmpty()) {
                std::printf("NO FACE  %s %s\n", qPrintable(path), qPrintable(prompter.last));
                continue;
            }
            ++t.named;
            ++all.named;
            const LoadedFont &font = loader.loaded();
            QString why;
            if (old) {
                if (!sameFamily(catalogue, font.face, &why)) {
                    std::printf("FALLBACK %s face \"%s\" drawn as \"%s\"\n", qPrintable(path), qPrintable(font.face), qPrintable(why));
                    continue;
                }
            } else {
                setFileFace(&sample, font.face, catalogue, font.path, font.faceIndex);
                const std::optional<QByteArray> bytes = readRegularFile(path, FontCatalogue::kFontFileLimit);
                const std::optional<QByteArray> content = bytes ? unpackedFontContent(*bytes, FontCatalogue::kFontFileLimit) : std::nullopt;
                // A raster face is compared at the size of its own strike.
                const FontFacts facts = FontCatalogue::readFacts(path, font.faceIndex);
                const int pixels = facts.raster ? facts.height : 24;
                if (!content || !drawsFileGlyphs(sample.font(), *content, font.faceIndex, pixels, &why)) {
                    std::printf("FALLBACK %s face \"%s\": %s\n", qPrintable(path), qPrintable(font.face), qPrintable(why));
                    continue;
                }
            }
            ++t.drawn;
            ++all.drawn;
        }
    }
    releaseFontRecord(loader.CurrentFont, catalogue);
    std::printf("%-10s %6s %6s %6s %6s\n", "extension", "files", "listed", "named", "itself");
    for (auto it = byExtension.cbegin(); it != byExtension.cend(); ++it)
        std::printf("%-10s %6d %6d %6d %6d\n", qPrintable(it.key()), it->files, it->listed, it->named, it->drawn);
    std::printf("%-10s %6d %6d %6d %6d\n", "total", all.files, all.listed, all.named, all.drawn);
    return 0;
}
