// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <stdexcept>

// The component's own error: an id, whether it is shown in a box when caught, and up to two
// arguments. Without a message table the text is one of the fixed fallbacks.
class EZipKit : public std::runtime_error {
public:
    EZipKit(int id, bool showBox);
    EZipKit(int id, int number);
    EZipKit(int id, const QString &first);
    EZipKit(int id, const QString &first, const QString &second);

    const QString &message() const { return m_message; }
    bool ShowBox;
    int MessageId;
    QString FirstArg;
    QString SecondArg;

private:
    QString m_message;
};

// A cancelled run.
class EZipKitAbort : public EZipKit {
public:
    EZipKitAbort() : EZipKit(11007, false) {}
};

// The last message the component told, and how many boxes it has shown so far (so that a caller
// can tell whether a failure has been told).
struct ZipMessageState {
    int ErrCode = 0;
    QString LastMessage;
    int ShownMessageCount = 0;
};

namespace ZipText {
inline const QString MissingText = QStringLiteral("The message table is probably not linked to the executable\nMissing String ID is: ");
// The message table: empty for every specified id, so each falls back to the texts above; only
// the ids below, which the component added later, have texts.
QString tableText(int id);
constexpr int JoinWriteError = 10505;   // the joined copy of a split archive could not be written
constexpr int EntryRefused = 10506;     // an entry refused before extraction: raised with the reason and ""
}
