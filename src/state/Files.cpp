#include "state/Files.h"

#include "platform/FileKind.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr int16_t kMaxFileNumber = 255;

struct OpenedFile {
    std::unique_ptr<QFileDevice> file;  // a QSaveFile for FileReplace
    QString path;                       // absolute, to tell a second open of the same file
    int mode = FileRead;
    QByteArray lineEnd = "\r\n";
};

std::map<int16_t, OpenedFile>& Table() {
    static std::map<int16_t, OpenedFile> table;
    return table;
}

// One spelling per file, so that "./a.txt" or a link to it is the same file.
QString AbsolutePath(const QString& name) {
    const QFileInfo info(name);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

// A file may be open several times for reading; writing needs it alone.
bool InUse(const QString& path, int mode) {
    for (const auto& [no, f] : Table())
        if (f.path.compare(path, kPathCase) == 0 && (mode != FileRead || f.mode != FileRead)) return true;
    return false;
}

int16_t NextFreeNumber() {
    for (int16_t n = 1; n <= kMaxFileNumber; ++n)
        if (!Table().count(n)) return n;
    return 0;
}

int16_t Fail(const QString& text) {
    platform::prompts().Message(text);
    return 0;
}

OpenedFile* Find(int16_t fileNo) {
    auto it = Table().find(fileNo);
    return it == Table().end() ? nullptr : &it->second;
}

}  // namespace

int16_t OpenFile(const QString& name, int mode) {
    if (mode < FileRead || mode > FileReplaceWhole) return Fail(QStringLiteral("File open failed"));
    if (name.isEmpty()) return Fail(QStringLiteral("File open failed"));
    const QString path = AbsolutePath(name);
    if (InUse(path, mode))
        return Fail(QStringLiteral("File ") + name +
                    QStringLiteral(" is being used by other process. Operation canceld."));

    const platform::FileKind kind = platform::KindOfFile(path);
    if (kind != platform::FileKind::Missing && kind != platform::FileKind::Regular)
        return Fail(QStringLiteral("Access denied to file ") + name);

    const int16_t no = NextFreeNumber();
    if (no == 0) return Fail(QStringLiteral("File open failed"));

    std::unique_ptr<QFileDevice> file;
    if (mode == FileReplace || mode == FileReplaceWhole) {
        auto save = std::make_unique<QSaveFile>(path);
        // A writable file in a folder that takes no new files is still
        // written, in place: better than a setting that cannot be saved.
        save->setDirectWriteFallback(mode == FileReplace);
        file = std::move(save);
    } else {
        file = std::make_unique<QFile>(path);
    }
    QIODevice::OpenMode how = QIODevice::ReadOnly;
    if (mode == FileWrite || mode == FileReplace || mode == FileReplaceWhole)
        how = QIODevice::WriteOnly | QIODevice::Truncate;
    if (mode == FileAppend) how = QIODevice::WriteOnly | QIODevice::Append;
    if (!file->open(how)) {
        if (file->error() == QFileDevice::PermissionsError)
            return Fail(QStringLiteral("Access denied to file ") + name);
        return Fail(QStringLiteral("File open failed"));
    }
    // The file exists now: take its final spelling (a new file had none before).
    Table()[no] = OpenedFile{std::move(file), AbsolutePath(name), mode, QByteArrayLiteral("\r\n")};
    return no;
}

bool FileExists(const QString& name) {
    if (name.isEmpty()) return false;
    const QFileInfo info(name);
    return info.exists() && info.isFile();
}

void SetLineEnd(int16_t fileNo, const QByteArray& lineEnd) {
    if (OpenedFile* f = Find(fileNo)) f->lineEnd = lineEnd;
}

bool WriteLine(int16_t fileNo, const QString& text) {
    OpenedFile* f = Find(fileNo);
    if (!f || f->mode == FileRead) return false;
    const QByteArray bytes = text.toUtf8() + f->lineEnd;
    if (f->file->write(bytes) != bytes.size()) return false;
    return f->file->flush();
}

bool WriteBytes(int16_t fileNo, const QByteArray& bytes) {
    OpenedFile* f = Find(fileNo);
    if (!f || f->mode == FileRead) return false;
    return f->file->write(bytes) == bytes.size();
}

bool ReadLine(int16_t fileNo, QString& text) {
    OpenedFile* f = Find(fileNo);
    if (!f || f->mode != FileRead || f->file->atEnd()) return false;
    // readLine(n) returns at most n - 1 bytes: one more than the longest line
    // tells a line that is too long.
    QByteArray line = f->file->readLine(kMaxLineBytes + 2);
    if (line.isEmpty()) return false;  // end or a read error: never an endless run of empty lines
    if (line.endsWith('\n')) {
        line.chop(1);
    } else if (line.size() > kMaxLineBytes) {
        // Not a line of ours: keep its start, skip the rest in pieces.
        line.truncate(kMaxLineBytes);
        QByteArray rest;
        do rest = f->file->readLine(kMaxLineBytes + 2);
        while (!rest.isEmpty() && !rest.endsWith('\n'));
    }
    if (line.endsWith('\r')) line.chop(1);
    text = QString::fromUtf8(line);
    return true;
}

QByteArray ReadBlock(int16_t fileNo, qint64 maxBytes) {
    OpenedFile* f = Find(fileNo);
    if (!f || f->mode != FileRead || maxBytes <= 0) return QByteArray();
    return f->file->read(maxBytes);
}

qint64 ReadBlockInto(int16_t fileNo, char* data, qint64 maxBytes) {
    OpenedFile* f = Find(fileNo);
    if (!f || f->mode != FileRead || maxBytes <= 0) return 0;
    return std::max<qint64>(f->file->read(data, maxBytes), 0);
}

bool CommitFile(int16_t fileNo) {
    OpenedFile* f = Find(fileNo);
    if (!f) return false;
    // A QSaveFile remembers every failed write and then keeps the old file.
    auto* save = dynamic_cast<QSaveFile*>(f->file.get());
    const bool ok = save ? save->commit() : f->mode == FileRead || f->file->flush();
    Table().erase(fileNo);
    return ok;
}

void CloseFile(int16_t fileNo) {
    Table().erase(fileNo);  // an uncommitted QSaveFile discards its temporary
}

void CloseAllFiles() {
    Table().clear();
}
