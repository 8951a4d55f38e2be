#pragma once

#include "platform/Prompts.h"

#include <QStringList>
#include <deque>
#include <functional>

// Records every message and question; answers from queues the test fills.
// A question with no scripted answer is answered No; a file dialog with no
// scripted name is cancelled. It installs itself for its lifetime.
class ScriptedPrompts : public platform::Prompts {
public:
    struct Shown {
        QString text, title;
        platform::Icon icon;
    };

    ScriptedPrompts() { platform::setPrompts(this); }
    ~ScriptedPrompts() override { platform::setPrompts(nullptr); }

    void Beep() override { ++beeps; }
    void Message(const QString& text, const QString& title, platform::Icon icon) override {
        messages.push_back({text, title, icon});
        if (onMessage) onMessage(messages.back());
    }
    bool AskYesNo(const QString& text, const QString& title, platform::Icon icon) override {
        questions.push_back({text, title, icon});
        return Next(yesNoAnswers, false);
    }
    std::optional<platform::FileDialogResult> OpenFile(const platform::FileDialogRequest& req) override {
        return FileAnswer(req);
    }
    std::optional<platform::FileDialogResult> SaveFile(const platform::FileDialogRequest& req) override {
        return FileAnswer(req);
    }
    bool PrintDialog(int& copies) override {
        if (copiesAnswers.empty()) return true;
        const int c = Next(copiesAnswers, 0);
        if (c < 0) return false;
        copies = c;
        return true;
    }
    bool PrinterSetupDialog() override { return printerSetupAnswer; }
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
    std::deque<QString> fileAnswers;  // empty string = cancel
    std::deque<int> copiesAnswers;    // -1 = cancel the print dialog
    bool printerSetupAnswer = true;
    // Called when a message is shown (to act while the "modal box" is up).
    std::function<void(const Shown&)> onMessage;

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
        if (name.isEmpty()) return std::nullopt;
        return platform::FileDialogResult{name, req.filterIndex};
    }
};
