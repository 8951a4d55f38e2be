#pragma once

#include <QDialog>

class QPlainTextEdit;
class QLabel;
class QPushButton;

namespace platform {
class Surface;
}

// The notes the user attaches to the data of the current mode. Lives from
// one mode switch to the next; closing the window only hides it.
class NotesWindow : public QDialog {
    Q_OBJECT
public:
    explicit NotesWindow(QWidget* parent = nullptr);

    void Activate();  // show modally
    void ClearNotesBox();
    void AppendNotesBox(const QString& text);  // appended unchanged
    void SaveNotesBox();                       // into the working file being written
    void PrintNotesBox(platform::Surface& page);

    // The notes with CR LF line breaks, as the files carry them.
    QString NotesText() const;

    QLabel* Label1;
    QPlainTextEdit* txtboxNotes;
    QPushButton* butClose;

private:
    void butClose_Click();
};

// The one notes window of the program, created on first use.
NotesWindow& Notes();

// The notes into the working file being written, as a logging mode's Save
// adds them; a program without windows (the headless run) has none to add.
void SaveNotes();
