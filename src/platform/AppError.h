// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <stdexcept>

// An error that reaches the general error handler: the message is shown as it stands.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

    // Builds a message from one of the framework's "%s" texts.
    static AppError withArg(const QString &format, const QString &arg)
    {
        QString text = format;
        return AppError(text.replace(QStringLiteral("%s"), arg));
    }

private:
    QString m_message;
};

namespace messages {
inline const QString CannotOpenFile = QStringLiteral("Cannot open file %s");
inline const QString CannotCreateFile = QStringLiteral("Cannot create file %s");
inline const QString FailedToSetData = QStringLiteral("Failed to set data for '%s'");
inline const QString FailedToGetData = QStringLiteral("Failed to get data for '%s'");
inline const QString InvalidDataType = QStringLiteral("Invalid data type for '%s'");
inline const QString NotAnInteger = QStringLiteral("'%s' is not a valid integer value");
}
