#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// How far the run of a logging mode has come (the status strip).
struct RunProgress {
    bool Active = false;   // a run started and not reset or finished
    bool Logging = false;  // readings are being taken now
    double Elapsed = 0;    // seconds since the run's first reading
    double LogTime = 0;    // seconds the run lasts; 0: no set end
    int64_t Readings = 0;  // readings taken in the run
};

// When the mode's measurement command (the Mode menu's) goes to the meter.
enum class StartOrder : uint8_t {
    None,         // no command: the mode sends nothing on entry
    BeforeBegin,  // the meter is in the mode before the mode starts asking
    AfterBegin,   // the mode is ready first, then the meter is put into it
};

// What the shell needs to know of a mode besides its operations.
struct ModeTraits {
    StartOrder Start = StartOrder::None;
    // While the first reply of a run is a refusal ("?"), this command goes
    // out again and the reply reaches nobody; null: replies are not checked.
    const char* ResendOnRefusal = nullptr;
    // A reply holding "?" goes to Refused(): the mode asks again.
    bool PassesRefusals = false;
    // The mode talks to the meter (not the PC file): its run is cut when the
    // line goes, and picked up again when the same meter comes back.
    bool HoldsLink = true;
    // Chosen again while active, it is left and entered afresh.
    bool Reenters = false;
    // The file commands pause its chart while they run.
    bool PausesForFiles = false;
    // Its run reads the heads of both channels, not only the current one's.
    bool ReadsBothChannels = false;
};

// The statistics of the values a mode shows, at one reading.
struct ReadingStats {
    int64_t Count = 0;
    double Min = 0;
    double Max = 0;
    double Average = 0;
    double StDev = 0;
};

// One result as a mode publishes it, once, to everyone who follows it.
struct Reading {
    double Value = 0;     // in Unit; the over-range mark when OverRange
    QString Unit;         // "W", "J", the relative units; empty for a ratio
    int16_t Channel = 0;  // 0 channel A (or the only one), 1 B, 2 the two combined
    double Time = 0;      // seconds from the run's first reading
    bool OverRange = false;
    ReadingStats Stats;  // of the values shown, this one included
    // Two-channel modes: the values of channels A and B the result was made
    // of, in ChannelUnit (each the over-range mark where it was over range).
    std::optional<std::array<double, 2>> ChannelValues;
    QString ChannelUnit;
};

// Whoever follows a mode: its window, a control socket, a headless run.
// Attach with Mode::Attach, and detach before going away.
class ModeObserver {
public:
    virtual ~ModeObserver() = default;
    virtual void Began() {}  // the mode was entered
    virtual void NewReading(const Reading& reading) { (void)reading; }
    virtual void Ended() {}  // the mode was left
};

// One measurement mode as the shell drives it: the reply routing hands it
// the meter's lines, the mode switch begins and ends it, the File menu
// saves and prints it. A mode runs the same whether or not a window shows it.
class Mode {
public:
    Mode() = default;
    Mode(const Mode&) = delete;
    Mode& operator=(const Mode&) = delete;
    // A mode that goes away leaves the registry with it.
    virtual ~Mode();

    // `code` is the ActiveMode code it is entered under (one mode may serve two).
    virtual ModeTraits Traits(int16_t code) const = 0;
    virtual void Begin() = 0;
    // One complete reply line, CR still at its end.
    virtual void Reply(QString& line) = 0;
    // A reply that refused the last request (PassesRefusals only).
    virtual void Refused(QString& line) { Reply(line); }
    virtual void End() = 0;

    virtual void Save(const QString& fileName) { (void)fileName; }
    virtual void Print() {}
    virtual void Pause(bool on) { (void)on; }
    // Data logged since the last save that no working file holds: what an
    // end from outside must rescue.
    virtual bool HasUnsaved() const { return false; }
    // The save reminder before the mode is left; false when the user keeps it.
    virtual bool MayLeave() { return true; }
    // Logging modes: how far the run has come.
    virtual std::optional<RunProgress> Progress() const { return std::nullopt; }
    // The line is cut (lost, or closed by the user), or came back to
    // another meter or head: logging stops, what was logged stays for Save.
    virtual void Interrupt() {}
    // The line came back to the same meter and heads after a loss that
    // interrupted the run while it logged, and the mode command has gone
    // out again: logging goes on on the run's clock, so the gap shows in
    // its times (and chart).
    virtual void Resume() {}

    void Attach(ModeObserver& observer);
    void Detach(ModeObserver& observer);

protected:
    void PublishBegan();
    void PublishReading(const Reading& reading);
    void PublishEnded();

private:
    std::vector<ModeObserver*> observers_;
};

// The modes by ActiveMode code. The shell registers each once at start;
// the reply routing, the mode switch and the File menu look them up here.
class ModeRegistry {
public:
    static constexpr int kCodes = 14;
    void Register(int16_t code, Mode& mode);
    // Takes the mode out under every code it was registered with.
    void Forget(const Mode& mode);
    Mode* Find(int16_t code) const;
    void Clear() { modes_ = {}; }

private:
    std::array<Mode*, kCodes> modes_{};
};

ModeRegistry& Modes();
