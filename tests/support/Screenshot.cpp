#include "Screenshot.h"

#include "platform/Printer.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QProcess>
#include <QWidget>

QString SaveScreenshot(QWidget* w, const QString& name) {
    QString dir = qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots");
    QDir().mkpath(dir);
    QString path = QDir(dir).filePath(name + ".png");
    return w->grab().save(path) ? path : QString();
}

int PrintToScreenshots(const QString& name, const std::function<void()>& print) {
    const QString dir = qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots");
    QDir().mkpath(dir);
    const QString pdf = QDir(dir).absoluteFilePath(name + ".pdf");
    QFile::remove(pdf);
    platform::printer().ForcePdf(pdf);
    print();
    platform::printer().ForcePdf(QString());
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = f.readAll();
    if (!bytes.startsWith("%PDF")) return 0;
    QProcess::execute("pdftoppm", {"-png", "-r", "60", "-singlefile", pdf, QDir(dir).filePath(name)});
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "));
}
