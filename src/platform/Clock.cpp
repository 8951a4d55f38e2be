#include "platform/Clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>

namespace platform {
namespace {

// The locale's long time format carries the time zone in some locales; the
// status strip and the traffic log want the bare time with seconds.
QString TimeFormat() {
    QString f = QLocale().timeFormat(QLocale::LongFormat);
    f.remove(QLatin1Char('t'));
    return f.trimmed();
}

class SystemClock : public Clock {
public:
    SystemClock() { timer_.start(); }

    double SecondsSinceMidnight() override { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }
    double Monotonic() override { return static_cast<double>(timer_.nsecsElapsed()) / 1e9; }
    QString DateText() override { return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat); }
    QString TimeText() override { return QLocale().toString(QTime::currentTime(), TimeFormat()); }
    QString DateTimeText() override {
        const QDateTime now = QDateTime::currentDateTime();
        return QLocale().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
               QLocale().toString(now.time(), TimeFormat());
    }

private:
    QElapsedTimer timer_;
};

Clock* g_installed = nullptr;

}  // namespace

Clock& clock() {
    static SystemClock system;
    return g_installed ? *g_installed : system;
}

void setClock(Clock* c) {
    g_installed = c;
}

}  // namespace platform
