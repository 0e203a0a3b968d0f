// SPDX-License-Identifier: MIT
#pragma once

#include "SfntBuilder.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Writes the i-th font of a generated set: the base font with a naming table of its own, family
// "Gx<i>", so that every file is a distinct face for fontconfig.
inline bool writeGeneratedFont(const QString &folder, int i, const std::vector<std::uint8_t> &base)
{
    const QString family = QStringLiteral("Gx%1").arg(i, 6, 10, QLatin1Char('0'));
    const std::vector<std::uint8_t> sfnt = SfntBuilder()
                                               .name(3, 1, SfntBuilder::utf16be(family))
                                               .name(3, 2, SfntBuilder::utf16be(QStringLiteral("Regular")))
                                               .name(3, 4, SfntBuilder::utf16be(family + QStringLiteral(" Regular")))
                                               .build();
    // build() writes the offset table and one table record, then the naming table.
    const std::vector<std::uint8_t> table(sfnt.begin() + 28, sfnt.end());
    const std::vector<std::uint8_t> font = SfntBuilder::withNameTable(base, table);
    QFile out(folder + QStringLiteral("/g%1.ttf").arg(i, 6, 10, QLatin1Char('0')));
    return out.open(QIODevice::WriteOnly) && out.write(reinterpret_cast<const char *>(font.data()), qint64(font.size())) == qint64(font.size());
}

// Writes a set of count generated fonts into folder (made if missing), from the wine fixedsys.ttf.
// A set kept from an earlier run of the same size is used as it is.
inline bool makeGeneratedSet(const QString &folder, int count)
{
    QDir().mkpath(folder);
    const QString marker = folder + QStringLiteral("/complete-%1").arg(count);
    if (QFile::exists(marker))
        return true;
    QFile baseFile(QStringLiteral("/usr/share/wine/fonts/fixedsys.ttf"));
    if (!baseFile.open(QIODevice::ReadOnly))
        return false;
    const QByteArray baseBytes = baseFile.readAll();
    const std::vector<std::uint8_t> base(baseBytes.begin(), baseBytes.end());
    for (int i = 0; i < count; ++i)
        if (!writeGeneratedFont(folder, i, base))
            return false;
    QFile done(marker);
    return done.open(QIODevice::WriteOnly);
}

// Has fontconfig serve these folders alone, through a configuration written to confFile, with its
// cache under cacheParent (FONTCONFIG_FILE is set for this process and its children).
inline void serveFontFolders(const QString &confFile, const QStringList &folders, const QString &cacheParent)
{
    QString dirs;
    for (const QString &folder : folders)
        dirs += QStringLiteral("<dir>%1</dir>").arg(folder);
    QFile conf(confFile);
    conf.open(QIODevice::WriteOnly);
    conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>%1<cachedir>%2/fccache</cachedir></fontconfig>\n").arg(dirs, cacheParent).toUtf8());
    conf.close();
    qputenv("FONTCONFIG_FILE", confFile.toUtf8());
}
