// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <thread>

namespace {

// The facts as one line, so that a difference shows which field it is.
QString describe(const FontFacts &f)
{
    QStringList charsets;
    for (int c : f.charsets)
        charsets << QString::number(c);
    return QStringLiteral("valid=%1 raster=%2 italic=%3 family=%4 style=%5 full=%6 charsets=%7 weight=%8 pitch=%9 last=%10 w=%11 h=%12")
        .arg(f.valid)
        .arg(f.raster)
        .arg(f.italic)
        .arg(f.family, f.style, f.fullName, charsets.join(QLatin1Char(',')))
        .arg(f.weight)
        .arg(f.pitchAndFamily)
        .arg(f.lastChar)
        .arg(f.width)
        .arg(f.height);
}

}

// A cold start reads many faces at once and shares them out over threads: every face must come
// out as it does when read alone, and the cache written from the threads' results must give the
// same facts back.
TEST(FontCatalogue, FactsReadOnThreadsAreTheFactsOfEachFaceReadAlone)
{
    if (std::thread::hardware_concurrency() < 2)
        GTEST_SKIP() << "one processor: the facts are read on one thread";
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("threaded-facts"));
    const QString cacheFolder = TestEnvironment::instance().makeFolder(QStringLiteral("threaded-facts-cache"));
    const QStringList sources = {TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")), TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")),
                                 TestEnvironment::wine(QStringLiteral("tahoma.ttf")), TestEnvironment::wine(QStringLiteral("marlett.ttf")),
                                 TestEnvironment::wine(QStringLiteral("sserife.fon")), TestEnvironment::wine(QStringLiteral("coure.fon"))};

    // More faces than the threshold, each file a copy of its own: raster files carry several
    // faces, and a face that does not exist must come out invalid on a thread too.
    std::vector<CatalogueFont> fonts;
    const std::size_t wanted = 3 * FontCatalogue::kThreadedFactsThreshold + 1;
    for (std::size_t i = 0; fonts.size() < wanted; ++i) {
        const QString &source = sources[static_cast<qsizetype>(i % sources.size())];
        const QString copy = folder + QStringLiteral("face%1.%2").arg(i).arg(source.section(QLatin1Char('.'), -1));
        ASSERT_TRUE(QFile::copy(source, copy));
        for (int index = 0; index < (source.endsWith(QLatin1String(".fon")) ? 3 : 1); ++index)
            fonts.push_back({copy, index, QString(), false, {}});
        fonts.push_back({copy, 7, QString(), false, {}});
    }
    ASSERT_GT(fonts.size(), FontCatalogue::kThreadedFactsThreshold);

    FontCatalogue cold(cacheFolder);
    cold.fillFacts(fonts);
    int valid = 0;
    for (const CatalogueFont &font : fonts) {
        SCOPED_TRACE((font.file + QLatin1Char('#') + QString::number(font.index)).toStdString());
        EXPECT_EQ(describe(font.facts), describe(FontCatalogue::readFacts(font.file, font.index)));
        valid += font.facts.valid ? 1 : 0;
    }
    EXPECT_GT(valid, static_cast<int>(FontCatalogue::kThreadedFactsThreshold));

    // A second start reads the same facts from the cache.
    std::vector<CatalogueFont> again = fonts;
    for (CatalogueFont &font : again)
        font.facts = {};
    FontCatalogue warm(cacheFolder);
    warm.fillFacts(again);
    for (std::size_t i = 0; i < fonts.size(); ++i)
        EXPECT_EQ(describe(again[i].facts), describe(fonts[i].facts)) << i;
}
