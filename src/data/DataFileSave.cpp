#include "data/DataFileSave.h"

#include "data/WorkFile.h"
#include "platform/Printer.h"
#include "platform/SameFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Opens `name` through the working-file writer; its failure message has
// then been shown already.
void OpenTarget(int op, const QString& name) {
    WorkFile(op, name);
    if (WorkFileNumber() == 0) throw DataFileError("cannot open " + name, true);
}

// Closes the file being written however the writing ends; a file written
// anew and not committed leaves the old one as it was.
struct CloseWhenDone {
    ~CloseWhenDone() { WorkFile(2, QString()); }
};

void ThrowIfWriteFailed(const QString& name) {
    if (WorkFileFailed()) throw DataFileError("cannot write " + name);
}

// The working file's bytes into the open target.
void CopyWorkingFile(const QString& workFilePath, const QString& target) {
    QFile source(workFilePath);
    if (!source.open(QIODevice::ReadOnly))
        throw DataFileError("cannot read the working file " + workFilePath);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            throw DataFileError("cannot read the working file " + workFilePath);
        WorkFileWriteBytes(chunk);
        ThrowIfWriteFailed(target);
    }
}

}  // namespace

void SaveLoggedData(const QString& fileName, bool logToFile, const QString& workFilePath,
                    const QString& header, const std::function<void()>& writeNotes,
                    const std::function<void()>& writeDataLines) {
    // The working file itself keeps what it holds and gets the notes last.
    if (logToFile && platform::SameFile(fileName, workFilePath)) {
        if (!QFileInfo::exists(workFilePath))
            throw DataFileError("the working file " + workFilePath + " is missing");
        OpenTarget(1, workFilePath);
        const CloseWhenDone done;
        if (writeNotes) writeNotes();
        ThrowIfWriteFailed(workFilePath);
        return;
    }
    // Any other file is written whole beside the one it replaces, which
    // stays as it was until the new one is complete.
    if (logToFile && !QFileInfo(workFilePath).isFile())
        throw DataFileError("cannot read the working file " + workFilePath);
    OpenTarget(5, fileName);
    const CloseWhenDone done;
    if (logToFile) {
        CopyWorkingFile(workFilePath, fileName);
        if (writeNotes) writeNotes();
    } else {
        WorkFile(3, header);
        if (writeNotes) writeNotes();
        if (writeDataLines) writeDataLines();
    }
    ThrowIfWriteFailed(fileName);
    if (!WorkFileCommit()) throw DataFileError("cannot write " + fileName);
}

void ThrowIfPrintFailed(const platform::Printer& printer) {
    if (printer.Failed()) throw DataFileError("printing failed");
}
