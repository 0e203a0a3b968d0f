// SPDX-License-Identifier: MIT
#include "GlyvantaApplication.h"

#include "AppError.h"
#include "Prompter.h"

GlyvantaApplication::GlyvantaApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Glyvanta"));
    setApplicationDisplayName(QStringLiteral("Glyvanta"));
}

bool GlyvantaApplication::notify(QObject *receiver, QEvent *event)
{
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError &error) {
        message = error.message();
    } catch (const std::exception &error) {
        message = QString::fromLocal8Bit(error.what());
    }
    if (m_prompter)
        m_prompter->message(message, MessageIcon::Error);
    return false;
}
