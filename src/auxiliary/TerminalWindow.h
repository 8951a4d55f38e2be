#pragma once

#include "state/Mode.h"

#include <QPlainTextEdit>
#include <QWidget>
#include <functional>

class TerminalWindow;

// The dialogue area: every key goes through the terminal's line editor.
class TerminalText : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TerminalText(TerminalWindow* owner);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    TerminalWindow* owner_;
};

// Raw commands typed by the user, replies shown indented by a tab.
class TerminalWindow : public QWidget {
    Q_OBJECT
public:
    explicit TerminalWindow(QWidget* parent = nullptr);

    // op -1 start, 0 a reply line in `text`, 1 stop.
    void Terminal(int op, QString& text);
    // Returns true when the key was consumed here.
    bool Text1_KeyPress(QKeyEvent* e);
    void Form_Unload();

    TerminalText* Text1;
    QString LastTerminalCommand;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    bool unloading_ = false;
};

// The terminal as a mode: the window is made when the mode is first entered.
class TerminalMode final : public Mode {
public:
    explicit TerminalMode(std::function<TerminalWindow&()> window) : window_(std::move(window)) {}
    ModeTraits Traits(int16_t) const override { return {}; }
    void Begin() override;
    void Reply(QString& line) override { window_().Terminal(0, line); }
    void End() override;

private:
    std::function<TerminalWindow&()> window_;
};
