#include "Screenshot.h"

#include "platform/Printer.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QWidget>

// A file in the screenshots folder, which is made when missing.
static QString InShots(const QString& file) {
    const QDir dir(qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots"));
    dir.mkpath(".");
    return dir.absoluteFilePath(file);
}

QString SaveScreenshot(QWidget* w, const QString& name) {
    const QString path = InShots(name + ".png");
    return w->grab().save(path) ? path : QString();
}

int PrintToScreenshots(const QString& name, const std::function<void()>& print) {
    const QString pdf = InShots(name + ".pdf");
    QFile::remove(pdf);
    platform::printer().ForcePdf(pdf);
    print();
    platform::printer().ForcePdf(QString());
    QFile f(pdf);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (!bytes.startsWith("%PDF")) return 0;
    QProcess::execute("pdftoppm", {"-png", "-r", "60", "-singlefile", pdf, InShots(name)});
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "));
}

QString PrintedText(const QString& name) {
    QProcess p;
    p.start("pdftotext", {InShots(name + ".pdf"), "-"});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QImage PrintedPage(const QString& name) {
    return QImage(InShots(name + ".png"));
}

int YellowPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 200 && c.green() > 200 && c.blue() < 100;
        }
    return n;
}
