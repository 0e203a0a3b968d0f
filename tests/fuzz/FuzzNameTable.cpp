// SPDX-License-Identifier: MIT
// Fuzz entry: the naming-table reader on any bytes.
#include "NameTableReader.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A copy of its own, so that a read past the end is a read past an allocation.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const NameReadResult result = readNameTable(bytes);
    if (result.status == NameReadStatus::Ok)
        for (const QString &name : result.names)
            (void)name.size();
    return 0;
}
