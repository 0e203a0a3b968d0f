// SPDX-License-Identifier: MIT
#pragma once

// Joins the volumes of a split archive into one ordinary archive for the unzip library: the
// volumes' data one after the other (without the spanning marker), then a central directory
// whose offsets count from the start of the joined file. Copied block by block: no volume is
// held in memory, only the directory, and that only as far as the volumes really hold it.

#include "ZipDirectory.h"

class QFile;
class ZipVolumes;

class SpanJoiner {
public:
    SpanJoiner(ZipVolumes &volumes, ZipDirectoryState &state, ZipReadHost &host);

    // The full name of the joined archive in tempFolder (the system's temporary folder when
    // ""), or "" when joining failed; the failure has then been told, and nothing is left.
    QString join(const QString &zipFileName, const QString &tempFolder);

private:
    std::vector<qint64> copyVolumes(QFile &joined, int last, qint64 endOfLast, qint64 &written);
    void rewriteDirectory(QFile &joined, const ZipEndOfCentral &eoc, const std::vector<qint64> &volumeStart, qint64 written);

    ZipVolumes &m_volumes;
    ZipDirectoryState &m_state;
    ZipReadHost &m_host;
};
