// SPDX-License-Identifier: MIT
#include "NameTableReader.h"

#include "ByteSource.h"

#include <algorithm>

#include <unistd.h>

namespace {
constexpr std::uint32_t kNameTag = 0x6E616D65;         // 'name'
constexpr std::uint32_t kCollectionTag = 0x74746366;   // 'ttcf'
}

namespace {

// A record's string, chosen to fill its slot; decoded only once reading is over.
struct ChosenString {
    bool set = false;
    std::uint16_t platformId = 0;
    std::uint64_t at = 0;
    std::uint16_t length = 0;
};

// Decodes the chosen strings; a range that several slots share is decoded once.
void decodeChosen(ByteSource &source, const std::array<ChosenString, 21> &chosen, std::array<QString, 21> &names)
{
    std::vector<std::uint8_t> text;
    for (std::size_t id = 0; id < chosen.size(); ++id) {
        const ChosenString &c = chosen[id];
        if (!c.set)
            continue;
        const auto same = std::find_if(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(id), [&](const ChosenString &o) {
            return o.set && o.platformId == c.platformId && o.at == c.at && o.length == c.length;
        });
        if (same != chosen.begin() + static_cast<std::ptrdiff_t>(id)) {
            names[id] = names[static_cast<std::size_t>(same - chosen.begin())];
            continue;
        }
        text.resize(c.length);
        // The file may have shrunk since its size was taken: what is not there stays empty.
        names[id] = source.readExact(c.at, c.length, text.data()) ? decodeNameString(c.platformId, text) : QString();
    }
}

}

NameReadResult readNameTable(ByteSource &source, std::uint64_t sourceSize, int faceIndex)
{
    NameReadResult result;
    std::uint8_t buffer[16];
    if (!source.readExact(0, 12, buffer)) {
        result.status = NameReadStatus::ShortRead;
        return result;
    }
    // A collection's header lists the offset of each face's table directory; offsets in the
    // directory are from the start of the file all the same.
    std::uint64_t directory = 0;
    if (u32be(buffer) == kCollectionTag) {
        const std::uint32_t faces = u32be(buffer + 8);
        result.faceCount = static_cast<int>(std::min<std::uint32_t>(faces, INT32_MAX));
        if (faceIndex < 0 || std::uint32_t(faceIndex) >= faces || !source.readExact(12 + 4 * std::uint64_t(faceIndex), 4, buffer)
            || !source.readExact(directory = u32be(buffer), 12, buffer)) {
            result.status = NameReadStatus::ShortRead;
            return result;
        }
    } else if (faceIndex != 0) {
        result.status = NameReadStatus::ShortRead;
        return result;
    }
    const std::uint16_t numTables = u16be(buffer + 4);
    std::optional<std::uint64_t> nameOffset;
    for (std::uint32_t t = 0; t < numTables; ++t) {
        if (!source.readExact(directory + 12 + std::uint64_t(t) * 16, 16, buffer)) {
            result.status = NameReadStatus::ShortRead;
            return result;
        }
        if (u32be(buffer) == kNameTag) {
            nameOffset = u32be(buffer + 8);
        }
    }
    // No naming table, or not even its header: a font without names.
    if (!nameOffset || !source.readExact(*nameOffset, 6, buffer)) {
        result.status = NameReadStatus::NoNameTable;
        return result;
    }
    const std::uint16_t count = u16be(buffer + 2);
    const std::uint64_t storage = *nameOffset + u16be(buffer + 4);
    // Only the last record of each ID fills its slot, so only those strings are decoded: the work
    // is bounded by the records' bytes, however many records share one long string.
    std::array<ChosenString, 21> chosen;
    for (std::uint32_t r = 0; r < count; ++r) {
        if (!source.readExact(*nameOffset + 6 + std::uint64_t(r) * 12, 12, buffer)) {
            result.status = NameReadStatus::ShortRead;
            break;
        }
        const std::uint16_t nameId = u16be(buffer + 6);
        const std::uint16_t length = u16be(buffer + 8);
        const std::uint64_t at = storage + u16be(buffer + 10);
        // A string the file does not hold in full fails the read, whatever its ID, as reading it
        // byte by byte would; the records before it keep their names.
        if (at + length > sourceSize) {
            result.status = NameReadStatus::ShortRead;
            break;
        }
        if (nameId > 20)
            continue;
        chosen[nameId] = {true, u16be(buffer), at, length};
    }
    decodeChosen(source, chosen, result.names);
    return result;
}

NameReadResult readNameTable(std::span<const std::uint8_t> bytes, int faceIndex)
{
    ByteSource source = ByteSource::fromMemory(bytes);
    return readNameTable(source, bytes.size(), faceIndex);
}

std::optional<QString> ReadTrueTypeNames(CurrentFontRecord &record, const QString &path, FileRefusal *why, int faceIndex, int *faceCount)
{
    record.FontNames.fill(QString());
    // Never blocks, and only a regular file is read: a FIFO or a device is refused at once.
    RegularFile file(path);
    if (why)
        *why = file.refusal();
    if (!file.isOpen()) {
        record.FontFileHandle = -1;
        return std::nullopt;
    }
    record.FontFileHandle = file.fd();
    ByteSource source = ByteSource::fromFile(file.fd());
    const NameReadResult result = readNameTable(source, static_cast<std::uint64_t>(file.size()), faceIndex);
    record.FontNames = result.names;
    if (faceCount)
        *faceCount = result.faceCount;
    if (result.status == NameReadStatus::ShortRead) {
        // Left open, as the failure result leaves it; the caller closes it.
        file.release();
        return std::nullopt;
    }
    record.FontFileHandle = 0;
    record.FontFilePath = path;
    return record.FontNames[4];
}

std::array<QString, 21> readFontFileNames(const QString &path, int faceIndex)
{
    CurrentFontRecord record;
    std::array<QString, 21> names;
    if (ReadTrueTypeNames(record, path, nullptr, faceIndex))
        names = record.FontNames;
    if (record.FontFileHandle > 0)
        ::close(record.FontFileHandle);
    return names;
}
