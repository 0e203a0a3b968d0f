// SPDX-License-Identifier: MIT
// Listing a folder of 50,000 files (5% fonts, some archives) as the folder view does, beside
// `ls -f` over the same folder.
#include "BenchSupport.h"
#include "FolderListing.h"
#include "ListView.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 50000;
    QTemporaryDir root;
    const QByteArray folder = QFile::encodeName(root.path()) + '/';
    for (int i = 0; i < count; ++i) {
        const char *ext = i % 20 == 0 ? (i % 40 == 0 ? ".ttf" : ".fon") : i % 250 == 1 ? ".zip" : ".txt";
        const QByteArray name = folder + "file" + QByteArray::number(i) + ext;
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
    }

    ListView list;
    list.resize(300, 500);
    list.show();
    size_t listed = 0;
    const double ours = medianMs(9, [&] {
        std::vector<FolderEntry> entries;
        listFolderEntries(root.path() + QLatin1Char('/'), 2, entries);
        list.beginUpdate();
        list.clear();
        for (const FolderEntry &e : entries)
            list.addItem({e.caption, {e.extension}, e.image, e.kind, e.fileName});
        list.endUpdate();
        listed = entries.size();
    });
    const double ls = medianMs(9, [&] { runShell(QStringLiteral("ls -f ") + root.path()); });
    std::printf("%d files, %zu listed\n", count, listed);
    report("listing + list rows (median of 9)", ours);
    report("ls -f (median of 9)", ls);
    std::printf("ratio: %.2f (goal <= 3)\n", ours / ls);
    return 0;
}
