#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// Opens a document in the desktop's viewer for its kind; false when the
// desktop has none. Tests replace the opener.
using DocumentOpener = std::function<bool(const QString& path)>;
bool OpenDocument(const QString& path);
void setDocumentOpener(DocumentOpener opener);  // empty: the desktop's

// Where the user guide may be, in order: installed beside the program
// (<prefix>/share/doc/kelvaro32 for <prefix>/bin), then the source tree of
// this build.
QStringList UserGuideCandidates(const QString& executableFolder, const QString& sourceFolder);
// The first candidate that exists, or "".
QString FirstExisting(const QStringList& candidates, const std::function<bool(const QString&)>& exists);
// The guide of this run, or "".
QString UserGuidePath();

}  // namespace platform
