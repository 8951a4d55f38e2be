#include "data/TimeBase.h"

#include "data/NumberFormat.h"
#include "state/StateReset.h"

#include <cmath>

namespace {
double g_lastNow = -1;  // clock reading of the previous call, -1 before the first
int16_t g_dayCount = 0;
const ResetWithProgramState kReset{&StartDayCount};
}  // namespace

int16_t DayCount() {
    return g_dayCount;
}

void StartDayCount() {
    g_dayCount = 0;
}

double ElapsedSeconds(double start, double now) {
    double e = now + g_dayCount * 86400.0 - start;
    // Before the first midnight a clock reading below the start shows it.
    // Later ones cannot be seen against the start (the difference stays
    // positive), so a clock that went back by more than an hour since the
    // previous call has passed midnight as well.
    const bool wrapped = e < 0 || (g_dayCount > 0 && g_lastNow >= 0 && now < g_lastNow - 3600.0);
    if (wrapped) {
        e += 86400.0;
        ++g_dayCount;
    }
    g_lastNow = now;
    return e;
}

QString SecondsToClock(float hours, float minutes, float seconds) {
    // Single precision throughout, as the chart's time values are singles.
    float t = hours * 3600.0f + minutes * 60.0f + seconds;
    QString sign;
    if (t < 0) {
        sign = QStringLiteral("-");
        t = -t;
    }
    if (!std::isfinite(t)) return sign + QStringLiteral("00:00:00.00");
    float h = std::trunc(t / 3600.0f);
    t = t - h * 3600.0f;
    float m = std::trunc(t / 60.0f);
    t = t - m * 60.0f;
    float s = std::trunc(t);
    t = t - s;
    float c = std::nearbyint(t * 100.0f);  // ties to even
    // .995 s and more round up to a whole second, never to 100 hundredths;
    // the carry runs on into minutes and hours.
    if (c >= 100.0f) {
        c = 0;
        s += 1.0f;
    }
    if (s >= 60.0f) {
        s -= 60.0f;
        m += 1.0f;
    }
    if (m >= 60.0f) {
        m -= 60.0f;
        h += 1.0f;
    }
    return sign + FormatNumber(h, QStringLiteral("00:")) + FormatNumber(m, QStringLiteral("00:")) +
           FormatNumber(s, QStringLiteral("00.")) + FormatNumber(c, QStringLiteral("00"));
}
