// SPDX-License-Identifier: MIT
#include "ByteSource.h"

#include <algorithm>
#include <cstring>

#include <unistd.h>

ByteSource ByteSource::fromMemory(std::span<const std::uint8_t> bytes)
{
    ByteSource source;
    source.m_memory = bytes;
    return source;
}

ByteSource ByteSource::fromFile(int fd)
{
    ByteSource source;
    source.m_fd = fd;
    return source;
}

bool ByteSource::loadBlock(std::uint64_t blockStart)
{
    if (blockStart == m_blockStart)
        return true;
    m_block.resize(kBlock);
    std::size_t done = 0;
    while (done < kBlock) {
        const ssize_t n = ::pread(m_fd, m_block.data() + done, kBlock - done, static_cast<off_t>(blockStart + done));
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    m_block.resize(done);
    m_blockStart = blockStart;
    return true;
}

std::size_t ByteSource::read(std::uint64_t offset, std::size_t n, std::uint8_t *out)
{
    if (m_fd < 0) {
        if (offset >= m_memory.size())
            return 0;
        const std::size_t available = std::min<std::uint64_t>(n, m_memory.size() - offset);
        // An empty read may come with no buffer at all (an empty string's storage).
        if (available > 0)
            std::memcpy(out, m_memory.data() + offset, available);
        return available;
    }
    std::size_t done = 0;
    while (done < n) {
        const std::uint64_t at = offset + done;
        if (at < offset)   // wrapped around
            break;
        const std::uint64_t blockStart = at - at % kBlock;
        loadBlock(blockStart);
        const std::uint64_t within = at - blockStart;
        if (within >= m_block.size())
            break;
        const std::size_t take = std::min<std::uint64_t>(n - done, m_block.size() - within);
        std::memcpy(out + done, m_block.data() + within, take);
        done += take;
    }
    return done;
}
