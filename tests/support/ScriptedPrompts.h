#pragma once

#include "platform/Prompts.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <deque>

// Records every message and question; answers from queues the test fills (a question with no
// scripted answer is answered No, a file dialog with none cancelled). Installed for its lifetime.
class ScriptedPrompts : public platform::Prompts {
public:
    struct Shown {
        QString text, title;
        platform::Icon icon;
    };

    ScriptedPrompts() { platform::setPrompts(this); }
    ~ScriptedPrompts() override {
        EXPECT_TRUE(busyLog.empty() || !busyLog.back()) << "the busy pointer was left on";
        EXPECT_TRUE(yesNoAnswers.empty() && answers.empty() && fileAnswers.empty() && copiesAnswers.empty())
            << "an answer was scripted for a question never asked";
        platform::setPrompts(nullptr);
    }

    void Beep() override { ++beeps; }
    void Message(const QString& text, const QString& title, platform::Icon icon) override {
        messages.push_back({text, title, icon});
    }
    bool AskYesNo(const QString& text, const QString& title, platform::Icon icon) override {
        questions.push_back({text, title, icon});
        return Next(yesNoAnswers, false);
    }
    // From `answers` while it holds any, else Yes/No from `yesNoAnswers`.
    platform::Answer AskYesNoCancel(const QString& text, const QString& title, platform::Icon icon) override {
        if (answers.empty()) return Prompts::AskYesNoCancel(text, title, icon);
        questions.push_back({text, title, icon});
        return Next(answers, platform::Answer::No);
    }
    std::optional<platform::FileDialogResult> OpenFile(const platform::FileDialogRequest& req) override {
        return FileAnswer(req);
    }
    std::optional<platform::FileDialogResult> SaveFile(const platform::FileDialogRequest& req) override {
        return FileAnswer(req);
    }
    bool PrintDialog(int& copies) override {
        const int c = Next(copiesAnswers, copies);  // none scripted: the copies stay
        if (c >= 0) copies = c;
        return c >= 0;
    }
    bool PrinterSetupDialog() override { return true; }
    void SetBusy(bool busy) override { busyLog.push_back(busy); }

    QStringList Texts() const {  // message and question texts, in order
        QStringList out;
        for (const auto& m : messages) out << m.text;
        for (const auto& q : questions) out << q.text;
        return out;
    }

    int beeps = 0;
    std::vector<Shown> messages;
    std::vector<Shown> questions;
    std::vector<platform::FileDialogRequest> fileRequests;
    std::vector<bool> busyLog;
    std::deque<bool> yesNoAnswers;
    std::deque<platform::Answer> answers;
    std::deque<QString> fileAnswers;  // empty string = cancel
    std::deque<int> copiesAnswers;    // -1 = cancel the print dialog

private:
    template <class T>
    static T Next(std::deque<T>& queue, T otherwise) {
        if (queue.empty()) return otherwise;
        T a = queue.front();
        queue.pop_front();
        return a;
    }
    std::optional<platform::FileDialogResult> FileAnswer(const platform::FileDialogRequest& req) {
        fileRequests.push_back(req);
        const QString name = Next(fileAnswers, QString());
        return name.isEmpty() ? std::nullopt
                              : std::optional(platform::FileDialogResult{name, req.filterIndex});
    }
};
