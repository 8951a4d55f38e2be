#include "auxiliary/TerminalWindow.h"

#include "auxiliary/TerminalEditor.h"
#include "link/LinkState.h"
#include "link/PortControl.h"
#include "link/Transaction.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "state/AppState.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QVBoxLayout>

TerminalText::TerminalText(TerminalWindow* owner) : QPlainTextEdit(owner), owner_(owner) {
    setObjectName("Text1");
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(fontMetrics().horizontalAdvance(' ') * 4);
}

void TerminalText::keyPressEvent(QKeyEvent* e) {
    if (!owner_->Text1_KeyPress(e)) QPlainTextEdit::keyPressEvent(e);
}

TerminalWindow::TerminalWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("TerminalWindow");
    setWindowTitle("Terminal");
    Text1 = new TerminalText(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    resize(560, 360);
}

void TerminalWindow::Terminal(int op, QString& text) {
    switch (op) {
        case -1:
            Connect();  // opens the port if it is not open yet
            Text1->show();
            Link().TerminalReady = true;
            Text1->clear();
            if (parentWidget()) parentWidget()->show();
            show();
            Text1->setFocus();
            break;
        case 0: {
            Text1->setPlainText(AppendTerminalReply(Text1->toPlainText(), text));
            QTextCursor c = Text1->textCursor();
            c.movePosition(QTextCursor::End);
            Text1->setTextCursor(c);
            Text1->ensureCursorVisible();
            Link().TerminalReady = true;
            break;
        }
        case 1:
            Link().TerminalReady = false;
            Text1->hide();
            hide();
            if (parentWidget()) parentWidget()->hide();
            break;
        default:
            break;
    }
}

bool TerminalWindow::Text1_KeyPress(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        Form_Unload();
        return true;
    }
    // One command in flight: every key waits for its reply.
    if (!Link().TerminalReady) return true;
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;

    const QTextCursor cursor = Text1->textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    const TerminalEdit edit =
        TerminalEnter(Text1->toPlainText(), cursor.position(), selected, LastTerminalCommand);
    if (edit.text != Text1->toPlainText()) Text1->setPlainText(edit.text);
    QTextCursor c = Text1->textCursor();
    c.setPosition(qMin(edit.caret, int(edit.text.size())));
    Text1->setTextCursor(c);
    Text1->ensureCursorVisible();
    if (edit.beep) {
        platform::prompts().Beep();
        return true;
    }
    if (selected > 0) return true;
    if (!edit.command.isEmpty()) {
        LastTerminalCommand = edit.command;
        Link().TerminalReady = false;
        SendCommand(platform::serialPort(), edit.command, 7, true);
    }
    return true;
}

void TerminalWindow::Form_Unload() {
    if (unloading_) return;
    unloading_ = true;
    Text1->clear();
    hide();
    if (parentWidget()) parentWidget()->hide();
    if (App().Shell.SwitchMode) App().Shell.SwitchMode(ModeNone);
    unloading_ = false;
}

void TerminalWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    Form_Unload();
}

void TerminalMode::Begin() {
    QString none;
    window_().Terminal(-1, none);
}

void TerminalMode::End() {
    QString none;
    window_().Terminal(1, none);
}
