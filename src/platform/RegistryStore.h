// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class RegType { String, ExpandString, Binary, DWord };

struct RegValue {
    RegType type = RegType::String;
    QString text;      // String and ExpandString
    QByteArray bytes;  // Binary
    quint32 dword = 0; // DWord

    static RegValue string(const QString &text) { return {RegType::String, text, {}, 0}; }
    static RegValue expandString(const QString &text) { return {RegType::ExpandString, text, {}, 0}; }
    static RegValue binary(const QByteArray &bytes) { return {RegType::Binary, {}, bytes, 0}; }
    static RegValue dword32(quint32 value) { return {RegType::DWord, {}, {}, value}; }
    bool operator==(const RegValue &) const = default;
};

// A per-user store of keys and typed values kept in one text file in the REGEDIT format
// ("Windows Registry Editor Version 5.00", "name"="text", hex:, hex(2):, dword:).
// Key names compare without regard to case, as registry keys do; value names too.
// Every change rewrites the whole file through a temporary file and a rename, so a crash
// leaves either the old or the new file. A file that cannot be parsed is never overwritten:
// load() moves it aside first, and when it cannot, the store refuses every write.
class RegistryStore {
public:
    enum class LoadResult { Loaded, Missing, SetAside, Unreadable };

    explicit RegistryStore(QString filePath);

    // Reads the file. A corrupt file is renamed to setAsidePath() (LoadResult::SetAside) or,
    // when even that fails, kept and the store made read-only (LoadResult::Unreadable).
    LoadResult load();
    const QString &filePath() const { return m_filePath; }
    const QString &setAsidePath() const { return m_setAsidePath; }
    const QString &loadError() const { return m_loadError; }

    bool keyExists(const QString &key) const;
    // Creates the key and writes the file; false when the file cannot be written.
    bool createKey(const QString &key);
    QStringList valueNames(const QString &key) const;
    std::optional<RegValue> value(const QString &key, const QString &name) const;
    // Both return false, leaving store and file as they were, when the file cannot be written.
    bool setValue(const QString &key, const QString &name, const RegValue &value);
    bool deleteValue(const QString &key, const QString &name);

    // Typed access with the registry's messages (AppError):
    // a string or expandable string, "" when absent; other types: "Invalid data type for '%s'".
    QString readString(const QString &key, const QString &name) const;
    // Raw bytes of a binary (or any non-text) value; strings and dwords, or more than maxSize
    // bytes: "Invalid data type for '%s'". Absent: std::nullopt.
    std::optional<QByteArray> readBinary(const QString &key, const QString &name, qsizetype maxSize) const;
    // "Failed to set data for '%s'" when the value cannot be stored.
    void writeString(const QString &key, const QString &name, const QString &text);
    void writeBinary(const QString &key, const QString &name, const QByteArray &bytes);

    // The file format, separately testable.
    static QByteArray serialize(const RegistryStore &store);
    bool parse(const QByteArray &content, QString *error);

private:
    struct NamedValue {
        QString name;
        RegValue value;
    };
    struct Key {
        QString path;
        std::vector<NamedValue> values;
    };

    Key *findKey(const QString &key);
    const Key *findKey(const QString &key) const;
    bool save();

    QString m_filePath;
    QString m_setAsidePath;
    QString m_loadError;
    bool m_readOnly = false;
    std::vector<Key> m_keys;
};
