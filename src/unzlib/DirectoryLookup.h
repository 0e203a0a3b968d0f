// SPDX-License-Identifier: MIT
#pragma once

// Finding the entries an extraction names by reading the archive's central directory directly,
// without libzip: opening a large archive through libzip reads every one of its entries first.

#include <cstdint>
#include <string>
#include <vector>

namespace unzlib {

struct Spec {
    std::string text;          // pattern, or for an exact entry the name to write it under
    bool exact = false;
    std::uint32_t index = 0;
    std::string stored;        // exact: the stored name, byte for byte
};

// An entry cut out of the archive as a one-entry archive in memory.
struct Located {
    std::string name;                     // as stored, '/' separators
    const Spec *spec = nullptr;
    std::vector<unsigned char> archive;   // local header, data, central header, end record
};

// An entry found damaged or not there, to be told and skipped.
struct Refusal {
    int error;
    std::string text, name;
};

std::string toForward(std::string text);

// Finds the entries the specs name (none may hold a wildcard) in the regular file fd of fileSize
// bytes, each as a one-entry archive in memory. False when the directory is of a kind read only
// by libzip (Zip64 entries, several disks), or a literal name is not found this way; entries that
// are found but damaged, and exact entries that are not there, go to refusals.
bool locateEntries(int fd, std::uint64_t fileSize, const std::vector<Spec> &specs, std::vector<Located> &found, std::vector<Refusal> &refusals);

}
