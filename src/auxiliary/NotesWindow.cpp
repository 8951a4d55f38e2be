#include "auxiliary/NotesWindow.h"

#include "auxiliary/NotesText.h"
#include "data/WorkFile.h"
#include "platform/Surface.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

NotesWindow::NotesWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("NotesWindow");
    setWindowTitle("Notes");
    Label1 =
        new QLabel("Add your notes to the window below.  This will be saved within the data file.", this);
    Label1->setWordWrap(true);
    txtboxNotes = new QPlainTextEdit(this);
    txtboxNotes->setObjectName("txtboxNotes");
    butClose = new QPushButton("&Close", this);
    butClose->setObjectName("butClose");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(txtboxNotes, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(butClose);
    layout->addLayout(row);
    resize(480, 300);
    connect(butClose, &QPushButton::clicked, this, &NotesWindow::butClose_Click);
}

void NotesWindow::Activate() {
    txtboxNotes->setFocus();
    exec();
}

void NotesWindow::butClose_Click() {
    txtboxNotes->setFocus();
    hide();
}

void NotesWindow::ClearNotesBox() {
    txtboxNotes->clear();
}

void NotesWindow::AppendNotesBox(const QString& text) {
    QString all = NotesText() + text;
    all.replace("\r\n", "\n");
    // Laying out a long run without blanks at word boundaries takes time
    // that grows with its square; such notes break anywhere instead.
    txtboxNotes->setWordWrapMode(LongestUnbrokenRun(all) > kWordWrapRun
                                     ? QTextOption::WrapAnywhere
                                     : QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtboxNotes->setPlainText(all);
}

QString NotesWindow::NotesText() const {
    QString t = txtboxNotes->toPlainText();
    t.replace("\n", "\r\n");
    return t;
}

void NotesWindow::SaveNotesBox() {
    for (const QString& line : NotesFileLines(NotesText())) WorkFile(3, line);
}

void NotesWindow::PrintNotesBox(platform::Surface& page) {
    const QStringList lines = NotesPrintLines(NotesText());
    for (int k = 0; k < lines.size(); ++k) {
        page.SetCurrentX(80);
        page.SetCurrentY(15 + 5 * k);
        page.Print(lines[k]);
    }
}

NotesWindow& Notes() {
    static NotesWindow* notes = new NotesWindow;
    return *notes;
}

void SaveNotes() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) Notes().SaveNotesBox();
}
