// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Ranges of bytes from memory or from an open file. File reads go through one cached block,
// so a parser that asks for a few bytes at a time costs one system call per block, not per
// read. Reads past the end come up short; nothing is read outside the source.
class ByteSource {
public:
    static ByteSource fromMemory(std::span<const std::uint8_t> bytes);
    static ByteSource fromFile(int fd);

    // Copies up to n bytes at offset into out; returns how many were there.
    std::size_t read(std::uint64_t offset, std::size_t n, std::uint8_t *out);
    bool readExact(std::uint64_t offset, std::size_t n, std::uint8_t *out) { return read(offset, n, out) == n; }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    bool loadBlock(std::uint64_t blockStart);

    std::span<const std::uint8_t> m_memory;
    int m_fd = -1;
    std::vector<std::uint8_t> m_block;
    std::uint64_t m_blockStart = UINT64_MAX;
};

inline std::uint16_t u16be(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

inline std::uint32_t u32be(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

inline std::uint16_t u16le(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t u32le(const std::uint8_t *p)
{
    return p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
