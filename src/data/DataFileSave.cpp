#include "data/DataFileSave.h"

#include "data/WorkFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString NormalPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The working file's bytes into `target`, replacing it only once the copy is
// complete, so a failed copy leaves an existing target as it was.
void CopyWorkingFile(const QString& workFilePath, const QString& target) {
    QFile source(workFilePath);
    if (!source.open(QIODevice::ReadOnly))
        throw DataFileError("cannot read the working file " + workFilePath);
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly)) throw DataFileError("cannot write " + target);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            throw DataFileError("cannot read the working file " + workFilePath);
        if (copy.write(chunk) != chunk.size()) throw DataFileError("cannot write " + target);
    }
    if (!copy.commit()) throw DataFileError("cannot write " + target);
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

}  // namespace

bool SameDataFilePath(const QString& a, const QString& b) {
    return NormalPath(a).compare(NormalPath(b), Qt::CaseInsensitive) == 0;
}

void SaveLoggedData(const QString& fileName, bool logToFile, const QString& workFilePath,
                    const QString& header, const std::function<void()>& writeNotes,
                    const std::function<void()>& writeDataLines) {
    if (!logToFile) {
        OpenTarget(0, fileName);
        const CloseWhenDone done;
        WorkFile(3, header);
        if (writeNotes) writeNotes();
        if (writeDataLines) writeDataLines();
        return;
    }
    // The working file already holds header and data; the notes go last.
    QString target = fileName;
    if (SameDataFilePath(fileName, workFilePath)) {
        // Also on file systems that tell letter case apart: the working
        // file is the one holding the data.
        target = workFilePath;
        if (!QFileInfo::exists(workFilePath))
            throw DataFileError("the working file " + workFilePath + " is missing");
    } else {
        CopyWorkingFile(workFilePath, target);
    }
    OpenTarget(1, target);
    const CloseWhenDone done;
    if (writeNotes) writeNotes();
}
