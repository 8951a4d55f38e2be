#pragma once

#include "link/LinkHarness.h"
#include "meterlogs/LogRetrieval.h"
#include "support/ProgramState.h"
#include "support/RecordingViewer.h"
#include "viewers/Viewers.h"

#include <QRegularExpression>
#include <array>

// Device-file view on the in-memory meter: recording viewers, a mode switch
// that leaves and enters the view, and loading-window and dialog fakes that
// note what they were asked in `shown`.
class MeterLogTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        for (int16_t k = 0; k < kViewerKinds; ++k) {
            viewers[size_t(k)] = std::make_unique<RecordingViewer>(k);
            SetViewerFactory(k, [v = viewers[size_t(k)].get()] { return v; });
        }
        App().Shell.SwitchMode = [this](int16_t m) {
            switchedTo.push_back(m);
            if (App().ActiveMode == ModeDeviceFile) LeaveDeviceFileView();
            if ((App().ActiveMode = m) == ModeDeviceFile) RetrieveLogs(-1, {});
        };
        modes[ModeDeviceFile].Entry = [](int, QString& text) { RetrieveLogs(0, text); };
        App().Shell.ConnectEnable = [this](bool on) { shown << "connect " + QString::number(on); };
        RetrievalHooks& h = MeterLogHooks();
        h.ShowLoadWindow = [this](int16_t source, const QString& caption, const QString& label) {
            shown << QString::number(source) + "|" + caption + "|" + label;
        };
        h.HideLoadWindow = [this] { shown << "hide"; };
        h.DrawProgress = [this](int phase, float f) {
            if (phase == 0) return void(fraction = f);
            shown << "bar " + QString::number(phase);
        };
        h.AskViewMode = [this](int16_t kind, const QString& title) {
            shown << QString::number(kind) + "|" + title;
            return viewMode;
        };
        h.ChooseFile = [this](const QStringList& c) {
            if ((choices = c).size() > pick && pick >= 0) RetrieveLogs(0, c[pick]);
        };
        h.LetEventsRun = [this] { betweenBlocks(); };
    }
    void TearDown() override {
        ForgetViewers();
        LinkTest::TearDown();
    }
    void Fresh() {  // the next case of a table starts from nothing recorded
        TearDown();
        switchedTo.clear();
        prompts.messages.clear();
        prompts.questions.clear();
        shown.clear();
        SetUp();
    }

    // Enters device-file view on a meter holding `logs` and lets it talk
    // until it has nothing more to say.
    void Download(sim::Model model, const QVector<sim::StoredLog>& logs, int badBlocks = 0,
                  QString refuse = {}) {
        sim::MeterConfig cfg{.model = model, .logs = logs, .lineTiming = false};
        cfg.faults.badBlocks = badBlocks;
        if (!refuse.isEmpty()) cfg.refused << refuse;
        ASSERT_TRUE(ConnectTo(cfg));
        TestMeter().DeviceType = MeterModel(model);
        App().Shell.SwitchMode(ModeDeviceFile);
        for (int i = 0; i < 100000 && port->DeliverNext(); ++i) {
        }
    }
    QString LogCommands() const { return Commands().filter(QRegularExpression("^L")).join(' '); }
    RecordingViewer& View(int16_t kind) { return *viewers[size_t(kind)]; }

    std::array<std::unique_ptr<RecordingViewer>, kViewerKinds> viewers;
    QStringList shown, choices;
    int pick = 0;
    float fraction = 0;  // of the progress bar
    int16_t viewMode = 0;
    std::function<void()> betweenBlocks = [] {};
};
