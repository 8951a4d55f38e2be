#pragma once

#include "link/Link.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "support/FakeClock.h"
#include "support/ProgramState.h"
#include "support/QuietPlatform.h"
#include "support/RecordingMode.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <memory>

// A port whose input the test hands over chunk by chunk, each as a receive event.
struct ChunkPort : FeedPort {
    void Output(const QByteArray& bytes) override { written += bytes; }
    void Deliver(const QByteArray& chunk) {
        pending += chunk;
        ReceiveEvent();
    }
    QByteArray written;
};

// Fresh application and link state, the fake clock and prompts, and a current directory of its own.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
        TrafficLog(TrafficClear);
        CurrentSettings().CommPort = 1;
        SetPause([this](double s) { clock.Advance(s); });
        App().Shell.SwitchMode = [this](int16_t m) { switchedTo.push_back(m); };
        App().Shell.CheckPort = [this](int16_t p) { checkedPort = p; };
        App().Shell.ConnectClick = [this] {
            if (++connectClicks && Meter().Connected) Disconnect();
        };
        for (int16_t mode : {1, 2, 3, 5, 6, 7, 11, 12, 13}) {
            modes[size_t(mode)].RegisterAs(mode);
            modes[size_t(mode)].Entry = [this, mode](int op, QString& text) {
                // "11:line" for a reply, "11/2:line" for another op
                windowLines.push_back(QString::number(mode) + (op ? "/" + QString::number(op) : "") + ":" +
                                      text);
            };
        }
    }
    void TearDown() override {
        platform::setSerialPort(nullptr);
        SetPause({});
        FreshProgramState();
    }

    // A fresh connection to the in-memory meter; every wait round is 10 ms of fake time.
    bool ConnectTo(const sim::MeterConfig& cfg) {
        TestMeter().Connected = false;
        ResetLinkState();
        meter = std::make_unique<sim::Meter>(cfg);
        port = std::make_unique<sim::SimSerialPort>(*meter, [this](double s) { clock.Advance(s); });
        platform::setSerialPort(port.get());
        App().Shell.ProcessEvents = [this] { Tick(); };
        return Connect();
    }
    void UseChunks() {  // a port the test feeds by hand, already connected
        platform::setSerialPort(&chunks);
        TestMeter().Connected = true;
    }
    void Tick() {
        clock.Advance(0.01);
        if (port) port->Pump();
        Timer2_Timer();
    }
    QStringList Commands() const { return meter->CommandsReceived(); }  // as the program framed them

    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    std::unique_ptr<sim::Meter> meter;
    std::unique_ptr<sim::SimSerialPort> port;
    ChunkPort chunks;
    std::vector<int16_t> switchedTo;
    int16_t checkedPort = -1;
    int connectClicks = 0;
    QStringList windowLines;
    std::array<RecordingMode, ModeRegistry::kCodes> modes;
};
