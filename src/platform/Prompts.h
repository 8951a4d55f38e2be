#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Answer { Yes, No, Cancel };

struct FileDialogRequest {
    QString title;
    QString filter;       // "Power data (*.pwr)|*.pwr|..." pairs, '|' separated
    int filterIndex = 1;  // 1-based
    QString fileName;     // initial name
    bool overwritePrompt = false;
    bool fileMustExist = false;
    QString defaultSuffix;  // added to a chosen name without an extension
};

struct FileDialogResult {
    QString fileName;
    int filterIndex = 1;
};

// Everything that asks the user or tells the user something modally.
// The test double records every text and answers from a script.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual void Beep() = 0;
    virtual void Message(const QString& text, const QString& title = QString(), Icon icon = Icon::None) = 0;
    virtual bool AskYesNo(const QString& text, const QString& title, Icon icon = Icon::Question) = 0;
    // Yes, No and Cancel; where Cancel cannot be offered, the Yes/No question.
    virtual Answer AskYesNoCancel(const QString& text, const QString& title, Icon icon = Icon::Question) {
        return AskYesNo(text, title, icon) ? Answer::Yes : Answer::No;
    }
    // Empty optional when the user cancels.
    virtual std::optional<FileDialogResult> OpenFile(const FileDialogRequest& req) = 0;
    virtual std::optional<FileDialogResult> SaveFile(const FileDialogRequest& req) = 0;
    // The print dialog: false when cancelled; copies is in/out.
    virtual bool PrintDialog(int& copies) = 0;
    virtual bool PrinterSetupDialog() = 0;
    // The busy mouse pointer.
    virtual void SetBusy(bool busy) = 0;
};

Prompts& prompts();
void setPrompts(Prompts* p);  // nullptr restores the Qt prompts

}  // namespace platform
