#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include <QDialog>
#include <QString>
#include <gtest/gtest.h>

#include "platform/gui/Prompts.h"

// Prompts answered from a script: each question takes the next queued answer,
// and every box shown is recorded. A question with nothing queued fails the
// test and is answered as if the person cancelled.
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Error, Warning, Information, Confirm };
    struct Message {
        Kind kind;
        QString text;
    };
    struct Query {
        QString caption, prompt, defaultText;
    };
    // For an open dialog, fileName is the folder it opens in.
    struct FileRequest {
        QString fileName, filter, defaultExt;
        bool confirmOverwrite = false;
    };

    ScriptedPrompts() : previous_(installPrompts(this)) {}
    ~ScriptedPrompts() override { installPrompts(previous_); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // The script.
    void answerConfirm(bool yes) { confirms_.push_back(yes); }
    void answerQuery(std::optional<QString> text) { queries_.push_back(std::move(text)); }
    void answerFile(QString name) { files_.push_back(std::move(name)); }
    // filler sets the dialog's controls and returns true for OK, false for Cancel.
    void answerDialog(std::function<bool(QDialog&)> filler) { dialogs_.push_back(std::move(filler)); }

    // What was shown.
    std::vector<Message> messages;
    std::vector<Query> queriesShown;
    std::vector<FileRequest> filesShown;
    std::vector<QDialog*> dialogsShown;

    std::vector<QString> errors() const
    {
        std::vector<QString> out;
        for (const auto& m : messages)
            if (m.kind == Kind::Error)
                out.push_back(m.text);
        return out;
    }

    bool scriptUsedUp() const
    {
        return confirms_.empty() && queries_.empty() && files_.empty() && dialogs_.empty();
    }

    void error(const QString& text) override { messages.push_back({Kind::Error, text}); }
    void warning(const QString& text) override { messages.push_back({Kind::Warning, text}); }
    void information(const QString& text) override { messages.push_back({Kind::Information, text}); }

    bool confirm(const QString& text) override
    {
        messages.push_back({Kind::Confirm, text});
        if (confirms_.empty()) {
            ADD_FAILURE() << "unexpected confirmation: " << text.toStdString();
            return false;
        }
        bool yes = confirms_.front();
        confirms_.pop_front();
        return yes;
    }

    bool inputQuery(const QString& caption, const QString& prompt, QString& text) override
    {
        queriesShown.push_back({caption, prompt, text});
        if (queries_.empty()) {
            ADD_FAILURE() << "unexpected input query: " << caption.toStdString();
            return false;
        }
        std::optional<QString> answer = queries_.front();
        queries_.pop_front();
        if (!answer)
            return false;
        text = *answer;
        return true;
    }

    QString openFileName(const QString& filter, const QString& folder) override
    {
        filesShown.push_back({folder, filter, QString()});
        return nextFile();
    }

    QString saveFileName(const QString& fileName, const QString& filter, const QString& defaultExt,
                         bool confirmOverwrite) override
    {
        filesShown.push_back({fileName, filter, defaultExt, confirmOverwrite});
        return nextFile();
    }

    bool runModal(QDialog& dialog) override
    {
        dialogsShown.push_back(&dialog);
        if (dialogs_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << dialog.objectName().toStdString();
            return false;
        }
        auto filler = std::move(dialogs_.front());
        dialogs_.pop_front();
        return filler(dialog);
    }

private:
    QString nextFile()
    {
        if (files_.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return {};
        }
        QString name = files_.front();
        files_.pop_front();
        return name;
    }

    Prompts* previous_;
    std::deque<bool> confirms_;
    std::deque<std::optional<QString>> queries_;
    std::deque<QString> files_;
    std::deque<std::function<bool(QDialog&)>> dialogs_;
};
