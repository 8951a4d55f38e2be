#pragma once

#include "state/AppState.h"
#include "state/Mode.h"

#include <QString>
#include <cstdint>

class WorkFileRun;

// What every pulse window shows of its run: the part of each pulse engine's
// display record that the run's life sets.
struct PulseDisplay {
    QString Caption;
    QString StartStopCaption = QStringLiteral("&Start");
};

// What the pulse-logging engines share of a run's life and display (the
// energy and rapid-pulse engine, the energy ratio engine): Start and Stop,
// the first Start after a Reset, closing with the save reminder, and the
// display changes collected into one hand-over of the display record.
class PulseRun : public Mode {
public:
    bool HasUnsaved() const override;
    bool MayLeave() override { return MayDiscard(); }
    // Starts again as after a Stop: the run's clock ran on, so the time
    // stamps jump across the gap.
    void Resume() override;
    void Interrupt() override;
    // butStartStop: Start when stopped, otherwise Stop; then the display.
    void StartStop();
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Before the run is discarded or left: the save reminder when it holds
    // unsaved data. False when the user keeps it; a running run goes on.
    bool MayDiscard();

    // Run state.
    int16_t PollState = 0;
    bool Stopped = true;
    bool Initialised = false;
    bool Unsaved = false;
    double StartTime = 0;  // time of day at the first Start after a Reset
    double LastTime = 0;   // time of day of the latest reading

protected:
    // Start's first step: the cycle from its beginning, on an open link.
    // False when the link cannot be opened (the user was told).
    bool OpenForStart();
    // The first Start after a Reset: the Data Log File items greyed out, the
    // working file begun with its header, the run's clock started.
    void InitialiseRun(WorkFileRun& workFile, const QString& path, const QString& header);
    void Running();   // "&Stop"
    void Stopping();  // "&Start", the cycle back to its beginning
    // Closing: false when a closing is under way already, or when the user
    // keeps the run at the save reminder (`kept` then true).
    bool BeginClosing(bool& kept);
    // Closing's end, after the window's own steps: not initialised, the Data
    // Log File items back, the display shown; a window closed by the user
    // (not `fromModeSwitch`) also leaves the mode.
    void EndClosing(bool fromModeSwitch);
    void LogFileOnOff(bool enabled);
    void Changed() { displayDirty_ = true; }
    // The step's end: the display record goes to the window when the step changed it.
    void Flush();
    // The run's part of the engine's display record.
    virtual PulseDisplay& RunDisplay() = 0;
    // Hands the whole display record to the window's hook, if one is set.
    virtual void HandDisplay() = 0;

private:
    bool displayDirty_ = false;
    bool closing_ = false;
};

// How far a pulse run has come, for the status strip: no set end; the time
// from its first Start to its latest pulse.
RunProgress PulseProgress(const PulseRun& run, int64_t pulses);
