#pragma once

#include <QPlainTextEdit>
#include <QWidget>

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
