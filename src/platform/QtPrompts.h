#pragma once

#include "platform/Prompts.h"

#include <QStringList>

class QPrinter;

namespace platform {

// Message boxes, file and printer dialogs of the window system.
class QtPrompts : public Prompts {
public:
    void Beep() override;
    void Message(const QString& text, const QString& title, Icon icon) override;
    bool AskYesNo(const QString& text, const QString& title, Icon icon) override;
    Answer AskYesNoCancel(const QString& text, const QString& title, Icon icon) override;
    std::optional<FileDialogResult> OpenFile(const FileDialogRequest& req) override;
    std::optional<FileDialogResult> SaveFile(const FileDialogRequest& req) override;
    bool PrintDialog(int& copies) override;
    bool PrinterSetupDialog() override;
    void SetBusy(bool busy) override;

private:
    std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& req, bool save);
    bool busy_ = false;
};

// "Power data|*.pwr|All files|*.*" -> {"Power data (*.pwr)", "All files (*.*)"}.
// Patterns separated by ';' become Qt's blank-separated list; a description
// that already ends with its pattern in parentheses is kept as it is.
QStringList DialogFilters(const QString& filter);

// The 1-based index of `chosen` among `filters`; 1 when it is not there.
int FilterIndex(const QStringList& filters, const QString& chosen);

// The session printer the print dialogs set up (platform::printer()); nullptr when
// the system has no printer (the printout then goes to a PDF).
QPrinter* SelectedPrinter();

}  // namespace platform
