// SPDX-License-Identifier: MIT
#pragma once

#include "FontCatalogue.h"

#include <QByteArray>
#include <QHash>

// The facts cache: the facts of each face read before, keyed by the file's native path and the
// face index, kept with the file's size and modification time. On disk it is one compact binary
// block read in one go; it comes from a file anyone can write, so every count and length is checked
// against the bytes that are really there before anything is made of it.
struct FactsCacheKey {
    QByteArray path;   // native bytes
    int index = 0;
    bool operator==(const FactsCacheKey &other) const { return index == other.index && path == other.path; }
};
size_t qHash(const FactsCacheKey &key, size_t seed = 0) noexcept;

struct CachedFacts {
    qint64 size = 0;
    qint64 mtime = 0;
    FontFacts facts;
};

using FactsCache = QHash<FactsCacheKey, CachedFacts>;

// The entries of a cache file's content. A content that is not a whole cache of this version
// (damaged, cut short, of another version) gives nothing at all: every face is then read again and
// the cache written anew.
bool parseFactsCache(const QByteArray &content, FactsCache &cache);

// Builds a cache file's content, one face at a time.
class FactsCacheWriter {
public:
    FactsCacheWriter();
    void add(const FactsCacheKey &key, const CachedFacts &entry);
    // The content, with the count of faces written into its header.
    QByteArray finish();

private:
    QByteArray m_out;
    quint32 m_count = 0;
};
