// SPDX-License-Identifier: MIT
#include "QtToolkitFonts.h"

#include "NativeFile.h"

#include <QFile>
#include <QFontDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

QtToolkitFonts::QtToolkitFonts() = default;

QtToolkitFonts::~QtToolkitFonts()
{
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QFontDatabase::removeApplicationFont(it.key());
}

int QtToolkitFonts::addFont(const QByteArray &content)
{
    if (!m_folder) {
        // The user's runtime folder is private and in memory; the temporary folder is the user's
        // choice for extracted archives, and stays theirs.
        for (const QString &parent : {QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), QDir::tempPath()}) {
            if (parent.isEmpty())
                continue;
            m_folder = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/glyvanta-fonts-XXXXXX"));
            if (m_folder->isValid())
                break;
            m_folder.reset();
        }
    }
    if (!m_folder)
        return QFontDatabase::addApplicationFontFromData(content);
    const QString path = m_folder->filePath(QString::number(++m_written));
    // A name of its own in a folder of our own: never an existing file, never through a link.
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return QFontDatabase::addApplicationFontFromData(content);
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + written, static_cast<size_t>(content.size() - written));
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fd);
    if (written != content.size()) {
        QFile::remove(path);
        return QFontDatabase::addApplicationFontFromData(content);
    }
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0)
        QFile::remove(path);
    else
        m_files.insert(id, path);
    return id;
}

void QtToolkitFonts::removeFont(int id)
{
    QFontDatabase::removeApplicationFont(id);
    // Faces the toolkit still has open keep reading the file through their own handle.
    if (const QString path = m_files.take(id); !path.isEmpty())
        QFile::remove(path);
}
