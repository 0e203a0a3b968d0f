// SPDX-License-Identifier: MIT
#include "RegistryStore.h"

#include "AppError.h"
#include "AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00";

QByteArray quote(const QString &text)
{
    QByteArray out = "\"";
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        // REGEDIT strings cannot hold line breaks; ours escape them so that any text survives.
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += QString(c).toUtf8();
        }
    }
    return out + '"';
}

// Reads a quoted text at line[pos] (which must be '"'); returns the position after the closing quote.
std::optional<qsizetype> unquote(const QString &line, qsizetype pos, QString *out)
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

QByteArray hexList(const QByteArray &bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i)
            out += ',';
        out += QByteArray::number(static_cast<unsigned char>(bytes[i]), 16).rightJustified(2, '0');
    }
    return out;
}

std::optional<QByteArray> parseHexList(const QString &text)
{
    QByteArray out;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return out;
    for (const QString &part : trimmed.split(QLatin1Char(','))) {
        const QString byte = part.trimmed();
        bool ok = false;
        const uint value = byte.toUInt(&ok, 16);
        if (!ok || byte.size() > 2 || value > 255)
            return std::nullopt;
        out += static_cast<char>(value);
    }
    return out;
}

QByteArray utf16le(const QString &text)
{
    QByteArray out;
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

}

RegistryStore::RegistryStore(QString filePath)
    : m_filePath(std::move(filePath))
{
}

RegistryStore::LoadResult RegistryStore::load()
{
    m_keys.clear();
    m_readOnly = false;
    m_setAsidePath.clear();
    m_loadError.clear();
    QFile file(m_filePath);
    if (!file.exists())
        return LoadResult::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadError = file.errorString();
        m_readOnly = true;
        return LoadResult::Unreadable;
    }
    const QByteArray content = file.readAll();
    file.close();
    if (parse(content, &m_loadError))
        return LoadResult::Loaded;

    m_keys.clear();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_filePath + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_filePath + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
    if (QFile::rename(m_filePath, aside)) {
        m_setAsidePath = aside;
        return LoadResult::SetAside;
    }
    m_readOnly = true;
    return LoadResult::Unreadable;
}

bool RegistryStore::parse(const QByteArray &content, QString *error)
{
    auto fail = [&](int lineNo, const QString &why) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(lineNo).arg(why);
        return false;
    };
    m_keys.clear();
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList rawLines = text.split(QLatin1Char('\n'));

    // Join continuation lines (a trailing backslash outside quotes, as REGEDIT wraps hex lists).
    QStringList lines;
    QList<int> lineNumbers;
    QString pending;
    int pendingStart = 0;
    for (int i = 0; i < rawLines.size(); ++i) {
        QString line = rawLines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (pending.isEmpty())
            pendingStart = i + 1;
        pending += pending.isEmpty() ? line : line.trimmed();
        const bool hexValue = pending.contains(QStringLiteral("=hex")) && !pending.startsWith(QLatin1Char('['));
        if (hexValue && pending.endsWith(QLatin1Char('\\'))) {
            pending.chop(1);
            continue;
        }
        lines << pending;
        lineNumbers << pendingStart;
        pending.clear();
    }
    if (!pending.isEmpty())
        return fail(pendingStart, QStringLiteral("unfinished value"));

    bool headerSeen = false;
    Key *current = nullptr;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const int lineNo = lineNumbers[i];
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (!headerSeen) {
            if (line.toUtf8() != kHeader)
                return fail(lineNo, QStringLiteral("not a registry file"));
            headerSeen = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || line.size() < 3)
                return fail(lineNo, QStringLiteral("bad key line"));
            const QString path = line.mid(1, line.size() - 2);
            current = findKey(path);
            if (!current) {
                m_keys.push_back({path, {}});
                current = &m_keys.back();
            }
            continue;
        }
        if (!current)
            return fail(lineNo, QStringLiteral("value outside a key"));
        QString name;
        const auto afterName = unquote(line, 0, &name);
        if (!afterName || *afterName >= line.size() || line[*afterName] != QLatin1Char('='))
            return fail(lineNo, QStringLiteral("bad value line"));
        const QString data = line.mid(*afterName + 1);
        RegValue value;
        if (data.startsWith(QLatin1Char('"'))) {
            QString textValue;
            const auto end = unquote(data, 0, &textValue);
            if (!end || *end != data.size())
                return fail(lineNo, QStringLiteral("bad string"));
            value = RegValue::string(textValue);
        } else if (data.startsWith(QStringLiteral("dword:"))) {
            bool ok = false;
            const QString digits = data.mid(6);
            const uint v = digits.toUInt(&ok, 16);
            if (!ok || digits.size() != 8)
                return fail(lineNo, QStringLiteral("bad dword"));
            value = RegValue::dword32(v);
        } else if (data.startsWith(QStringLiteral("hex(2):"))) {
            const auto bytes = parseHexList(data.mid(7));
            if (!bytes)
                return fail(lineNo, QStringLiteral("bad hex list"));
            value = RegValue::expandString(fromUtf16le(*bytes));
        } else if (data.startsWith(QStringLiteral("hex:"))) {
            const auto bytes = parseHexList(data.mid(4));
            if (!bytes)
                return fail(lineNo, QStringLiteral("bad hex list"));
            value = RegValue::binary(*bytes);
        } else {
            return fail(lineNo, QStringLiteral("unknown value type"));
        }
        auto &values = current->values;
        auto it = std::find_if(values.begin(), values.end(), [&](const NamedValue &v) {
            return v.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it != values.end())
            it->value = value;
        else
            values.push_back({name, value});
    }
    if (!headerSeen && !content.trimmed().isEmpty())
        return fail(1, QStringLiteral("not a registry file"));
    return true;
}

QByteArray RegistryStore::serialize(const RegistryStore &store)
{
    QByteArray out = kHeader + "\n";
    for (const Key &key : store.m_keys) {
        out += "\n[" + key.path.toUtf8() + "]\n";
        for (const NamedValue &v : key.values) {
            out += quote(v.name) + '=';
            switch (v.value.type) {
            case RegType::String: out += quote(v.value.text); break;
            case RegType::ExpandString: out += "hex(2):" + hexList(utf16le(v.value.text)); break;
            case RegType::Binary: out += "hex:" + hexList(v.value.bytes); break;
            case RegType::DWord: out += "dword:" + QByteArray::number(v.value.dword, 16).rightJustified(8, '0'); break;
            }
            out += '\n';
        }
    }
    return out;
}

bool RegistryStore::save()
{
    return !m_readOnly && writeFileAtomically(m_filePath, serialize(*this));
}

RegistryStore::Key *RegistryStore::findKey(const QString &key)
{
    for (Key &k : m_keys)
        if (k.path.compare(key, Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

const RegistryStore::Key *RegistryStore::findKey(const QString &key) const
{
    return const_cast<RegistryStore *>(this)->findKey(key);
}

bool RegistryStore::keyExists(const QString &key) const
{
    return findKey(key) != nullptr;
}

bool RegistryStore::createKey(const QString &key)
{
    if (findKey(key))
        return true;
    m_keys.push_back({key, {}});
    if (save())
        return true;
    m_keys.pop_back();
    return false;
}

QStringList RegistryStore::valueNames(const QString &key) const
{
    QStringList names;
    if (const Key *k = findKey(key))
        for (const NamedValue &v : k->values)
            names << v.name;
    return names;
}

std::optional<RegValue> RegistryStore::value(const QString &key, const QString &name) const
{
    if (const Key *k = findKey(key))
        for (const NamedValue &v : k->values)
            if (v.name.compare(name, Qt::CaseInsensitive) == 0)
                return v.value;
    return std::nullopt;
}

bool RegistryStore::setValue(const QString &key, const QString &name, const RegValue &value)
{
    const std::vector<Key> before = m_keys;
    Key *k = findKey(key);
    if (!k) {
        m_keys.push_back({key, {}});
        k = &m_keys.back();
    }
    auto it = std::find_if(k->values.begin(), k->values.end(), [&](const NamedValue &v) {
        return v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it != k->values.end())
        it->value = value;
    else
        k->values.push_back({name, value});
    if (save())
        return true;
    m_keys = before;
    return false;
}

bool RegistryStore::deleteValue(const QString &key, const QString &name)
{
    Key *k = findKey(key);
    if (!k)
        return false;
    auto it = std::find_if(k->values.begin(), k->values.end(), [&](const NamedValue &v) {
        return v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == k->values.end())
        return false;
    const NamedValue removed = *it;
    const auto index = it - k->values.begin();
    k->values.erase(it);
    if (save())
        return true;
    k->values.insert(k->values.begin() + index, removed);
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

void RegistryStore::writeString(const QString &key, const QString &name, const QString &text)
{
    if (!setValue(key, name, RegValue::string(text)))
        throw AppError::withArg(messages::FailedToSetData, name);
}

void RegistryStore::writeBinary(const QString &key, const QString &name, const QByteArray &bytes)
{
    if (!setValue(key, name, RegValue::binary(bytes)))
        throw AppError::withArg(messages::FailedToSetData, name);
}
