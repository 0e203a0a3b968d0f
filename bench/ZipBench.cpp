// SPDX-License-Identifier: MIT
// Reading the directory of archives with 10,000 and 100,000 entries (the latter in Zip64 form)
// beside `unzip -Z1`, a libzip listing and a minimal reader; extracting one entry of the large
// archive beside `unzip -p`.
#include "BenchSupport.h"
#include "QtPrompter.h"
#include "TZipKit.h"
#include "ZipBuilder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <zip.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct MinimalEntry {
    std::string name;
    quint32 compressed, uncompressed, offset;
};

// One read of the directory and an array of entries: the least any reader can do.
size_t minimalList(const QString &path, std::vector<MinimalEntry> &entries)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    unsigned char end[22];
    ::pread(fd, end, 22, size - 22);
    quint64 count = end[10] | end[11] << 8;
    quint64 dirSize = quint32(end[12] | end[13] << 8 | end[14] << 16 | quint32(end[15]) << 24);
    quint64 dirOffset = quint32(end[16] | end[17] << 8 | end[18] << 16 | quint32(end[19]) << 24);
    if (count == 0xFFFF) {
        unsigned char locator[20], end64[56];
        ::pread(fd, locator, 20, size - 42);
        quint64 at = 0;
        std::memcpy(&at, locator + 8, 8);
        ::pread(fd, end64, 56, static_cast<off_t>(at));
        std::memcpy(&count, end64 + 32, 8);
        std::memcpy(&dirSize, end64 + 40, 8);
        std::memcpy(&dirOffset, end64 + 48, 8);
    }
    std::vector<unsigned char> dir(dirSize);
    ::pread(fd, dir.data(), dirSize, static_cast<off_t>(dirOffset));
    ::close(fd);
    entries.clear();
    entries.reserve(count);
    size_t at = 0;
    for (quint64 i = 0; i < count && at + 46 <= dir.size(); ++i) {
        const unsigned char *h = dir.data() + at;
        const unsigned n = h[28] | h[29] << 8, x = h[30] | h[31] << 8, c = h[32] | h[33] << 8;
        MinimalEntry e;
        std::memcpy(&e.compressed, h + 20, 4);
        std::memcpy(&e.uncompressed, h + 24, 4);
        std::memcpy(&e.offset, h + 42, 4);
        e.name.assign(reinterpret_cast<const char *>(h + 46), n);
        entries.push_back(std::move(e));
        at += 46 + n + x + c;
    }
    return entries.size();
}

size_t libzipList(const QString &path)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return 0;
    const zip_int64_t n = zip_get_num_entries(archive, 0);
    size_t names = 0;
    for (zip_int64_t i = 0; i < n; ++i)
        names += zip_get_name(archive, static_cast<zip_uint64_t>(i), 0) != nullptr;
    zip_discard(archive);
    return names;
}

}

int main(int argc, char **argv)
{
    qputenv("TZ", "UTC");   // libzip otherwise checks the time zone once per entry
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir root;
    QtPrompter prompter;
    for (const int count : {10000, 100000}) {
        ZipBuilder builder;
        builder.entries.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            builder.add(QByteArray("fonts/face") + QByteArray::number(i) + ".ttf", "abcd");
        builder.zip64 = count > 65535;
        const QString path = root.path() + QStringLiteral("/entries%1.zip").arg(count);
        builder.write(path);

        TZipKit kit(prompter);
        size_t listed = 0;
        const double ours = medianMs(9, [&] {
            kit.SetFileName(path);
            listed = static_cast<size_t>(kit.Count());
        });
        std::vector<MinimalEntry> entries;
        size_t minimal = 0;
        const double least = medianMs(9, [&] { minimal = minimalList(path, entries); });
        size_t viaLibzip = 0;
        const double libzip = medianMs(9, [&] { viaLibzip = libzipList(path); });
        const double unzip = medianMs(9, [&] { runShell(QStringLiteral("unzip -Z1 ") + path); });
        std::printf("\n%d entries%s: TZipKit %zu, minimal %zu, libzip %zu listed\n", count, builder.zip64 ? " (Zip64)" : "", listed, minimal, viaLibzip);
        report("TZipKit directory (median of 9)", ours);
        report("minimal reader, one read (median of 9)", least);
        report("libzip listing (median of 9)", libzip);
        report("unzip -Z1 (median of 9)", unzip);
        std::printf("ratio TZipKit / libzip: %.2f (goal <= 1); TZipKit / minimal: %.2f (goal <= 1.5)\n", ours / libzip, ours / least);

        if (count == 100000) {
            const QString out = root.path() + QStringLiteral("/out");
            QDir().mkpath(out);
            kit.ExtrBaseDir = out;
            kit.ExtrOptions = TZipKit::ExtrOverWrite;
            const double extract = medianMs(9, [&] {
                kit.FSpecArgs = QStringList{QStringLiteral("fonts\\face77777.ttf")};
                kit.Extract();
            });
            const double unzipP = medianMs(9, [&] { runShell(QStringLiteral("unzip -p ") + path + QStringLiteral(" fonts/face77777.ttf")); });
            std::printf("\nextracting one entry of %d (succeeded: %d)\n", count, kit.SuccessCount);
            report("TZipKit Extract (median of 9)", extract);
            report("unzip -p (median of 9)", unzipP);
            std::printf("ratio: %.2f (goal <= 1.5)\n", extract / unzipP);
        }
    }
    return 0;
}
