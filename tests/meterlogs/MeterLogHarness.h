#pragma once

#include "link/LinkHarness.h"
#include "meterlogs/LogRetrieval.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"

#include <QFile>
#include <QRegularExpression>
#include <array>
#include <functional>

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{' << list.join("} {").toStdString() << '}';
}

// A viewer that keeps what it is fed and names itself in ViewerKind, as the real ones do.
struct RecordingViewer : StoredDataViewer {
    explicit RecordingViewer(int16_t k) : kind(k) {}
    void Load(int step, const QString& text) override {
        if (step == -1) {
            title = text;
            lines.clear();
            App().ViewerKind = kind;
        } else if (step == 0) {
            lines << text;
        } else {
            ++closes;
            App().ViewerKind = -1;
        }
    }
    void ShowData() override { ++shows; }
    void DataSave(const QString& name) override {  // the lines as fed, one a line
        QFile file(name);
        if (file.open(QIODevice::WriteOnly)) file.write((lines.join("\r\n") + "\r\n").toLatin1());
    }
    void Print() override {}
    int16_t kind;
    QString title;
    QStringList lines;
    int shows = 0, closes = 0;
};

// Device-file view on the in-memory meter: recording viewers, a mode switch
// that leaves and enters the view, and loading-window and dialog fakes.
class MeterLogTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ResetMeterLogs();
        ForgetViewers();
        for (int16_t k = 0; k < kViewerKinds; ++k) {
            viewers[size_t(k)] = std::make_unique<RecordingViewer>(k);
            SetViewerFactory(k, [v = viewers[size_t(k)].get()] { return v; });
        }
        App().Shell.SwitchMode = [this](int16_t m) {
            switchedTo.push_back(m);
            if (App().ActiveMode == ModeDeviceFile) LeaveDeviceFileView();
            App().ActiveMode = m;
            if (m == ModeDeviceFile) RetrieveLogs(-1, {});
        };
        App().Shell.ModeEntry[ModeDeviceFile] = [](int, QString& text) { RetrieveLogs(0, text); };
        App().Shell.ConnectEnable = [this](bool on) { connectEnabled += on; };
        RetrievalHooks& h = MeterLogHooks();
        h.ShowLoadWindow = [this](int16_t source, const QString& caption, const QString& label) {
            loadWindow << QString::number(source) + "|" + caption + "|" + label;
        };
        h.HideLoadWindow = [this] { ++hides; };
        h.AskViewMode = [this](int16_t kind, const QString& title) {
            viewModeAsked << QString::number(kind) + "|" + title;
            return viewMode;
        };
        h.ChooseFile = [this](const QStringList& c) {
            choices = c;
            if (pick >= 0 && pick < c.size()) RetrieveLogs(0, c[pick]);
        };
        h.LetEventsRun = [this] {
            if (betweenBlocks) betweenBlocks();
        };
    }
    void TearDown() override {
        ForgetViewers();
        ResetMeterLogs();
        LinkTest::TearDown();
    }
    // The next case of a table starts from nothing recorded.
    void Fresh() {
        TearDown();
        switchedTo.clear();
        prompts.messages.clear();
        prompts.questions.clear();
        prompts.busyLog.clear();
        loadWindow.clear();
        viewModeAsked.clear();
        hides = connectEnabled = 0;
        SetUp();
    }

    // Enters device-file view on a meter holding `logs` and lets it talk
    // until it has nothing more to say.
    void Download(sim::Model model, const QVector<sim::StoredLog>& logs, int badBlocks = 0) {
        sim::MeterConfig cfg;
        cfg.model = model;
        cfg.logs = logs;
        cfg.faults.badBlocks = badBlocks;
        cfg.lineTiming = false;
        ASSERT_TRUE(ConnectTo(cfg));
        App().DeviceType = int16_t(model);
        App().Shell.SwitchMode(ModeDeviceFile);
        for (int i = 0; i < 100000 && port->DeliverNext(); ++i) {
        }
    }
    QStringList LogCommands() const { return Commands().filter(QRegularExpression("^L")); }
    RecordingViewer& View(int16_t kind) { return *viewers[size_t(kind)]; }

    std::array<std::unique_ptr<RecordingViewer>, kViewerKinds> viewers;
    QStringList loadWindow, viewModeAsked, choices;
    int hides = 0, connectEnabled = 0, pick = 0;
    int16_t viewMode = 0;
    std::function<void()> betweenBlocks;
};

// A stored log of the simulator.
inline sim::StoredLog StoredLogOf(QVector<int> mantissas, int file = 1, QString unit = "W") {
    sim::StoredLog log;
    log.file = file;
    log.unit = unit;
    log.mantissas = mantissas;
    return log;
}
