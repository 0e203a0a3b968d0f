// SPDX-License-Identifier: MIT
#include "ConsolePrompter.h"

#include <QTextStream>

ConsolePrompter::ConsolePrompter(QTextStream &err)
    : m_err(err)
{
}

void ConsolePrompter::print(const QString &text)
{
    m_err << "glyvanta: ";
    if (!m_subject.isEmpty())
        m_err << m_subject << ": ";
    m_err << text << '\n';
    m_err.flush();
}

MessageAnswer ConsolePrompter::showMessage(const MessageRequest &request)
{
    if (request.buttons == MessageButtons::YesNo) {
        print(request.text + QStringLiteral(" -> Yes"));
        return MessageAnswer::Yes;
    }
    print(request.text);
    return MessageAnswer::Ok;
}

std::optional<QString> ConsolePrompter::chooseFolder(const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompter::askText(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QColor> ConsolePrompter::chooseColor(const QColor &)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompter::openFile(const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompter::saveFile(const QString &, const QString &)
{
    return std::nullopt;
}

int ConsolePrompter::runDialog(QDialog &)
{
    return ModalResult::Cancel;
}
