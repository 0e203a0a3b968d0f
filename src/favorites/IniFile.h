// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// A file of [sections] and key=value lines, read and written the way the profile functions do:
// sections and keys match without regard to case, keys keep their order, a value written for an
// existing key replaces it in place, and every other line of the file stays as it was. Every
// write goes to disk at once, atomically, so a crash leaves the old or the new file.
//
// Several running programs may share the file: each write locks the file's folder, reads the
// file again and makes its change to what it finds there, so no program writes back its own
// older copy over another's change.
//
// The file is opened without blocking and read only when it is a regular file of at most
// kStoreSizeLimit bytes. Anything else (a FIFO, a device, a file too large or that may not be
// read) reads as an empty file, problem() says why, and every write is refused: the file is
// left as it is, never replaced by what little this program knows.
//
// Keys that hold "=", begin with "[" or ";", or hold "%" or line breaks are written with those
// characters as %3D, %5B, %3B, %25, %0A and %0D, and read back as typed; values escape "%" and
// line breaks the same way. A byte of a file name that is not UTF-8 (kept as an escape, see
// NativeFile.h) is written as %x and its two hex digits.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }
    // Reads the file again from disk (a missing file is an empty one).
    void reload();
    // Why the file was not read at the last reload; empty when it was read or is missing.
    const QString &problem() const { return m_problem; }
    // Takes the lines of a file's content, as reload() does with what it reads.
    void loadFromBytes(const QByteArray &content);

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // False, and nothing changed on disk or in memory, when the file cannot be written.
    bool writeString(const QString &section, const QString &key, const QString &value);
    QStringList readSectionKeys(const QString &section) const;
    // Each key of a section in order with what readString gives for it, in one pass.
    QList<std::pair<QString, QString>> readSection(const QString &section) const;
    bool eraseSection(const QString &section);
    bool sectionExists(const QString &section) const;

    static QString escapeKey(const QString &key);
    static QString escapeValue(const QString &value);
    static QString unescape(const QString &text);

private:
    struct Line {
        QString text;
        enum Kind { Other, Section, Entry } kind = Other;
        QString name;    // section name, or the entry's key as read back
        QString value;   // the entry's value as read back
    };
    static Line parseLine(const QString &text);
    int sectionIndex(const QString &section) const;
    int sectionEnd(int sectionLine) const;
    int entryIndex(const QString &section, const QString &key) const;
    bool save(const std::vector<Line> &lines);

    QString m_path;
    QString m_problem;
    std::vector<Line> m_lines;
};
