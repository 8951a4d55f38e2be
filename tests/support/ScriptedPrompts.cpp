#include "ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts() {
    platform::setPrompts(this);
}
ScriptedPrompts::~ScriptedPrompts() {
    platform::setPrompts(nullptr);
}

void ScriptedPrompts::Message(const QString& text, const QString& title, platform::Icon icon) {
    messages.push_back({text, title, icon});
    if (onMessage) onMessage(messages.back());
}

bool ScriptedPrompts::AskYesNo(const QString& text, const QString& title, platform::Icon icon) {
    questions.push_back({text, title, icon});
    if (yesNoAnswers.empty()) return false;
    bool a = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return a;
}

static std::optional<platform::FileDialogResult> next(std::deque<QString>& q,
                                                      const platform::FileDialogRequest& req) {
    if (q.empty()) return std::nullopt;
    QString name = q.front();
    q.pop_front();
    if (name.isEmpty()) return std::nullopt;
    return platform::FileDialogResult{name, req.filterIndex};
}

std::optional<platform::FileDialogResult> ScriptedPrompts::OpenFile(const platform::FileDialogRequest& req) {
    fileRequests.push_back(req);
    return next(fileAnswers, req);
}

std::optional<platform::FileDialogResult> ScriptedPrompts::SaveFile(const platform::FileDialogRequest& req) {
    fileRequests.push_back(req);
    return next(fileAnswers, req);
}

bool ScriptedPrompts::PrintDialog(int& copies) {
    if (copiesAnswers.empty()) return true;
    int c = copiesAnswers.front();
    copiesAnswers.pop_front();
    if (c < 0) return false;
    copies = c;
    return true;
}

QStringList ScriptedPrompts::Texts() const {
    QStringList out;
    for (const auto& m : messages) out << m.text;
    for (const auto& q : questions) out << q.text;
    return out;
}
