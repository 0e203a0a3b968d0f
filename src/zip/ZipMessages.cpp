// SPDX-License-Identifier: MIT
#include "ZipMessages.h"

QString ZipText::tableText(int id)
{
    // Only the component's own later messages have texts; every specified id keeps its fallback.
    switch (id) {
    case ZipText::JoinWriteError:
        return QStringLiteral("Cannot write the joined archive %1: %2");
    case ZipText::EntryRefused:
        return QStringLiteral("%1%2");   // the reason, and the empty second argument
    default:
        return {};
    }
}

namespace {
std::string narrow(const QString &text)
{
    return text.toStdString();
}
QString formatted(const QString &table, const QString &fallback)
{
    return table.isEmpty() ? fallback : table;
}
}

EZipKit::EZipKit(int id, bool showBox)
    : std::runtime_error(narrow(QStringLiteral("ZipKit [ %1 ]").arg(id)))
    , ShowBox(showBox)
    , MessageId(id)
    , m_message(formatted(ZipText::tableText(id), QStringLiteral("ZipKit [ %1 ]").arg(id)))
{
}

EZipKit::EZipKit(int id, int number)
    : std::runtime_error(narrow(QStringLiteral("ZipKit [ %1 ], %2").arg(id).arg(number)))
    , ShowBox(true)
    , MessageId(id)
    , SecondArg(QString::number(number))
    , m_message(formatted(ZipText::tableText(id).isEmpty() ? QString() : ZipText::tableText(id).arg(number),
                          QStringLiteral("ZipKit [ %1 ], %2").arg(id).arg(number)))
{
}

EZipKit::EZipKit(int id, const QString &first)
    : std::runtime_error(narrow(QStringLiteral("ZipKit [ %1 ], %2").arg(id).arg(first)))
    , ShowBox(true)
    , MessageId(id)
    , FirstArg(first)
    , m_message(formatted(ZipText::tableText(id).isEmpty() ? QString() : ZipText::tableText(id).arg(first),
                          QStringLiteral("ZipKit [ %1 ], %2").arg(id).arg(first)))
{
}

EZipKit::EZipKit(int id, const QString &first, const QString &second)
    : std::runtime_error(narrow(QStringLiteral("ZipKit [ %1 ], %2, %3").arg(id).arg(first, second)))
    , ShowBox(true)
    , MessageId(id)
    , FirstArg(first)
    , SecondArg(second)
    , m_message(formatted(ZipText::tableText(id).isEmpty() ? QString() : ZipText::tableText(id).arg(first, second),
                          QStringLiteral("ZipKit [ %1 ], %2, %3").arg(id).arg(first, second)))
{
}
