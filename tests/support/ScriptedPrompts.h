#pragma once

#include "platform/Prompts.h"

#include <QStringList>
#include <deque>
#include <functional>

// Records every message and question; answers from queues the test fills.
// A question with no scripted answer is answered No; a file dialog with no
// scripted name is cancelled.
class ScriptedPrompts : public platform::Prompts {
public:
    struct Shown {
        QString text, title;
        platform::Icon icon;
    };

    ScriptedPrompts();  // installs itself
    ~ScriptedPrompts() override;

    void Beep() override { ++beeps; }
    void Message(const QString& text, const QString& title, platform::Icon icon) override;
    bool AskYesNo(const QString& text, const QString& title, platform::Icon icon) override;
    std::optional<platform::FileDialogResult> OpenFile(const platform::FileDialogRequest& req) override;
    std::optional<platform::FileDialogResult> SaveFile(const platform::FileDialogRequest& req) override;
    bool PrintDialog(int& copies) override;
    bool PrinterSetupDialog() override { return printerSetupAnswer; }
    void SetBusy(bool busy) override { busyLog.push_back(busy); }

    QStringList Texts() const;  // message and question texts, in order

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
};
