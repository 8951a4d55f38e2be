#pragma once

#include "platform/Prompts.h"

namespace platform {

// Prompts that tell nobody and ask nobody: messages vanish, questions are
// answered No, dialogs are cancelled. For work that must not wait for a
// user (an end asked for from outside; fuzzing and benchmarks).
class SilentPrompts : public Prompts {
public:
    void Beep() override {}
    void Message(const QString&, const QString&, Icon) override {}
    bool AskYesNo(const QString&, const QString&, Icon) override { return false; }
    std::optional<FileDialogResult> OpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<FileDialogResult> SaveFile(const FileDialogRequest&) override { return {}; }
    bool PrintDialog(int&) override { return false; }
    bool PrinterSetupDialog() override { return false; }
    void SetBusy(bool) override {}
};

}  // namespace platform
