#include "Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString SaveScreenshot(QWidget* w, const QString& name) {
    QString dir = qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots");
    QDir().mkpath(dir);
    QString path = QDir(dir).filePath(name + ".png");
    return w->grab().save(path) ? path : QString();
}
