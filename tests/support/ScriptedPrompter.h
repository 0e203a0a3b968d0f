// SPDX-License-Identifier: MIT
#pragma once

#include "Prompter.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

// Answers every prompt from a script and records it. A prompt nobody scripted fails the test,
// and so does a scripted answer that nobody asked for.
class ScriptedPrompter final : public Prompter {
public:
    using DialogScript = std::function<int(QDialog &)>;

    ~ScriptedPrompter() override
    {
        EXPECT_TRUE(m_answers.empty()) << "scripted message answers were never asked for";
        EXPECT_TRUE(m_texts.empty()) << "scripted texts were never asked for";
        EXPECT_TRUE(m_folders.empty()) << "scripted folders were never asked for";
        EXPECT_TRUE(m_files.empty()) << "scripted files were never asked for";
        EXPECT_TRUE(m_colors.empty()) << "scripted colours were never asked for";
        EXPECT_TRUE(m_dialogs.empty()) << "scripted dialogs were never shown";
    }

    void willAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    void willEnterText(std::optional<QString> text) { m_texts.push_back(std::move(text)); }
    void willChooseFolder(std::optional<QString> folder) { m_folders.push_back(std::move(folder)); }
    void willChooseFile(std::optional<QString> file) { m_files.push_back(std::move(file)); }
    void willChooseColor(std::optional<QColor> color) { m_colors.push_back(std::move(color)); }
    void willRunDialog(DialogScript script) { m_dialogs.push_back(std::move(script)); }

    const std::vector<MessageRequest> &messages() const { return m_messages; }
    struct Asked {
        QString kind;
        QString caption;
        QString label;
        QString initial;
    };
    const std::vector<Asked> &asked() const { return m_asked; }
    void clear() { m_messages.clear(); m_asked.clear(); }

    MessageAnswer showMessage(const MessageRequest &request) override
    {
        m_messages.push_back(request);
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected message: " << request.text.toStdString();
            return MessageAnswer::Cancel;
        }
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    std::optional<QString> chooseFolder(const QString &title, const QString &start) override
    {
        m_asked.push_back({QStringLiteral("folder"), title, {}, start});
        return take(m_folders, "folder picker");
    }
    std::optional<QString> askText(const QString &caption, const QString &label, const QString &initial) override
    {
        m_asked.push_back({QStringLiteral("text"), caption, label, initial});
        return take(m_texts, "input prompt");
    }
    std::optional<QColor> chooseColor(const QColor &initial) override
    {
        m_asked.push_back({QStringLiteral("color"), {}, {}, initial.name()});
        return take(m_colors, "colour picker");
    }
    std::optional<QString> openFile(const QString &filter, const QString &start) override
    {
        m_asked.push_back({QStringLiteral("open"), filter, {}, start});
        return take(m_files, "open dialog");
    }
    std::optional<QString> saveFile(const QString &filter, const QString &defaultExtension) override
    {
        m_asked.push_back({QStringLiteral("save"), filter, {}, defaultExtension});
        return take(m_files, "save dialog");
    }
    int runDialog(QDialog &dialog) override
    {
        if (m_dialogs.empty()) {
            ADD_FAILURE() << "unexpected dialog";
            return ModalResult::Cancel;
        }
        DialogScript script = std::move(m_dialogs.front());
        m_dialogs.pop_front();
        return script(dialog);
    }

private:
    template<typename T>
    T take(std::deque<T> &queue, const char *what)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return T{};
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }

    std::deque<MessageAnswer> m_answers;
    std::deque<std::optional<QString>> m_texts;
    std::deque<std::optional<QString>> m_folders;
    std::deque<std::optional<QString>> m_files;
    std::deque<std::optional<QColor>> m_colors;
    std::deque<DialogScript> m_dialogs;
    std::vector<MessageRequest> m_messages;
    std::vector<Asked> m_asked;
};

// The text of the last message shown, or "(no message)".
inline QString lastMessage(const ScriptedPrompter &prompter)
{
    return prompter.messages().empty() ? QStringLiteral("(no message)") : prompter.messages().back().text;
}
