// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHash>
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
// The file is read as UTF-8 (bytes that are not UTF-8 are kept as they were, see NativeFile.h),
// or as UTF-16LE when it starts with that byte-order mark, as the registry editor writes it; it
// is written back in the encoding it was read in, so every text survives, surrogate pairs and the
// escapes of file names that are not UTF-8 included.
// Every change rewrites the whole file through a temporary file and a rename, so a crash
// leaves either the old or the new file. A file that cannot be parsed is never overwritten:
// load() moves it aside first, and when it cannot, the store refuses every write. A file that is
// not read at all (a FIFO, a device, one larger than kStoreSizeLimit) is left as it is, and the
// store refuses every write too.
class RegistryStore {
public:
    enum class LoadResult { Loaded, Missing, SetAside, Unreadable };

    explicit RegistryStore(QString filePath);

    // Reads the file. A corrupt file is renamed to setAsidePath() (LoadResult::SetAside) or,
    // when even that fails, kept and the store made read-only (LoadResult::Unreadable), as is a
    // file that is not read at all; loadError() says why.
    LoadResult load();
    const QString &filePath() const { return m_filePath; }
    const QString &setAsidePath() const { return m_setAsidePath; }
    const QString &loadError() const { return m_loadError; }
    bool isReadOnly() const { return m_readOnly; }

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
    // "Failed to set data for '%s'" when the value cannot be stored. A store that cannot be
    // written says so once: later writes that fail for as long as it stays so fail quietly,
    // until a write succeeds again.
    void writeString(const QString &key, const QString &name, const QString &text);
    void writeBinary(const QString &key, const QString &name, const QByteArray &bytes);
    // The user has been told that this store cannot be written (at start-up): typed writes
    // then fail quietly from the first.
    void markWriteFailureReported() { m_writeFailureReported = true; }

    // The file format, separately testable.
    static QByteArray serialize(const RegistryStore &store);
    bool parse(const QByteArray &content, QString *error);

private:
    enum class Encoding { Utf8, Utf16LE };
    struct NamedValue {
        QString name;
        RegValue value;
    };
    struct Key {
        QString path;
        std::vector<NamedValue> values;
        // Case-folded value name -> position in values; kept only for keys with many values,
        // the few values of most keys are searched in order.
        QHash<QString, size_t> index;
    };
    static constexpr size_t kIndexedValues = 8;
    static constexpr size_t npos = size_t(-1);

    size_t findKey(const QString &key) const;
    size_t addKey(const QString &key);
    void removeLastKey();
    static size_t findValue(const Key &key, const QString &name);
    static void addValue(Key &key, QString name, RegValue value);
    static void reindex(Key &key);
    void clearKeys();
    bool save();
    void writeOrReport(const QString &key, const QString &name, const RegValue &value);

    QString m_filePath;
    QString m_setAsidePath;
    QString m_loadError;
    bool m_readOnly = false;
    bool m_writeFailureReported = false;
    Encoding m_encoding = Encoding::Utf8;
    std::vector<Key> m_keys;
    QHash<QString, size_t> m_keyIndex;   // case-folded key path -> position in m_keys
};
