// SPDX-License-Identifier: MIT
// Fuzz entry: the registry store's parser; what parses must serialize and parse back the same.
#include "RegistryStore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RegistryStore store(QStringLiteral("/nonexistent/fuzz.reg"));
    QString error;
    if (!store.parse(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)), &error))
        return 0;
    const QByteArray once = RegistryStore::serialize(store);
    RegistryStore again(QStringLiteral("/nonexistent/fuzz.reg"));
    if (!again.parse(once, &error) || RegistryStore::serialize(again) != once)
        std::abort();
    return 0;
}
