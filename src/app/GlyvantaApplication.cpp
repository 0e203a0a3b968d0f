// SPDX-License-Identifier: MIT
#include "GlyvantaApplication.h"

#include "AppError.h"
#include "FontFamilies.h"
#include "Prompter.h"

#include <QFontDatabase>

GlyvantaApplication::GlyvantaApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Glyvanta"));
    setApplicationDisplayName(QStringLiteral("Glyvanta"));
    // Before the toolkit first lists its fonts: then it lists only those the window needs.
    confineToolkitFonts({font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
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
