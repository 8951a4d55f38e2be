#pragma once

// Shared by the tests that run against the simulator program over a
// pseudo-terminal, on the real clock.

#include "data/NumberFormat.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <vector>

// The simulator program on its terminal, ended with the test.
class Simulator {
public:
    explicit Simulator(const QStringList& args) {
        proc_.start(KELVARO_METER_SIM, args);
        if (!proc_.waitForStarted(5000)) return;
        while (!proc_.canReadLine() && proc_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();
    }
    ~Simulator() {
        proc_.terminate();
        if (!proc_.waitForFinished(3000)) proc_.kill();
    }
    QString Path() const { return path_; }

private:
    QProcess proc_;
    QString path_;
};

// A TALON with a thermopile whose readings scatter, so that every reading is
// told apart from its neighbours.
inline const QStringList kScatteringThermopile = {
    "--model", "talon", "--head-a",         "type=1,name=XLP12,serial=4711,value=0.0125,noise=0.2",
    "--seed",  "7",     "--exit-when-idle", "30"};

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
        // The main window's Timer2 wakes the loop every 10 ms.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The values the meter sent in reply to "SP", in order, from the traffic log.
inline std::vector<float> SentReadings(const QByteArray& trafficLog) {
    static const QRegularExpression reply(R"(\$SP<CR>\r\n\*([^<\r\n]*)<CR>)");
    std::vector<float> values;
    for (const auto& m : reply.globalMatch(QString::fromLatin1(trafficLog)))
        values.push_back(m.captured(1).toFloat());
    return values;
}

struct DataLine {
    float value;
    double time;
};

// The lines of a saved power file without their CR LF; every line must end
// with CR LF, and nothing else may break a line.
inline QList<QByteArray> CrLfLines(const QByteArray& file) {
    EXPECT_TRUE(file.endsWith("\r\n"));
    EXPECT_EQ(file.count("\r\n"), file.count('\n'));
    EXPECT_EQ(file.count("\r\n"), file.count('\r'));
    QList<QByteArray> lines = file.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) line.chop(1);
    return lines;
}

// Data lines of a saved power file (after the header), in the user's decimal
// notation; a line that does not read back fails the test.
inline std::vector<DataLine> ParseDataLines(const QList<QByteArray>& lines) {
    std::vector<DataLine> out;
    const QString sep = DecimalSeparator();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        bool okValue = false, okTime = false;
        DataLine d{};
        if (fields.size() == 2) {
            d.value = QString::fromLatin1(fields[0]).trimmed().replace(sep, ".").toFloat(&okValue);
            d.time = QString::fromLatin1(fields[1]).replace(sep, ".").toDouble(&okTime);
        }
        if (okValue && okTime)
            out.push_back(d);
        else
            ADD_FAILURE() << "line " << i << ": " << lines[i].toStdString();
    }
    return out;
}

// The saved readings are the meter's replies in order, none lost or
// repeated: the first reply of a run is discarded, and one more may come
// after the last reading kept.
inline void ExpectSentReadings(const std::vector<DataLine>& data, const QByteArray& trafficLog) {
    const std::vector<float> sent = SentReadings(trafficLog);
    ASSERT_GE(sent.size(), data.size() + 1);
    EXPECT_LE(sent.size(), data.size() + 2);
    for (size_t i = 0; i < data.size(); ++i) ASSERT_EQ(data[i].value, sent[i + 1]) << "reading " << i + 1;
}
