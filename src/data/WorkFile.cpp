#include "data/WorkFile.h"

#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "state/Files.h"
#include "state/StateReset.h"

#include <QFile>
#include <QFileInfo>

namespace {

int16_t g_number = 0;          // open working file, 0 when none
QString g_path;                // its absolute path
bool g_openedThisRun = false;  // a working file was opened since start
bool g_failed = false;         // see WorkFileFailed

QString AbsolutePath(const QString& name) {
    return QFileInfo(name).absoluteFilePath();
}

void CloseCurrent() {
    if (g_number != 0) CloseFile(g_number);
    // Back to 0 so a late write cannot reach a file number reused elsewhere.
    g_number = 0;
}

void Open(const QString& name, int mode) {
    CloseCurrent();
    g_number = OpenFile(name, mode);
    g_failed = g_number == 0;
    if (g_number != 0) {
        g_openedThisRun = true;
        g_path = AbsolutePath(name);
    }
}

}  // namespace

void WorkFile(int op, const QString& text) {
    switch (op) {
        case 0:
            Open(text, FileWrite);
            break;
        case 1:
            Open(text, FileAppend);
            break;
        case 2:
            CloseCurrent();
            break;
        case 3:
            if (g_number != 0 && !WriteLine(g_number, text)) g_failed = true;
            break;
        case 5:
            Open(text, FileReplaceWhole);
            break;
        case 4:
            if (g_openedThisRun && FileExists(text)) {
                if (g_number != 0 && AbsolutePath(text) == g_path)
                    CloseCurrent();  // never pull an open file away
                QFile::remove(text);
            }
            break;
        default:
            break;
    }
}

bool WorkFileCommit() {
    if (g_number == 0) return false;
    const bool ok = CommitFile(g_number) && !g_failed;
    g_number = 0;
    if (!ok) g_failed = true;
    return ok;
}

void WorkFileWriteBytes(const QByteArray& bytes) {
    if (g_number != 0 && !WriteBytes(g_number, bytes)) g_failed = true;
}

int16_t WorkFileNumber() {
    return g_number;
}

bool WorkFileFailed() {
    return g_failed;
}

void ResetWorkFile() {
    CloseCurrent();
    g_openedThisRun = false;
    g_failed = false;
}

void WorkFileRun::Begin(const QString& path, const QString& header) {
    path_ = path;
    failed_ = false;
    Write(0, header);
}

void WorkFileRun::Append(const QString& line) {
    Write(1, line);
}

bool WorkFileRun::Complete() const {
    return CurrentSettings().LogToFile && !failed_;
}

void WorkFileRun::Write(int openOp, const QString& line) {
    if (!Complete()) return;
    WorkFile(openOp, path_);
    const bool opened = WorkFileNumber() != 0;
    WorkFile(3, line);
    WorkFile(2, QString());
    if (!WorkFileFailed()) return;
    failed_ = true;
    // A failed open has shown its own message.
    if (opened)
        platform::prompts().Message(QStringLiteral("Writing the data log file ") + path_ +
                                    QStringLiteral(" failed. Data Log File is switched off."));
    ShellHooks& shell = App().Shell;
    if (shell.SetDataLogFile)
        shell.SetDataLogFile(false);
    else
        CurrentSettings().LogToFile = false;
}

void BlockLines::Add(const QString& line) {
    if (lines_++ > 0) block_ += QStringLiteral("\r\n");
    block_ += line;
    if (lines_ == 1000) Flush();
}

void BlockLines::Flush() {
    if (lines_ == 0) return;
    WorkFile(3, block_);
    block_.clear();
    lines_ = 0;
}

namespace {
const ResetWithProgramState kReset{&ResetWorkFile};
}  // namespace
