// SPDX-License-Identifier: MIT
// Opening an archive of 10,000 entries in the archive view beside `unzip -Z1`, and selecting an
// entry of a typical font archive until it shows in all three views.
#include "ArchiveBrowser.h"
#include "BenchForm.h"
#include "BenchSupport.h"
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "GlyvantaApplication.h"
#include "ListView.h"
#include "Paths.h"
#include "QtPrompter.h"
#include "RegistryStore.h"
#include "TFormPreview.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    BenchHome home;
    GlyvantaApplication app(argc, argv);
    BenchForm bench;
    TFormPreview &form = bench.form;

    ZipBuilder big;
    for (int i = 0; i < 10000; ++i)
        big.add(QByteArray("fonts/face") + QByteArray::number(i) + (i % 2 ? ".ttf" : ".fon"), "abcd");
    const QString bigPath = home.path() + QStringLiteral("/big.zip");
    big.write(bigPath);
    const double open = medianMs(9, [&] {
        form.archiveBrowser().OpenArchive(bigPath);
        QCoreApplication::processEvents();
    });
    const double unzip = medianMs(9, [&] { runShell(QStringLiteral("unzip -Z1 ") + bigPath); });
    std::printf("archive of 10000 entries, %d rows shown\n", form.ui().ZipBrowse->count());
    report("OpenArchive and paint the list (median of 9)", open);
    report("unzip -Z1 (median of 9)", unzip);
    std::printf("goal: under 100 ms\n\n");

    ZipBuilder typical;
    for (const char *name : {"DejaVuSans.ttf", "DejaVuSerif.ttf", "DejaVuSansMono.ttf", "DejaVuSans-Bold.ttf"}) {
        QFile file(QStringLiteral("/usr/share/fonts/truetype/dejavu/") + QString::fromLatin1(name));
        file.open(QIODevice::ReadOnly);
        typical.add(name, file.readAll());
    }
    const QString typicalPath = home.path() + QStringLiteral("/typical.zip");
    typical.write(typicalPath);
    form.archiveBrowser().OpenArchive(typicalPath);
    ListView *list = form.ui().ZipBrowse;
    int row = 1;
    const double select = medianMs(11, [&] {
        row = row == 1 ? 2 : 1;
        list->selectRow(row);
        QCoreApplication::processEvents();
    });
    report("select an entry until it shows (median of 11)", select);
    std::printf("goal: under 50 ms\n");
    form.close();
    return 0;
}
