// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;

namespace AboutLinks {
inline const QString Website = QStringLiteral("https://glyvanta.example.org/?from=about");
inline const QString Mail = QStringLiteral("mailto:support@glyvanta.example.org");
}

// "About Glyvanta ver. 2.4": the program's artwork, its web site and mail address.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Website;
    QLabel *Label2;
    QLabel *EMail;
    QPushButton *BtnOK;

signals:
    // No program took the address of a link.
    void openFailed(const QUrl &url);

protected:
    void paintEvent(QPaintEvent *event) override;
};
