// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <optional>

// Web fonts (WOFF and WOFF2) are sfnt files packed for the web. They are unpacked in memory, so
// the naming-table reader, FreeType and the toolkit all read the plain sfnt they hold.

enum class WebFontKind { None, Woff, Woff2 };

// Told by the signature of the content, not by the file's name.
WebFontKind webFontKind(const QByteArray &content);

// The sfnt file a web font holds; nothing when the content is damaged or would unpack to more
// than limit bytes. Every size and offset of the content is checked against its real size, and
// the unpacked size against the limit, before anything is allocated.
std::optional<QByteArray> decodeWebFont(const QByteArray &content, qint64 limit);

// The content as FreeType and the toolkit should read it: a web font unpacked, anything else as
// it is. Nothing when it is a web font that cannot be unpacked.
std::optional<QByteArray> unpackedFontContent(const QByteArray &content, qint64 limit);
