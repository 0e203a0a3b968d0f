// SPDX-License-Identifier: MIT
#pragma once

// Where an archive entry may be written: its stored name resolved inside a folder, or refused.
// Plain C++ on bytes, so that the unzip library (which links no Qt) and the zip component share
// one rule: every path built from an entry name goes through here.

#include <optional>
#include <string>
#include <string_view>

namespace entryname {

// The stored name as a path relative to the extraction folder, with '/' separators, or nothing
// when the name could lead out of the folder or names no file. Either '/' or '\' separates parts
// (archives from DOS and Windows hosts use '\'). Refused: an empty name, a NUL byte (it would end
// the path early and name another file), a name that starts at a root ("/x", "\\server\x"), a
// drive letter ("C:x", "C:\x"), any ".." part, and a name whose last part is empty or "." (a
// folder). Empty and "." parts inside the name are dropped. Without keepFolders only the last
// part is kept; a ".." anywhere still refuses the name, so that the rule does not depend on the
// option.
inline std::optional<std::string> relativePath(std::string_view stored, bool keepFolders)
{
    auto separator = [](char c) { return c == '/' || c == '\\'; };
    if (stored.empty() || stored.find('\0') != std::string_view::npos || separator(stored.front()))
        return std::nullopt;
    const unsigned char first = static_cast<unsigned char>(stored.front());
    if (stored.size() >= 2 && stored[1] == ':' && ((first | 0x20) >= 'a' && (first | 0x20) <= 'z'))
        return std::nullopt;
    std::string out;
    std::string_view last;
    size_t start = 0;
    while (start <= stored.size()) {
        size_t end = start;
        while (end < stored.size() && !separator(stored[end]))
            ++end;
        const std::string_view part = stored.substr(start, end - start);
        if (part == "..")
            return std::nullopt;
        last = part;
        if (!part.empty() && part != ".") {
            if (keepFolders) {
                if (!out.empty())
                    out += '/';
                out.append(part);
            } else {
                out.assign(part);
            }
        }
        start = end + 1;
    }
    if (last.empty() || last == ".")
        return std::nullopt;
    return out;
}

// The full path of the entry inside folder, or nothing when relativePath refuses the name.
inline std::optional<std::string> inside(std::string_view folder, std::string_view stored, bool keepFolders)
{
    std::optional<std::string> relative = relativePath(stored, keepFolders);
    if (!relative || folder.empty())
        return std::nullopt;
    std::string path(folder);
    if (path.back() != '/')
        path += '/';
    return path + *relative;
}

}
