// SPDX-License-Identifier: MIT
#include "ZipLibrary.h"

#include "ZipMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

#ifndef GLYVANTA_LIBDIR_FROM_BINDIR
#define GLYVANTA_LIBDIR_FROM_BINDIR "../lib/glyvanta"
#endif

UnzLibrary::UnzLibrary(TraceReport trace)
    : m_trace(std::move(trace))
{
}

UnzLibrary::~UnzLibrary()
{
    if (m_module)
        dlclose(m_module);
}

QString UnzLibrary::pathFor(const QString &libDirectory)
{
    QString path;
    if (!libDirectory.isEmpty()) {
        QString folder = libDirectory;
        if (folder.startsWith(QLatin1String("./")))
            folder = QCoreApplication::applicationDirPath() + folder.mid(1);
        path = folder + QLatin1Char('/') + QLatin1String(FileName);
        if (!QFileInfo::exists(path))
            path.clear();
    }
    if (path.isEmpty()) {
        // Beside the program (the build tree), else in the program's own library folder of an
        // installed tree, else wherever the system finds libraries.
        const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        const QString beside = programFolder + QLatin1String(FileName);
        const QString installed = programFolder + QLatin1String(GLYVANTA_LIBDIR_FROM_BINDIR) + QLatin1Char('/') + QLatin1String(FileName);
        if (QFileInfo::exists(beside))
            path = beside;
        else if (QFileInfo::exists(installed))
            path = QFileInfo(installed).absoluteFilePath();
        else
            path = QLatin1String(FileName);
    }
    return path;
}

void UnzLibrary::open(const QString &path)
{
    m_module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_module) {
        m_loadReasons = 0;
        throw EZipKit(10650, path);
    }
    m_execProc = dlsym(m_module, "UnzLibExec");
    auto *versionProc = reinterpret_cast<int (*)()>(dlsym(m_module, "GetUnzLibVersion"));
    m_loadedPath = path;
    m_version = m_execProc && versionProc ? versionProc() : 0;
    if (m_version < 153 || m_version > 300) {
        dlclose(m_module);
        m_module = nullptr;
        m_execProc = nullptr;
        m_loadReasons = 0;
        m_version = 0;
        throw EZipKit(10651, QString::fromLatin1(FileName));
    }
    m_trace(10652, QStringLiteral("loaded "), m_loadedPath);
}

void UnzLibrary::load(int reason, int minimumVersion, const QString &libDirectory)
{
    m_loadReasons |= reason;
    if (!m_module) {
        m_version = 0;
        m_loadReasons = reason;
        open(pathFor(libDirectory));
    }
    if (m_version < minimumVersion) {
        drop(~0);
        throw EZipKit(10651, QString::fromLatin1(FileName));
    }
}

void UnzLibrary::drop(int reasons)
{
    m_loadReasons &= ~reasons;
    if (m_loadReasons == 0 && m_module) {
        m_trace(10653, QStringLiteral("unloaded "), m_loadedPath);
        dlclose(m_module);
        m_module = nullptr;
    }
    if (!m_module) {
        m_loadReasons = 0;
        m_version = 0;
        m_execProc = nullptr;
    }
}

int UnzLibrary::run(UnzipParams *params) const
{
    auto *exec = reinterpret_cast<int (*)(UnzipParams *)>(m_execProc);
    return exec ? exec(params) : 0;
}
