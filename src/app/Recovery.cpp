#include "app/Recovery.h"

#include "platform/SilentPrompts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QDir>

QString RecoveryFileName(const QString& workFile, const QString& stamp) {
    if (workFile.isEmpty()) return QString();
    const qsizetype nameStart =
        qMax(workFile.lastIndexOf(QLatin1Char('/')), workFile.lastIndexOf(QDir::separator())) + 1;
    qsizetype dot = workFile.lastIndexOf(QLatin1Char('.'));
    if (dot <= nameStart) dot = workFile.size();  // no extension (a leading dot names, not extends)
    return workFile.left(dot) + QLatin1Char('-') + stamp + workFile.mid(dot);
}

QString SaveRecoveryFile(const QString& stamp) {
    const int16_t mode = App().ActiveMode;
    Mode* ops = Modes().Find(mode);
    if (!ops || !ops->HasUnsaved()) return QString();
    const QString* workFile = WorkFileOfMode(mode);
    const QString name = workFile ? RecoveryFileName(*workFile, stamp) : QString();
    if (name.isEmpty()) return QString();
    try {
        ops->Save(name);
    } catch (...) {
        // The program ends anyway; the traffic log must still be written.
        return QString();
    }
    return name;
}

Unattended::Unattended() : previous_(&platform::prompts()) {
    static platform::SilentPrompts none;
    platform::setPrompts(&none);
}

Unattended::~Unattended() {
    platform::setPrompts(previous_);
}
