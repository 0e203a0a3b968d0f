// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>

class Prompter;

// Errors that escape an event handler are shown in a message box and the program goes on.
class GlyvantaApplication : public QApplication {
public:
    GlyvantaApplication(int &argc, char **argv);
    void setErrorPrompter(Prompter *prompter) { m_prompter = prompter; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    Prompter *m_prompter = nullptr;
};
