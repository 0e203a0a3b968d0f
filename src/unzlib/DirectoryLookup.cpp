// SPDX-License-Identifier: MIT
#include "DirectoryLookup.h"

#include "UnzLibAbi.h"

#include <cstring>
#include <strings.h>

#include <unistd.h>

namespace unzlib {

namespace {

std::uint16_t u16(const unsigned char *p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t u32(const unsigned char *p)
{
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24);
}

std::uint64_t u64(const unsigned char *p)
{
    return std::uint64_t(u32(p)) | std::uint64_t(u32(p + 4)) << 32;
}

}

std::string toForward(std::string text)
{
    for (char &c : text)
        if (c == '\\')
            c = '/';
    return text;
}

namespace {

// Reads of the archive that never pass its end.
struct ArchiveFile {
    int fd;
    std::uint64_t size;

    bool read(void *into, std::uint64_t n, std::uint64_t at) const
    {
        return at <= size && n <= size - at && ::pread(fd, into, n, static_cast<off_t>(at)) == static_cast<ssize_t>(n);
    }
};

void put32(unsigned char *at, std::uint32_t value)
{
    for (int b = 0; b < 4; ++b)
        at[b] = static_cast<unsigned char>(value >> (8 * b));
}

// The central directory of a one-disk archive, from its end record (or its Zip64 end record).
bool readDirectory(const ArchiveFile &file, std::vector<unsigned char> &directory)
{
    unsigned char end[22];
    if (file.size < 22 || !file.read(end, 22, file.size - 22) || u32(end) != 0x06054B50 || u16(end + 4) != 0 || u16(end + 6) != 0)
        return false;
    std::uint64_t dirSize = u32(end + 12);
    std::uint64_t dirEnd = file.size - 22;
    if (u16(end + 10) == 0xFFFF || u32(end + 12) == 0xFFFFFFFF || u32(end + 16) == 0xFFFFFFFF) {
        // Zip64: the locator before the end record names the Zip64 end record.
        unsigned char locator[20], end64[56];
        if (file.size < 42 || !file.read(locator, 20, file.size - 42) || u32(locator) != 0x07064B50 || !file.read(end64, 56, u64(locator + 8))
            || u32(end64) != 0x06064B50)
            return false;
        dirSize = u64(end64 + 40);
        dirEnd = u64(locator + 8);
    }
    if (dirSize > dirEnd)
        return false;
    directory.resize(dirSize);
    return file.read(directory.data(), dirSize, dirEnd - dirSize);
}

// The entry whose central header h (of total bytes) is given, cut out with its local header and
// data as an archive of its own, or the reason it cannot be.
bool cutOut(const ArchiveFile &file, const unsigned char *h, size_t total, Located &entry, std::vector<Refusal> &refusals)
{
    const std::string &name = entry.name;
    const std::uint64_t compressed = u32(h + 20), offset = u32(h + 42);
    unsigned char local[30];
    // Every size counted in 64 bits and held against the real file before any memory is taken.
    const std::uint64_t localSize = file.read(local, 30, offset) && u32(local) == 0x04034B50
        ? 30 + std::uint64_t(u16(local + 26)) + u16(local + 28) + compressed
        : 0;
    if (localSize == 0 || localSize > file.size - offset) {
        refusals.push_back({UnzError::Data, "the entry " + name + " is damaged: its data runs past the end of the archive", name});
        return false;
    }
    entry.archive.resize(localSize);
    if (!file.read(entry.archive.data(), localSize, offset)) {
        refusals.push_back({UnzError::Read, "cannot read the entry " + name, name});
        return false;
    }
    const size_t centralAt = entry.archive.size();
    entry.archive.insert(entry.archive.end(), h, h + total);
    std::memset(entry.archive.data() + centralAt + 42, 0, 4);   // at the start
    unsigned char record[22] = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 1, 0, 1, 0};
    put32(record + 12, static_cast<std::uint32_t>(total));
    put32(record + 16, static_cast<std::uint32_t>(centralAt));
    entry.archive.insert(entry.archive.end(), record, record + 22);
    return true;
}

bool names(const Spec &spec, std::uint32_t index, const std::string &raw, const std::string &name)
{
    return spec.exact ? spec.index == index && spec.stored == raw : strcasecmp(spec.text.c_str(), name.c_str()) == 0;
}

}

bool locateEntries(int fd, std::uint64_t fileSize, const std::vector<Spec> &specs, std::vector<Located> &found, std::vector<Refusal> &refusals)
{
    const ArchiveFile file{fd, fileSize};
    std::vector<unsigned char> directory;
    if (!readDirectory(file, directory))
        return false;
    std::vector<bool> matched(specs.size(), false);
    std::uint32_t index = 0;
    for (size_t at = 0; at + 46 <= directory.size(); ++index) {
        const unsigned char *h = directory.data() + at;
        const size_t total = 46 + size_t(u16(h + 28)) + u16(h + 30) + u16(h + 32);
        if (u32(h) != 0x02014B50 || total > directory.size() - at) {
            found.clear();
            return false;
        }
        const std::string raw(reinterpret_cast<const char *>(h + 46), u16(h + 28));
        const std::string name = toForward(raw);
        for (size_t i = 0; i < specs.size(); ++i) {
            if (matched[i] || !names(specs[i], index, raw, name))
                continue;
            matched[i] = true;
            // Zip64 sizes and entries on other disks are left to libzip.
            if (u32(h + 20) == 0xFFFFFFFF || u32(h + 42) == 0xFFFFFFFF || u16(h + 34) != 0) {
                found.clear();
                return false;
            }
            Located entry;
            entry.name = name;
            entry.spec = &specs[i];
            if (cutOut(file, h, total, entry, refusals))
                found.push_back(std::move(entry));
        }
        at += total;
    }
    for (size_t i = 0; i < specs.size(); ++i) {
        if (matched[i])
            continue;
        if (!specs[i].exact) {
            found.clear();
            return false;
        }
        refusals.push_back({UnzError::Missing, "the entry " + specs[i].text + " is not in the archive", specs[i].text});
    }
    return true;
}


}
