// SPDX-License-Identifier: MIT
#include "TOverwritePromt.h"

#include "FileTransfer.h"
#include "NativePaths.h"
#include "Prompter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
// Read from the file's entry, not by opening it: a FIFO would block the open.
QString lineOf(const QString &path)
{
    const std::optional<PathInfo> info = pathInfo(path);
    if (!info)
        return QString();
    return sizeAndTimeLine(info->size, info->lastWrite);
}
}

TOverwritePromt::TOverwritePromt(Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("TOverwritePromt"));
    setWindowTitle(QStringLiteral("Overwrite"));
    auto *layout = new QVBoxLayout(this);
    auto label = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(380);
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    FileFrom = label("FileFrom");
    InfoFrom = label("InfoFrom");
    FileTo = label("FileTo");
    InfoTo = label("InfoTo");
    for (QLabel *l : {FileFrom, InfoFrom, FileTo, InfoTo})
        layout->addWidget(l);
    auto *buttons = new QHBoxLayout;
    Overwrite = new QPushButton(QStringLiteral("Overwrite"), this);
    Skip = new QPushButton(QStringLiteral("Skip"), this);
    Rename = new QPushButton(QStringLiteral("Rename"), this);
    Overwrite->setObjectName(QStringLiteral("Overwrite"));
    Skip->setObjectName(QStringLiteral("Skip"));
    Rename->setObjectName(QStringLiteral("Rename"));
    Overwrite->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(Overwrite);
    buttons->addWidget(Skip);
    buttons->addWidget(Rename);
    layout->addLayout(buttons);
    connect(Overwrite, &QPushButton::clicked, this, [this] { done(5); });
    connect(Skip, &QPushButton::clicked, this, [this] { done(3); });
    connect(Rename, &QPushButton::clicked, this, [this] { done(4); });
}

void TOverwritePromt::setFiles(const QString &existing, const QString &incoming)
{
    FileFrom->setText(QStringLiteral("Overwrite: ") + displayPath(existing));
    FileFrom->setToolTip(FileFrom->text());
    InfoFrom->setText(lineOf(existing));
    FileTo->setText(QStringLiteral("With file: ") + displayPath(incoming) + QLatin1Char('?'));
    FileTo->setToolTip(FileTo->text());
    InfoTo->setText(lineOf(incoming));
    Overwrite->setFocus();
}

int TOverwritePromt::AskOverwrite(const QString &existing, const QString &incoming)
{
    setFiles(existing, incoming);
    return m_prompter.runDialog(*this);
}
