// SPDX-License-Identifier: MIT
#include "NameTableReader.h"

#include "ByteSource.h"
#include "CodePage.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::uint32_t kNameTag = 0x6E616D65;   // 'name'
}

QString decodeNameString(std::uint16_t platformId, std::span<const std::uint8_t> bytes)
{
    QString text;
    if (platformId == 0 || platformId == 3) {
        // UTF-16 big-endian; a NUL unit is dropped as the zero bytes always were.
        std::size_t i = 0;
        for (; i + 1 < bytes.size(); i += 2) {
            const char16_t unit = static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1]);
            if (unit != 0)
                text.append(QChar(unit));
        }
        if (i < bytes.size() && bytes[i] != 0)
            text.append(QChar(char16_t(bytes[i])));
        return text;
    }
    if (platformId == 1) {
        QByteArray roman;
        for (std::uint8_t b : bytes)
            if (b != 0)
                roman.append(static_cast<char>(b));
        bool ascii = std::all_of(roman.cbegin(), roman.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        return ascii ? QString::fromLatin1(roman) : CodePage::decode("MACINTOSH", roman);
    }
    for (std::uint8_t b : bytes)
        if (b != 0)
            text.append(QChar(char16_t(b)));
    return text;
}

NameReadResult readNameTable(ByteSource &source)
{
    NameReadResult result;
    std::uint8_t buffer[16];
    if (!source.readExact(0, 12, buffer)) {
        result.status = NameReadStatus::ShortRead;
        return result;
    }
    const std::uint16_t numTables = u16be(buffer + 4);
    std::optional<std::uint64_t> nameOffset;
    for (std::uint32_t t = 0; t < numTables; ++t) {
        if (!source.readExact(12 + std::uint64_t(t) * 16, 16, buffer)) {
            result.status = NameReadStatus::ShortRead;
            return result;
        }
        if (u32be(buffer) == kNameTag)
            nameOffset = u32be(buffer + 8);
    }
    // No naming table, or not even its header: a font without names.
    if (!nameOffset || !source.readExact(*nameOffset, 6, buffer)) {
        result.status = NameReadStatus::NoNameTable;
        return result;
    }
    const std::uint16_t count = u16be(buffer + 2);
    const std::uint64_t storage = *nameOffset + u16be(buffer + 4);
    std::vector<std::uint8_t> text;
    for (std::uint32_t r = 0; r < count; ++r) {
        if (!source.readExact(*nameOffset + 6 + std::uint64_t(r) * 12, 12, buffer)) {
            result.status = NameReadStatus::ShortRead;
            return result;
        }
        const std::uint16_t platformId = u16be(buffer);
        const std::uint16_t nameId = u16be(buffer + 6);
        const std::uint16_t length = u16be(buffer + 8);
        const std::uint64_t at = storage + u16be(buffer + 10);
        text.resize(length);
        if (!source.readExact(at, length, text.data())) {
            result.status = NameReadStatus::ShortRead;
            return result;
        }
        if (nameId <= 20)
            result.names[nameId] = decodeNameString(platformId, text);
    }
    return result;
}

NameReadResult readNameTable(std::span<const std::uint8_t> bytes)
{
    ByteSource source = ByteSource::fromMemory(bytes);
    return readNameTable(source);
}

std::optional<QString> ReadTrueTypeNames(CurrentFontRecord &record, const QString &path)
{
    record.FontNames.fill(QString());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    record.FontFileHandle = fd;
    if (fd < 0)
        return std::nullopt;
    ByteSource source = ByteSource::fromFile(fd);
    const NameReadResult result = readNameTable(source);
    record.FontNames = result.names;
    if (result.status == NameReadStatus::ShortRead)
        return std::nullopt;
    ::close(fd);
    record.FontFileHandle = 0;
    record.FontFilePath = path;
    return record.FontNames[4];
}
