#pragma once

// Helpers of the tests that run the real serial port over a pseudo-terminal
// to the simulator program, on the real clock.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

// COM1 is the simulator; every other port leads nowhere (this machine has
// serial devices of its own).
inline QByteArray PortsFile(const QString& com1) {
    QByteArray text = "COM1 " + com1.toUtf8() + "\n";
    for (int n = 2; n <= 16; ++n) text += QString("COM%1 /nonexistent/tty%1\n").arg(n).toUtf8();
    return text;
}

// Real I/O: events are processed until `done` holds or the time is up.
template <class Done>
bool RunUntil(Done done, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        // Timer2 wakes the loop every 10 ms.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void RunFor(int milliseconds) {
    RunUntil([] { return false; }, milliseconds);
}
