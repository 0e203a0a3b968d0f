// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QDialog;

enum class MessageIcon { Information, Error, Confirmation, Warning };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Modal results of the program's dialogs.
namespace ModalResult {
constexpr int None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5;
}

struct MessageRequest {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

// Everything the program shows modally goes through here, so that tests can answer it.
// File filters are given in the "caption|patterns|caption|patterns" form.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageAnswer showMessage(const MessageRequest &request) = 0;
    virtual std::optional<QString> chooseFolder(const QString &title, const QString &start) = 0;
    virtual std::optional<QString> askText(const QString &caption, const QString &label, const QString &initial) = 0;
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
    virtual std::optional<QString> openFile(const QString &filter, const QString &startFolder) = 0;
    virtual std::optional<QString> saveFile(const QString &filter, const QString &defaultExtension) = 0;
    // Shows one of the program's own dialogs modally and returns its modal result.
    virtual int runDialog(QDialog &dialog) = 0;

    MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok)
    {
        ++m_messagesShown;
        m_lastMessage = text;
        return showMessage({QStringLiteral("Glyvanta"), text, icon, buttons});
    }
    // How many messages message() has shown, and the last one: a caller can tell whether what it
    // ran has already told the user.
    int messagesShown() const { return m_messagesShown; }
    const QString &lastMessage() const { return m_lastMessage; }

private:
    int m_messagesShown = 0;
    QString m_lastMessage;
};

// "TrueType (*.ttf)|*.ttf;*.001|..." as a Qt filter list.
QString qtFileFilter(const QString &filter);
