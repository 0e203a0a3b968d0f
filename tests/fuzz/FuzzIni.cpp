// SPDX-License-Identifier: MIT
// Fuzz entry: the INI store's parser and its key escaping.
#include "IniFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    IniFile ini(QStringLiteral("/nonexistent/fuzz.ini"));
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ini.loadFromBytes(content);
    for (const QString &section : {QStringLiteral("Favorites"), QStringLiteral("Links"), QStringLiteral("Tips")}) {
        const auto entries = ini.readSection(section);
        // The one-pass read must agree with key-by-key lookups.
        if (entries.size() != ini.readSectionKeys(section).size())
            std::abort();
        for (qsizetype i = 0; i < entries.size(); i += 1 + entries.size() / 8)
            if (ini.readString(section, entries[i].first, QString()) != entries[i].second)
                std::abort();
    }
    // Any text as a title comes back as typed.
    const QString title = QString::fromUtf8(content.left(64));
    if (IniFile::unescape(IniFile::escapeKey(title)) != title || IniFile::unescape(IniFile::escapeValue(title)) != title)
        std::abort();
    return 0;
}
