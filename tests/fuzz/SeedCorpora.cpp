// SPDX-License-Identifier: MIT
// Writes the seed corpora of the fuzz entries with the tests' builders: run by hand, the files
// are kept in tests/fuzz/corpus/.
#include "SfntBuilder.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QFile>

namespace {
void put(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
QByteArray bytesOf(const std::vector<std::uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), static_cast<qsizetype>(v.size()));
}
}

int main(int argc, char **argv)
{
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("corpus");
    const QString names = root + QStringLiteral("/nametable");
    put(names, QStringLiteral("windows-and-mac"), bytesOf(SfntBuilder{}.withOtherTable().name(1, 1, SfntBuilder::latin1("Arial"))
                                                            .name(3, 1, SfntBuilder::utf16be(QStringLiteral("Arial")))
                                                            .name(3, 4, SfntBuilder::utf16be(QStringLiteral("Arial Bold"))).build()));
    put(names, QStringLiteral("no-name-table"), bytesOf(SfntBuilder{}.withOtherTable().withoutNameTable().build()));
    // Found by the fuzzer: a zero-length string copied from no storage at all.
    put(names, QStringLiteral("zero-length-record"), bytesOf(SfntBuilder{}.name(3, 2, {}).name(1, 0, {}).build()));
    put(names, QStringLiteral("cyrillic"), bytesOf(SfntBuilder{}.name(3, 4, SfntBuilder::utf16be(QStringLiteral("Шрифт"))).build()));

    const QString zips = root + QStringLiteral("/zipdirectory");
    ZipBuilder plain;
    plain.add("a.ttf").add("dir/b.fon").add("dir/");
    put(zips, QStringLiteral("plain"), plain.build());
    ZipBuilder commented = plain;
    commented.comment = "comment";
    commented.trailing = QByteArray(3, 'x');
    put(zips, QStringLiteral("comment-trailing"), commented.build());
    ZipBuilder sfx = plain;
    sfx.stub = "MZ stub";
    put(zips, QStringLiteral("sfx"), sfx.build());
    ZipBuilder z64 = plain;
    z64.zip64 = true;
    put(zips, QStringLiteral("zip64"), z64.build());

    // The unzip entry: one byte of options (see FuzzUnzip.cpp), then the archive.
    const QString unzip = root + QStringLiteral("/unzip");
    ZipBuilder mixed;
    mixed.add("a.ttf", "font bytes").add("dir/b.fon", QByteArray(3000, 'b')).add("..\\evil.ttf", "x").add("C:/drive.ttf", "y");
    mixed.entries[1].deflated = true;
    mixed.entries[2].host = 0;
    mixed.add("link.ttf", "/etc/passwd");
    mixed.entries.back().externalAttributes = 0120777u << 16;
    const QByteArray archive = mixed.build();
    put(unzip, QStringLiteral("all-with-folders"), QByteArray(1, '\x09') + archive);
    put(unzip, QStringLiteral("exact-first"), QByteArray(1, '\x03') + archive);
    put(unzip, QStringLiteral("literal"), QByteArray(1, '\x04') + archive);
    put(unzip, QStringLiteral("to-memory"), QByteArray(1, '\x14') + archive);
    put(unzip, QStringLiteral("test-only"), QByteArray(1, '\x28') + archive);
    ZipBuilder bomb;
    bomb.add("a.ttf", QByteArray(100000, '\0'));
    bomb.entries.back().deflated = true;
    bomb.entries.back().declaredSize = 1000;
    put(unzip, QStringLiteral("more-than-declared"), QByteArray(1, '\x04') + bomb.build());
    ZipBuilder huge;
    huge.add("a.ttf", "small");
    huge.entries.back().declaredCompressed = 0xEEEEEEEE;
    put(unzip, QStringLiteral("compressed-size-past-the-end"), QByteArray(1, '\x03') + huge.build());
    ZipBuilder wide = mixed;
    wide.zip64 = true;
    put(unzip, QStringLiteral("zip64"), QByteArray(1, '\x0B') + wide.build());

    const QString registry = root + QStringLiteral("/registry");
    put(registry, QStringLiteral("store"), "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2]\n"
                                           "\"Preview Text\"=\"a \\\"b\\\" c~\"\n\"Options\"=hex:01,01,01,00,\\\n  00\n"
                                           "\"Count\"=dword:0000000c\n\"Expand\"=hex(2):41,00,00,00\n");
    const QString ini = root + QStringLiteral("/ini");
    put(ini, QStringLiteral("favorites"), "; c\r\n[Favorites]\r\na%3Db=/x/\r\n[Links]\r\nSite=https://example.org/\r\n[Tips]\r\nCount=2\r\n0=a\r\n1=b\r\n");
    return 0;
}
