// SPDX-License-Identifier: MIT
#pragma once

#include "SfntBuilder.h"

#include <QFile>
#include <QString>

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
