#include "data/WorkFile.h"

#include "state/Files.h"

#include <QFile>
#include <QFileInfo>

namespace {

int16_t g_number = 0;          // open working file, 0 when none
QString g_path;                // its absolute path
bool g_openedThisRun = false;  // a working file was opened since start

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
            if (g_number != 0) WriteLine(g_number, text);
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

int16_t WorkFileNumber() {
    return g_number;
}

void ResetWorkFile() {
    CloseCurrent();
    g_openedThisRun = false;
}
