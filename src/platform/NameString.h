// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>
#include <span>

// A string of a TrueType/OpenType naming table as text, by the record's platform: Unicode (0)
// and Windows (3) records are UTF-16 big-endian, Macintosh (1) records Mac Roman, others one
// character per byte. NUL characters are dropped. The naming-table reader and the font catalogue
// both decode through here, so a face gets the same name from either.
QString decodeNameString(std::uint16_t platformId, std::span<const std::uint8_t> bytes);
