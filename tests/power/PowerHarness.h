#pragma once

#include "auxiliary/NotesWindow.h"
#include "data/NumberFormat.h"
#include "data/Units.h"
#include "data/WorkFile.h"
#include "link/LinkState.h"
#include "link/Transaction.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "support/FakeClock.h"
#include "support/ProgramState.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedPrompts.h"
#include "support/SeparatorScope.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QStringList>

// A connected port that keeps what the program sends.
class SentPort : public FeedPort {
public:
    void Output(const QByteArray& bytes) override { sent += QString::fromLatin1(bytes); }
    // Commands sent, without "$" and CR.
    QStringList Commands() const {
        QStringList list = sent.split(QLatin1Char('\r'), Qt::SkipEmptyParts);
        for (QString& c : list) c.remove(0, 1);
        return list;
    }
    QString sent;
};

// A connected thermopile head and an engine that counts the points drawn.
class PowerTest : public ::testing::Test {
protected:
    explicit PowerTest(const PowerProfile& profile = kPowerProfile) : engine(profile) {}
    void SetUp() override {
        FreshProgramState();
        platform::setSerialPort(&port);
        std::tie(TestMeter().Connected, TestMeter().DeviceType) = std::pair(true, MeterModel::Talon);
        App().ActiveMode = ModePower;
        ChannelInfo& head = TestMeter().Channels[0];
        std::tie(head.HeadType, head.HeadName, head.HeadSerial, head.ReadingUnit) =
            std::tuple(HeadKind::Thermopile, QString("3A"), QString("; s/n 123456"), QString("W"));
        WorkFiles().WorkFileName = dir.Path(QStringLiteral("kelvaro.pwr"));
        App().Shell.LogFileOnOffEnable = [](bool) {};
        engine.View.TrialReading = [] {};
        engine.View.PointAdded = [this](const ChartPoint&) { ++pointsDrawn; };
    }

    void TearDown() override {
        Notes().ClearNotesBox();
        WorkFile(2, QString());
        platform::setSerialPort(nullptr);
        FreshProgramState();
    }

    // Start and answer the first request, so that readings are stored next.
    void StartLogging() {
        engine.StartStop();
        Reply(QStringLiteral("*0"));
    }
    void Reply(const QString& text) { engine.PowerLog(0, text + QLatin1Char('\r')); }
    // A reading `dt` seconds after the previous one.
    void ReadingAfter(double dt, const QString& text) {
        clock.Advance(dt);
        Reply(text);
    }

    SeparatorScope point{"."};
    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    SentPort port;
    PowerEngine engine;
    int pointsDrawn = 0;
};

// A setup dialog's world: settings in their defaults, kelvaro.cfg written to a temporary folder.
class PowerSetupTest : public ::testing::Test {
protected:
    SeparatorScope point{"."};
    TempDir dir;
    ScriptedPrompts prompts;
    ProgramStateScope fresh;  // last: fresh state before the dialog is made and after it is gone
};
