// SPDX-License-Identifier: MIT
#pragma once

// The holder of the unzip library (libunzlib.so): loaded at run time for as long as any reason
// holds it (2 for a run, 4 for an explicit load), and refused unless its version is 153 to 300.

#include "UnzLibAbi.h"

#include <QString>

#include <functional>

class UnzLibrary {
public:
    static constexpr const char *FileName = "libunzlib.so";
    enum Reason { ForRun = 2, Explicit = 4 };

    // Told when the library is loaded (10652) or unloaded (10653), with its default text and path.
    using TraceReport = std::function<void(int id, const QString &defaultText, const QString &path)>;

    explicit UnzLibrary(TraceReport trace);
    ~UnzLibrary();
    UnzLibrary(const UnzLibrary &) = delete;
    UnzLibrary &operator=(const UnzLibrary &) = delete;

    // Adds the reason, loading the library from libDirectory (a "./" start counts from the
    // program's folder), else beside the program, else from the system's search path. Raises
    // 10650 when it cannot be loaded and 10651 when its version is wrong or below the minimum.
    void load(int reason, int minimumVersion, const QString &libDirectory);
    // Drops the reasons; the library is unloaded when none is left.
    void drop(int reasons);

    int version() const { return m_version; }
    // The library's work entry on a parameter block: the number of files it processed.
    int run(UnzipParams *params) const;

private:
    static QString pathFor(const QString &libDirectory);
    void open(const QString &path);

    TraceReport m_trace;
    void *m_module = nullptr;
    void *m_execProc = nullptr;
    QString m_loadedPath;
    int m_loadReasons = 0;
    int m_version = 0;
};
