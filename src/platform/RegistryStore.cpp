// SPDX-License-Identifier: MIT
#include "RegistryStore.h"

#include "AppError.h"
#include "AtomicFile.h"
#include "NativeFile.h"
#include "NativePaths.h"
#include "StoreFile.h"

#include <QDateTime>

#include <cstdio>

namespace {

const QLatin1StringView kHeader("Windows Registry Editor Version 5.00");

void appendQuoted(QString &out, const QString &text)
{
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        // REGEDIT strings cannot hold line breaks; ours escape them so that any text survives.
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    out += QLatin1Char('"');
}

// Reads a quoted text at line[pos] (which must be '"'); returns the position after the closing quote.
std::optional<qsizetype> unquote(QStringView line, qsizetype pos, QString *out)
{
    if (pos >= line.size() || line[pos] != QLatin1Char('"'))
        return std::nullopt;
    out->clear();
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"'))
            return i + 1;
        if (c == QLatin1Char('\\')) {
            if (++i >= line.size())
                return std::nullopt;
            const QChar e = line[i];
            if (e == QLatin1Char('n'))
                out->append(QLatin1Char('\n'));
            else if (e == QLatin1Char('r'))
                out->append(QLatin1Char('\r'));
            else if (e == QLatin1Char('\\') || e == QLatin1Char('"'))
                out->append(e);
            else
                return std::nullopt;
        } else {
            out->append(c);
        }
    }
    return std::nullopt;
}

void appendHexList(QString &out, const QByteArray &bytes)
{
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i)
            out += QLatin1Char(',');
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += QLatin1Char(digits[b >> 4]);
        out += QLatin1Char(digits[b & 0xF]);
    }
}

std::optional<QByteArray> parseHexList(QStringView text)
{
    QByteArray out;
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return out;
    for (const QStringView part : trimmed.tokenize(QLatin1Char(','))) {
        const QStringView byte = part.trimmed();
        bool ok = false;
        const uint value = byte.toUInt(&ok, 16);
        if (!ok || byte.size() > 2 || value > 255)
            return std::nullopt;
        out += static_cast<char>(value);
    }
    return out;
}

// An expandable string as REGEDIT stores it: UTF-16LE code units and a final NUL.
QByteArray utf16le(const QString &text)
{
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        out += static_cast<char>(c.unicode() & 0xFF);
        out += static_cast<char>(c.unicode() >> 8);
    }
    out += QByteArray(2, '\0');
    return out;
}

QString fromUtf16le(const QByteArray &bytes)
{
    QString out;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (unit == 0)
            break;
        out.append(QChar(unit));
    }
    return out;
}

QString folded(const QString &name)
{
    return name.toCaseFolded();
}

}

RegistryStore::RegistryStore(QString filePath)
    : m_filePath(std::move(filePath))
{
}

void RegistryStore::clearKeys()
{
    m_keys.clear();
    m_keyIndex.clear();
}

RegistryStore::LoadResult RegistryStore::load()
{
    clearKeys();
    m_readOnly = false;
    m_writeFailureReported = false;
    m_encoding = Encoding::Utf8;
    m_setAsidePath.clear();
    m_loadError.clear();
    const StoreContent found = readStoreFile(m_filePath, kStoreSizeLimit);
    if (found.state == StoreContent::State::Missing)
        return LoadResult::Missing;
    if (found.state == StoreContent::State::Refused) {
        m_loadError = found.reason;
        m_readOnly = true;
        return LoadResult::Unreadable;
    }
    if (parse(found.bytes, &m_loadError))
        return LoadResult::Loaded;

    clearKeys();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_filePath + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; pathExists(aside); ++n)
        aside = m_filePath + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
    if (std::rename(nativePath(m_filePath).constData(), nativePath(aside).constData()) == 0) {
        m_setAsidePath = aside;
        return LoadResult::SetAside;
    }
    m_readOnly = true;
    return LoadResult::Unreadable;
}

namespace {

// The file's text: UTF-16LE after its byte-order mark, else UTF-8 with its bytes that are not
// UTF-8 kept as escapes; nothing for a UTF-16 file cut in the middle of a code unit.
std::optional<QString> decodeStore(const QByteArray &content, bool &utf16)
{
    utf16 = content.startsWith("\xFF\xFE");
    if (utf16) {
        if (content.size() % 2 != 0)
            return std::nullopt;
        const auto *b = reinterpret_cast<const unsigned char *>(content.constData());
        QString text(content.size() / 2 - 1, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(b[2 + 2 * i] | b[3 + 2 * i] << 8));
        return text;
    }
    QByteArrayView view(content);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    return pathFromNative(view);
}

// The data of a value line after its "=": a quoted string, "dword:", "hex(2):" or "hex:"; nothing
// and the reason when it is none of them, well formed.
std::optional<RegValue> parseValueData(QStringView data, QString *why)
{
    if (data.startsWith(QLatin1Char('"'))) {
        QString text;
        const auto end = unquote(data, 0, &text);
        if (end && *end == data.size())
            return RegValue::string(text);
        *why = QStringLiteral("bad string");
    } else if (data.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        const QStringView digits = data.mid(6);
        const uint v = digits.toUInt(&ok, 16);
        if (ok && digits.size() == 8)
            return RegValue::dword32(v);
        *why = QStringLiteral("bad dword");
    } else if (data.startsWith(QLatin1String("hex(2):"))) {
        if (const auto bytes = parseHexList(data.mid(7)))
            return RegValue::expandString(fromUtf16le(*bytes));
        *why = QStringLiteral("bad hex list");
    } else if (data.startsWith(QLatin1String("hex:"))) {
        if (const auto bytes = parseHexList(data.mid(4)))
            return RegValue::binary(*bytes);
        *why = QStringLiteral("bad hex list");
    } else {
        *why = QStringLiteral("unknown value type");
    }
    return std::nullopt;
}

}

bool RegistryStore::parse(const QByteArray &content, QString *error)
{
    auto fail = [&](int lineNo, const QString &why) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(lineNo).arg(why);
        return false;
    };
    clearKeys();
    bool utf16 = false;
    const std::optional<QString> decoded = decodeStore(content, utf16);
    if (!decoded)
        return fail(1, QStringLiteral("a UTF-16 file with an odd number of bytes"));
    const QString &text = *decoded;

    bool headerSeen = false;
    size_t current = npos;
    QString pending;
    int pendingStart = 0;
    int lineNo = 0;
    for (const QStringView raw : QStringView(text).tokenize(QLatin1Char('\n'))) {
        ++lineNo;
        QStringView rawLine = raw;
        if (rawLine.endsWith(QLatin1Char('\r')))
            rawLine.chop(1);
        // Join continuation lines (a trailing backslash outside quotes, as REGEDIT wraps hex lists).
        if (pending.isEmpty())
            pendingStart = lineNo;
        if (pending.isEmpty())
            pending = rawLine.toString();
        else
            pending += rawLine.trimmed();
        const bool hexValue = !pending.startsWith(QLatin1Char('[')) && pending.contains(QLatin1String("=hex"));
        if (hexValue && pending.endsWith(QLatin1Char('\\'))) {
            pending.chop(1);
            continue;
        }
        const QString whole = std::exchange(pending, QString());
        const QStringView line = QStringView(whole).trimmed();
        const int at = pendingStart;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (!headerSeen) {
            if (line.compare(kHeader) != 0)
                return fail(at, QStringLiteral("not a registry file"));
            headerSeen = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || line.size() < 3)
                return fail(at, QStringLiteral("bad key line"));
            const QString path = line.mid(1, line.size() - 2).toString();
            current = findKey(path);
            if (current == npos)
                current = addKey(path);
            continue;
        }
        if (current == npos)
            return fail(at, QStringLiteral("value outside a key"));
        QString name;
        const auto afterName = unquote(line, 0, &name);
        if (!afterName || *afterName >= line.size() || line[*afterName] != QLatin1Char('='))
            return fail(at, QStringLiteral("bad value line"));
        QString why;
        std::optional<RegValue> value = parseValueData(line.mid(*afterName + 1), &why);
        if (!value)
            return fail(at, why);
        Key &key = m_keys[current];
        const size_t existing = findValue(key, name);
        if (existing != npos)
            key.values[existing].value = std::move(*value);
        else
            addValue(key, std::move(name), std::move(*value));
    }
    if (!pending.isEmpty())
        return fail(pendingStart, QStringLiteral("unfinished value"));
    if (!headerSeen && !text.trimmed().isEmpty())
        return fail(1, QStringLiteral("not a registry file"));
    m_encoding = utf16 ? Encoding::Utf16LE : Encoding::Utf8;
    return true;
}

QByteArray RegistryStore::serialize(const RegistryStore &store)
{
    const QLatin1StringView eol(store.m_encoding == Encoding::Utf16LE ? "\r\n" : "\n");
    QString text = QString(kHeader) + eol;
    for (const Key &key : store.m_keys) {
        text += eol;
        text += QLatin1Char('[') + key.path + QLatin1Char(']');
        text += eol;
        for (const NamedValue &v : key.values) {
            appendQuoted(text, v.name);
            text += QLatin1Char('=');
            switch (v.value.type) {
            case RegType::String: appendQuoted(text, v.value.text); break;
            case RegType::ExpandString:
                text += QLatin1String("hex(2):");
                appendHexList(text, utf16le(v.value.text));
                break;
            case RegType::Binary:
                text += QLatin1String("hex:");
                appendHexList(text, v.value.bytes);
                break;
            case RegType::DWord: text += QStringLiteral("dword:%1").arg(v.value.dword, 8, 16, QLatin1Char('0')); break;
            }
            text += eol;
        }
    }
    if (store.m_encoding == Encoding::Utf8)
        return nativePath(text);
    QByteArray out;
    out.reserve(2 + text.size() * 2);
    out += "\xFF\xFE";
    for (const QChar c : std::as_const(text)) {
        out += static_cast<char>(c.unicode() & 0xFF);
        out += static_cast<char>(c.unicode() >> 8);
    }
    return out;
}

bool RegistryStore::save()
{
    return !m_readOnly && writeFileAtomically(m_filePath, serialize(*this));
}

size_t RegistryStore::findKey(const QString &key) const
{
    return m_keyIndex.value(folded(key), npos);
}

size_t RegistryStore::addKey(const QString &key)
{
    m_keyIndex.insert(folded(key), m_keys.size());
    m_keys.push_back({key, {}, {}});
    return m_keys.size() - 1;
}

void RegistryStore::removeLastKey()
{
    m_keyIndex.remove(folded(m_keys.back().path));
    m_keys.pop_back();
}

size_t RegistryStore::findValue(const Key &key, const QString &name)
{
    if (key.values.size() > kIndexedValues)
        return key.index.value(folded(name), npos);
    for (size_t i = 0; i < key.values.size(); ++i)
        if (key.values[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return npos;
}

void RegistryStore::addValue(Key &key, QString name, RegValue value)
{
    key.values.push_back({std::move(name), std::move(value)});
    if (key.values.size() == kIndexedValues + 1)
        reindex(key);
    else if (key.values.size() > kIndexedValues + 1)
        key.index.insert(folded(key.values.back().name), key.values.size() - 1);
}

void RegistryStore::reindex(Key &key)
{
    key.index.clear();
    if (key.values.size() > kIndexedValues)
        for (size_t i = 0; i < key.values.size(); ++i)
            key.index.insert(folded(key.values[i].name), i);
}

bool RegistryStore::keyExists(const QString &key) const
{
    return findKey(key) != npos;
}

bool RegistryStore::createKey(const QString &key)
{
    if (findKey(key) != npos)
        return true;
    addKey(key);
    if (save())
        return true;
    removeLastKey();
    return false;
}

QStringList RegistryStore::valueNames(const QString &key) const
{
    QStringList names;
    const size_t at = findKey(key);
    if (at != npos)
        for (const NamedValue &v : m_keys[at].values)
            names << v.name;
    return names;
}

std::optional<RegValue> RegistryStore::value(const QString &key, const QString &name) const
{
    const size_t at = findKey(key);
    if (at == npos)
        return std::nullopt;
    const size_t v = findValue(m_keys[at], name);
    if (v == npos)
        return std::nullopt;
    return m_keys[at].values[v].value;
}

bool RegistryStore::setValue(const QString &key, const QString &name, const RegValue &value)
{
    size_t at = findKey(key);
    const bool newKey = at == npos;
    if (newKey)
        at = addKey(key);
    Key &k = m_keys[at];
    const size_t existing = findValue(k, name);
    std::optional<RegValue> previous;
    if (existing != npos)
        previous = std::exchange(k.values[existing].value, value);
    else
        addValue(k, name, value);
    if (save())
        return true;
    if (previous) {
        k.values[existing].value = *previous;
    } else {
        k.values.pop_back();
        reindex(k);
    }
    if (newKey)
        removeLastKey();
    return false;
}

bool RegistryStore::deleteValue(const QString &key, const QString &name)
{
    const size_t at = findKey(key);
    if (at == npos)
        return false;
    Key &k = m_keys[at];
    const size_t v = findValue(k, name);
    if (v == npos)
        return false;
    const NamedValue removed = k.values[v];
    k.values.erase(k.values.begin() + static_cast<std::ptrdiff_t>(v));
    reindex(k);
    if (save())
        return true;
    k.values.insert(k.values.begin() + static_cast<std::ptrdiff_t>(v), removed);
    reindex(k);
    return false;
}

QString RegistryStore::readString(const QString &key, const QString &name) const
{
    const auto v = value(key, name);
    if (!v)
        return {};
    if (v->type != RegType::String && v->type != RegType::ExpandString)
        throw AppError::withArg(messages::InvalidDataType, name);
    return v->text;
}

std::optional<QByteArray> RegistryStore::readBinary(const QString &key, const QString &name, qsizetype maxSize) const
{
    const auto v = value(key, name);
    if (!v)
        return std::nullopt;
    if (v->type != RegType::Binary || v->bytes.size() > maxSize)
        throw AppError::withArg(messages::InvalidDataType, name);
    return v->bytes;
}

void RegistryStore::writeOrReport(const QString &key, const QString &name, const RegValue &value)
{
    if (setValue(key, name, value)) {
        m_writeFailureReported = false;
        return;
    }
    if (m_writeFailureReported)
        return;
    m_writeFailureReported = true;
    throw AppError::withArg(messages::FailedToSetData, name);
}

void RegistryStore::writeString(const QString &key, const QString &name, const QString &text)
{
    writeOrReport(key, name, RegValue::string(text));
}

void RegistryStore::writeBinary(const QString &key, const QString &name, const QByteArray &bytes)
{
    writeOrReport(key, name, RegValue::binary(bytes));
}
