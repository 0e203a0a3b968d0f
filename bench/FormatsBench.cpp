// SPDX-License-Identifier: MIT
// Previewing the formats that are unpacked or picked out before FreeType reads them: a WOFF2 file
// and the second face of a collection, each under 1 MB, through the window's whole road (load,
// views, character map).
#include "BenchForm.h"
#include "BenchSupport.h"
#include "CharacterMap.h"
#include "FontFormatBuilders.h"
#include "FontLoader.h"
#include "GlyvantaApplication.h"
#include "TFormPreview.h"
#include "WebFont.h"

#include <QFile>

namespace {

QString writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// Each run previews the file after another one, as a user going through a folder does; the
// other file's preview is not timed.
double previewMedian(TFormPreview &form, const QString &path, int faceIndex, const QString &other)
{
    form.ReleaseCurrentFont();
    if (form.previewFontFile(path, faceIndex) != 0 || form.fontLoader().loaded().path != path)
        std::printf("%s face %d did not load\n", qPrintable(path), faceIndex);
    return medianMs(
        21,
        [&] {
            form.ReleaseCurrentFont();
            form.previewFontFile(path, faceIndex);
            form.characterMap().CharactersPreviewClick();
        },
        [&] {
            form.ReleaseCurrentFont();
            form.previewFontFile(other, 0);
        });
}

}

int main(int argc, char **argv)
{
    BenchHome home;
    GlyvantaApplication app(argc, argv);
    using namespace FontFormatBuilders;
    const QString dejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
    const QByteArray serif = fileBytesOf(dejaVu + QStringLiteral("DejaVuSerif.ttf"));
    const QByteArray mono = fileBytesOf(dejaVu + QStringLiteral("DejaVuSansMono.ttf"));
    const QString woff2File = writeFile(home.path() + QStringLiteral("/Serif.woff2"), woff2(serif, home.path() + QStringLiteral("/scratch")));
    const QString ttcFile = writeFile(home.path() + QStringLiteral("/Pair.ttc"), collection({mono, serif}));
    const QString otherWoff2 = writeFile(home.path() + QStringLiteral("/Mono.woff2"), woff2(mono, home.path() + QStringLiteral("/scratch")));
    const QString otherTtc = writeFile(home.path() + QStringLiteral("/Other.ttc"), collection({serif, mono}));
    std::printf("WOFF2 %lld bytes (unpacks to %lld), collection %lld bytes\n", static_cast<long long>(QFile(woff2File).size()),
                static_cast<long long>(serif.size()), static_cast<long long>(QFile(ttcFile).size()));

    // Alternating with another file, so that no result kept from the run before is used.
    const QByteArray packed = fileBytesOf(woff2File), otherPacked = fileBytesOf(otherWoff2);
    report("unpacking the WOFF2 alone (median of 21)",
           medianMs(21, [&] { decodeWebFont(packed, 256 << 20); }, [&] { decodeWebFont(otherPacked, 256 << 20); }));

    BenchForm bench;
    TFormPreview &form = bench.form;
    QCoreApplication::processEvents();
    for (const int mode : {0, 1}) {
        if (mode == 1)
            form.CharMap2Click();
        std::printf("%s\n", mode == 0 ? "Text sample mode" : "Character map mode");
        report("preview of DejaVuSerif.woff2 (median of 21)", previewMedian(form, woff2File, 0, otherWoff2));
        report("preview of face 2 of a 2-face .ttc (median of 21)", previewMedian(form, ttcFile, 1, otherTtc));
        report("preview of DejaVuSerif.ttf, for comparison (median of 21)",
               previewMedian(form, dejaVu + QStringLiteral("DejaVuSerif.ttf"), 0, dejaVu + QStringLiteral("DejaVuSansMono.ttf")));
    }
    std::printf("goal: under 20 ms\n");
    form.ReleaseCurrentFont();
    return 0;
}
