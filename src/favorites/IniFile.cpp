// SPDX-License-Identifier: MIT
#include "IniFile.h"

#include "AtomicFile.h"
#include "NativeFile.h"
#include "NativePaths.h"
#include "StoreFile.h"
#include "TextFile.h"

#include <QHash>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Holds an exclusive lock on the folder of a file while it lives, so that the programs that
// share the file take turns at reading it and writing it back. The folder and not the file is
// locked because every write replaces the file by a rename. A folder that cannot be opened
// (not made yet) is not locked.
class FolderLock {
public:
    explicit FolderLock(const QString &file)
    {
        const QByteArray folder = nativePath(folderOf(file));
        m_fd = ::open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

constexpr char16_t kEscapeFirst = 0xDC80, kEscapeLast = 0xDCFF;

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// "%xFF" for the escape of the byte 0xFF.
QString rawByteCode(QChar escape)
{
    return QStringLiteral("%x") + QString::number(escape.unicode() - 0xDC00, 16).toUpper();
}

}

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
    reload();
}

void IniFile::reload()
{
    const StoreContent found = readStoreFile(m_path, kStoreSizeLimit);
    m_problem = found.state == StoreContent::State::Refused ? found.reason : QString();
    loadFromBytes(found.bytes);
}

void IniFile::loadFromBytes(const QByteArray &content)
{
    m_lines.clear();
    for (const QString &text : linesOfTextFile(content))
        m_lines.push_back(parseLine(text));
}

IniFile::Line IniFile::parseLine(const QString &text)
{
    Line line;
    line.text = text;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
        line.kind = Line::Section;
        line.name = trimmed.mid(1, trimmed.size() - 2).trimmed();
        return line;
    }
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return line;
    line.kind = Line::Entry;
    line.name = unescape(text.left(equals).trimmed());
    line.value = unescape(text.mid(equals + 1).trimmed());
    return line;
}

QString IniFile::escapeKey(const QString &key)
{
    QString out;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (c == QLatin1Char('%'))
            out += QStringLiteral("%25");
        else if (c == QLatin1Char('='))
            out += QStringLiteral("%3D");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("%0A");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("%0D");
        else if (i == 0 && c == QLatin1Char('['))
            out += QStringLiteral("%5B");
        else if (i == 0 && c == QLatin1Char(';'))
            out += QStringLiteral("%3B");
        else if (c.unicode() >= kEscapeFirst && c.unicode() <= kEscapeLast)
            out += rawByteCode(c);
        else
            out += c;
    }
    // Surrounding blanks would be lost to trimming.
    if (out.startsWith(QLatin1Char(' ')))
        out.replace(0, 1, QStringLiteral("%20"));
    if (out.endsWith(QLatin1Char(' ')))
        out.replace(out.size() - 1, 1, QStringLiteral("%20"));
    return out;
}

QString IniFile::escapeValue(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('%'))
            out += QStringLiteral("%25");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("%0A");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("%0D");
        else if (c.unicode() >= kEscapeFirst && c.unicode() <= kEscapeLast)
            out += rawByteCode(c);
        else
            out += c;
    }
    if (out.startsWith(QLatin1Char(' ')))
        out.replace(0, 1, QStringLiteral("%20"));
    if (out.endsWith(QLatin1Char(' ')))
        out.replace(out.size() - 1, 1, QStringLiteral("%20"));
    return out;
}

QString IniFile::unescape(const QString &text)
{
    static const std::pair<const char *, char16_t> codes[] = {
        {"%25", '%'}, {"%3D", '='}, {"%5B", '['}, {"%3B", ';'}, {"%0A", '\n'}, {"%0D", '\r'}, {"%20", ' '}};
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('%')) {
            out += text[i];
            continue;
        }
        bool replaced = false;
        if (i + 2 < text.size()) {
            const QString code = text.mid(i, 3).toUpper();
            for (const auto &[escaped, character] : codes) {
                if (code == QLatin1String(escaped)) {
                    out += QChar(character);
                    i += 2;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced && i + 3 < text.size() && text[i + 1] == QLatin1Char('x') && isHexDigit(text[i + 2]) && isHexDigit(text[i + 3])) {
            const uint byte = text.mid(i + 2, 2).toUInt(nullptr, 16);
            if (byte >= 0x80) {
                out += QChar(char16_t(0xDC00 + byte));
                i += 3;
                replaced = true;
            }
        }
        if (!replaced)
            out += text[i];
    }
    return out;
}

int IniFile::sectionIndex(const QString &section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Line::Section && m_lines[i].name.compare(section, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

int IniFile::sectionEnd(int sectionLine) const
{
    int end = sectionLine + 1;
    while (end < static_cast<int>(m_lines.size()) && m_lines[static_cast<size_t>(end)].kind != Line::Section)
        ++end;
    return end;
}

int IniFile::entryIndex(const QString &section, const QString &key) const
{
    const int start = sectionIndex(section);
    if (start < 0)
        return -1;
    const int end = sectionEnd(start);
    for (int i = start + 1; i < end; ++i)
        if (m_lines[static_cast<size_t>(i)].kind == Line::Entry && m_lines[static_cast<size_t>(i)].name.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool IniFile::sectionExists(const QString &section) const
{
    return sectionIndex(section) >= 0;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int at = entryIndex(section, key);
    return at < 0 ? defaultValue : m_lines[static_cast<size_t>(at)].value;
}

QStringList IniFile::readSectionKeys(const QString &section) const
{
    QStringList keys;
    const int start = sectionIndex(section);
    if (start < 0)
        return keys;
    const int end = sectionEnd(start);
    for (int i = start + 1; i < end; ++i)
        if (m_lines[static_cast<size_t>(i)].kind == Line::Entry)
            keys << m_lines[static_cast<size_t>(i)].name;
    return keys;
}

QList<std::pair<QString, QString>> IniFile::readSection(const QString &section) const
{
    QList<std::pair<QString, QString>> entries;
    const int start = sectionIndex(section);
    if (start < 0)
        return entries;
    // A key written twice reads as its first value, as readString finds it.
    QHash<QString, QString> first;
    const int end = sectionEnd(start);
    for (int i = start + 1; i < end; ++i) {
        const Line &line = m_lines[static_cast<size_t>(i)];
        if (line.kind != Line::Entry)
            continue;
        const QString folded = line.name.toCaseFolded();
        auto found = first.constFind(folded);
        if (found == first.constEnd())
            found = first.insert(folded, line.value);
        entries.emplace_back(line.name, found.value());
    }
    return entries;
}

bool IniFile::save(const std::vector<Line> &lines)
{
    QString text;
    for (const Line &line : lines)
        text += line.text + QStringLiteral("\r\n");
    // Whole strings, so that characters beyond the Basic Multilingual Plane stay pairs.
    if (!writeFileAtomically(m_path, text.toUtf8()))
        return false;
    m_lines = lines;
    return true;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const FolderLock lock(m_path);
    reload();
    if (!m_problem.isEmpty())
        return false;
    std::vector<Line> lines = m_lines;
    const Line entry = parseLine(escapeKey(key) + QLatin1Char('=') + escapeValue(value));
    const int at = entryIndex(section, key);
    if (at >= 0) {
        lines[static_cast<size_t>(at)] = entry;
    } else {
        int start = sectionIndex(section);
        if (start < 0) {
            if (!lines.empty() && !lines.back().text.trimmed().isEmpty())
                lines.push_back(parseLine(QString()));
            lines.push_back(parseLine(QLatin1Char('[') + section + QLatin1Char(']')));
            lines.push_back(entry);
        } else {
            // After the section's last entry, before any blank lines that end it.
            int end = sectionEnd(start);
            int insertAt = end;
            while (insertAt > start + 1 && lines[static_cast<size_t>(insertAt - 1)].text.trimmed().isEmpty())
                --insertAt;
            lines.insert(lines.begin() + insertAt, entry);
        }
    }
    return save(lines);
}

bool IniFile::eraseSection(const QString &section)
{
    const FolderLock lock(m_path);
    reload();
    if (!m_problem.isEmpty())
        return false;
    const int start = sectionIndex(section);
    if (start < 0)
        return true;
    std::vector<Line> lines = m_lines;
    lines.erase(lines.begin() + start, lines.begin() + sectionEnd(start));
    return save(lines);
}
