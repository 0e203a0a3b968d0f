// SPDX-License-Identifier: MIT
#include "TextFile.h"

#include "AppError.h"
#include "CodePage.h"
#include "NativeFile.h"
#include "NativePaths.h"
#include "StoreFile.h"

#include <QStringDecoder>

QStringList linesOfTextFile(const QByteArray &content)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(content);
    if (utf8.hasError())
        text = CodePage::decode("CP1252", content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line end ends the last line; it does not start another.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList readTextFileLines(const QString &path)
{
    FileRefusal why = FileRefusal::None;
    const std::optional<QByteArray> content = readRegularFile(path, kTextFileLimit, &why);
    if (content)
        return linesOfTextFile(*content);
    const AppError cannotOpen = AppError::withArg(messages::CannotOpenFile, displayPath(path));
    if (why == FileRefusal::Missing)
        throw cannotOpen;
    throw AppError(cannotOpen.message() + QStringLiteral(": ") + refusalReason(why, kTextFileLimit));
}
