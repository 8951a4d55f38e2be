#include "data/DataFileSave.h"

#include "data/WorkFile.h"
#include "platform/Printer.h"
#include "platform/SameFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The working file's bytes into `target`. A regular file is replaced only
// once the copy is complete, so a failed copy leaves it as it was; a device
// or pipe is written in place, never replaced by a file.
void CopyWorkingFile(const QString& workFilePath, const QString& target) {
    QFile source(workFilePath);
    if (!source.open(QIODevice::ReadOnly))
        throw DataFileError("cannot read the working file " + workFilePath);
    const QFileInfo info(target);
    const bool inPlace = info.exists() && !info.isFile();
    QSaveFile replacement(target);
    QFile device(target);
    QFileDevice& copy = inPlace ? static_cast<QFileDevice&>(device) : replacement;
    if (!copy.open(QIODevice::WriteOnly)) throw DataFileError("cannot write " + target);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            throw DataFileError("cannot read the working file " + workFilePath);
        if (copy.write(chunk) != chunk.size()) throw DataFileError("cannot write " + target);
    }
    if (!(inPlace ? device.flush() : replacement.commit())) throw DataFileError("cannot write " + target);
}

// Opens `name` through the working-file writer; its failure message has
// then been shown already.
void OpenTarget(int op, const QString& name) {
    WorkFile(op, name);
    if (WorkFileNumber() == 0) throw DataFileError("cannot open " + name, true);
}

// Closes the file being written however the writing ends.
struct CloseWhenDone {
    ~CloseWhenDone() { WorkFile(2, QString()); }
};

void ThrowIfWriteFailed(const QString& name) {
    if (WorkFileFailed()) throw DataFileError("cannot write " + name);
}

}  // namespace

void SaveLoggedData(const QString& fileName, bool logToFile, const QString& workFilePath,
                    const QString& header, const std::function<void()>& writeNotes,
                    const std::function<void()>& writeDataLines) {
    if (!logToFile) {
        OpenTarget(0, fileName);
        const CloseWhenDone done;
        WorkFile(3, header);
        if (writeNotes) writeNotes();
        if (writeDataLines) writeDataLines();
        ThrowIfWriteFailed(fileName);
        return;
    }
    // The working file already holds header and data; the notes go last.
    QString target = fileName;
    if (platform::SameFile(fileName, workFilePath)) {
        target = workFilePath;
        if (!QFileInfo::exists(workFilePath))
            throw DataFileError("the working file " + workFilePath + " is missing");
    } else {
        CopyWorkingFile(workFilePath, target);
    }
    OpenTarget(1, target);
    const CloseWhenDone done;
    if (writeNotes) writeNotes();
    ThrowIfWriteFailed(target);
}

void ThrowIfPrintFailed(const platform::Printer& printer) {
    if (printer.Failed()) throw DataFileError("printing failed");
}
