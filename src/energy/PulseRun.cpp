#include "energy/PulseRun.h"

#include "data/FileCommand.h"
#include "data/TimeBase.h"
#include "data/WorkFile.h"
#include "link/MeterIdentity.h"
#include "link/PortControl.h"
#include "platform/Clock.h"
#include "state/AppState.h"
#include "state/Configuration.h"

void PulseRun::StartStop() {
    if (Stopped)
        Start();
    else
        Stop();
    Flush();
}

void PulseRun::Resume() {
    Start();
    Flush();
}

void PulseRun::Interrupt() {
    if (!Stopped) Stop();
    Flush();
}

bool PulseRun::OpenForStart() {
    PollState = 0;
    return Meter().Connected || Connect();
}

void PulseRun::InitialiseRun(WorkFileRun& workFile, const QString& path, const QString& header) {
    Initialised = true;
    LogFileOnOff(false);
    workFile.Begin(path, header);
    StartTime = platform::clock().SecondsSinceMidnight();
    StartDayCount();
}

void PulseRun::Running() {
    RunDisplay().StartStopCaption = QStringLiteral("&Stop");
    Stopped = false;
    Changed();
}

void PulseRun::Stopping() {
    RunDisplay().StartStopCaption = QStringLiteral("&Start");
    Stopped = true;
    PollState = 0;
    Changed();
}

bool PulseRun::MayDiscard() {
    if (!Unsaved) return true;
    const bool wasRunning = !Stopped;
    if (wasRunning) Stop();
    Flush();
    if (RemindToSave(Unsaved)) return true;
    // Kept: it runs on, unless the link went away meanwhile.
    if (wasRunning && Meter().Connected) Start();
    return false;
}

bool PulseRun::BeginClosing(bool& kept) {
    kept = false;
    if (closing_) return false;
    closing_ = true;
    kept = !MayDiscard();
    closing_ = !kept;
    return !kept;
}

void PulseRun::EndClosing(bool fromModeSwitch) {
    Initialised = false;
    LogFileOnOff(true);
    Changed();
    Flush();
    closing_ = false;
    if (!fromModeSwitch && App().Shell.SwitchMode) App().Shell.SwitchMode(ModeNone);
}

void PulseRun::LogFileOnOff(bool enabled) {
    if (App().Shell.LogFileOnOffEnable) App().Shell.LogFileOnOffEnable(enabled);
}

void PulseRun::Flush() {
    if (!displayDirty_) return;
    displayDirty_ = false;
    HandDisplay();
}

RunProgress PulseProgress(const PulseRun& run, int64_t pulses) {
    RunProgress p;
    p.Active = run.Initialised;
    p.Logging = !run.Stopped;
    p.Readings = pulses;
    if (pulses > 0) {
        p.Elapsed = run.LastTime - run.StartTime;
        if (p.Elapsed < 0) p.Elapsed += 86400.0;  // past midnight
    }
    return p;
}

bool PulseRun::HasUnsaved() const {
    return Unsaved && !CurrentSettings().LogToFile;
}
