#include "app/LogCommand.h"

#include "app/ControlModes.h"
#include "app/ControlServer.h"
#include "app/ModeList.h"
#include "app/ModeMenu.h"
#include "app/ModeSwitch.h"
#include "app/Recovery.h"
#include "automation/LogRequest.h"
#include "automation/ReadingJson.h"
#include "automation/RunLimits.h"
#include "energy/PulseRun.h"
#include "link/Link.h"
#include "link/Identification.h"
#include "link/MeterIdentity.h"
#include "link/PortControl.h"
#include "link/Replug.h"
#include "platform/Console.h"
#include "platform/ControlListener.h"
#include "platform/EndSignals.h"
#include "platform/FileStamp.h"
#include "platform/ProgramFolder.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "state/RecentFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <variant>

namespace {

constexpr int kFailed = 1;
constexpr int kNoMeter = 3;

// The run's settings, in memory only: the configuration file stays as it is.
void ApplyRequest(const LogRequest& r, const QString& outPath) {
    Settings& cfg = CurrentSettings();
    // A power-type run lasts its log time: the duration asked for, else as
    // long as anyone wants (the readings are taken until it is ended).
    const int32_t logTime = r.seconds ? int32_t(std::ceil(*r.seconds)) : INT32_MAX;
    if (!r.mode) return;  // the control socket's clients choose
    cfg.Power.LogTime = logTime;
    cfg.PowerRatio.RatioLogTime = logTime;
    cfg.PowerDifference.DifferenceLogTime = logTime;
    if (r.timeStamps) {
        cfg.Energy.EnergyTimeStamp = true;
        cfg.EnergyRatio.RatioTimeStamp = true;
    }
    // The data file is the engine's own working file, written a line a
    // reading: the same bytes its Save copies.
    if (!outPath.isEmpty()) {
        cfg.LogToFile = true;
        if (QString* work = WorkFileOfMode(r.mode->code)) *work = outPath;
    }
}

// Follows the run: JSON lines, the copy of the data file on standard
// output, the progress line, and the end.
class HeadlessRun : public ModeObserver {
public:
    HeadlessRun(const LogRequest& request, Mode* mode) : request_(request), mode_(mode) {}

    void NewReading(const Reading& reading) override {
        ++readings_;
        last_ = reading;
        if (request_.jsonl &&
            !platform::WriteStandardOutput(QByteArray::fromStdString(ReadingJson(reading) + "\n")))
            return Finish(kFailed);
        if (request_.count > 0 && readings_ >= request_.count) Finish(0);
    }

    // Every 100 ms: the end of the run, the copy, the progress line.
    void Tick() {
        if (!Meter().Connected) return WaitForMeter();
        // With the control socket open, its clients stop and start runs: the run goes on.
        const std::optional<RunProgress> progress =
            mode_ && !request_.control ? mode_->Progress() : std::nullopt;
        if (progress && !progress->Logging) {
            // A power-type run that reached its log time ended as asked.
            const bool logTimeReached = request_.seconds && last_ && last_->Time >= *request_.seconds - 1e-9;
            return Finish(logTimeReached ? 0 : kFailed);
        }
        if (deadline_ && deadline_->hasExpired()) return Finish(0);
        CopyStream();
        ShowProgress(false);
    }

    void Started() {
        clock_.start();
        // A power-type run ends itself at its log time; the deadline is a backstop there.
        if (request_.seconds) {
            const bool ownEnd = request_.mode && !request_.mode->pulses && !request_.control;
            deadline_ = QDeadlineTimer(qint64((*request_.seconds + (ownEnd ? 1.0 : 0.0)) * 1000));
        }
    }

    void Finish(int status) {
        if (finished_) return;
        finished_ = true;
        status_ = status;
        loop_.quit();
    }

    // The data file of `--out -`: what the engine appended to `path` goes on to standard output.
    void StreamFrom(const QString& path) { stream_.setFileName(path); }
    void CopyStream() {
        if (stream_.fileName().isEmpty()) return;
        if (!stream_.isOpen() && !stream_.open(QIODevice::ReadOnly)) return;
        const QByteArray bytes = stream_.readAll();
        if (!bytes.isEmpty() && !platform::WriteStandardOutput(bytes)) Finish(kFailed);
    }

    void ShowProgress(bool final) {
        if (!clock_.isValid() || !platform::StandardErrorIsTerminal()) return;
        const QString value = !last_             ? QString()
                              : last_->OverRange ? QStringLiteral("over range")
                                                 : QString::number(last_->Value, 'g', 5) + last_->Unit;
        platform::WriteStandardError(QStringLiteral("\r\033[K") +
                                     ProgressLine(readings_, clock_.elapsed() / 1000.0, value) +
                                     (final ? QStringLiteral("\n") : QString()));
    }

    // The meter went away (the link said why): as in the window, a run goes
    // on when the same meter and head come back. A run cut for good, or a
    // meter still away at the end, is a failed run.
    void WaitForMeter() {
        if (!WaitingForLostPort() || (deadline_ && deadline_->hasExpired())) return Finish(kFailed);
        if (++lostTicks_ % 10 != 0 || !WatchLostPort()) return;
        IdentifyInstrument();
        ResumeAfterCut();
        if (Meter().Connected)
            platform::WriteStandardError(QStringLiteral("kelvaro32: ") + PortStatusText() + QLatin1Char('\n'));
    }

    int Run() {
        if (!finished_) loop_.exec();
        return status_;
    }
    bool Finished() const { return finished_; }
    int Status() const { return status_; }

private:
    const LogRequest& request_;
    Mode* mode_;
    QEventLoop loop_;
    QElapsedTimer clock_;
    std::optional<QDeadlineTimer> deadline_;
    QFile stream_;
    int64_t readings_ = 0;
    int lostTicks_ = 0;
    std::optional<Reading> last_;
    bool finished_ = false;
    int status_ = 0;
};

// Readings until the run ends; no mode entered: the control socket's clients choose.
// The run of the active mode (a control client may have chosen another) ends.
// A run that a control client chose and did not save is kept beside its
// working file, as the window keeps one at a signal: leaving the mode would
// otherwise discard it, since nobody is there to answer the reminder.
void StopAndLeave(const LogRequest& request) {
    if (Mode* active = Modes().Find(App().ActiveMode); active && Logging(*active)) StartStop(*active);
    const bool ownFile = !request.out.isEmpty() && request.mode && App().ActiveMode == request.mode->code;
    if (request.control && !ownFile)
        if (const QString kept = SaveRecoveryFile(platform::FileStamp()); !kept.isEmpty())
            platform::WriteStandardError(QStringLiteral("kelvaro32: the unsaved run was saved to ") + kept +
                                         QLatin1Char('\n'));
    SwitchMode(ModeNone);  // waits out the reply still on its way
}

int Serve(HeadlessRun& run) {
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&run] { run.Tick(); });
    tick.start(100);
    return run.Run();
}

int LogWithMeter(const LogRequest& request, HeadlessRun& run, Mode* entered,
                 std::optional<ControlServer>& control) {
    if (QString error; control && !control->Open(platform::ControlSocketPath(), error)) {
        platform::WriteStandardError(QStringLiteral("kelvaro32: ") + error + QLatin1Char('\n'));
        return kFailed;
    }
    const MeterIdentity& meter = Meter();
    if (!Connect()) return kNoMeter;  // the message, with the doctor's findings, is on standard error
    IdentifyInstrument();
    if (run.Finished()) return run.Status();
    if (!meter.Connected) return kNoMeter;

    if (!entered) {
        run.Started();
        const int status = Serve(run);
        StopAndLeave(request);
        return status;
    }
    Mode& mode = *entered;
    const std::optional<ModeMenuItem> item = MenuItemFor(*request.mode, request.channel, request.relative,
                                                         meter.DeviceType == MeterModel::MeridelTwo);
    if (const QString why = NotOffered(*request.mode, request.channel, item); !why.isEmpty()) {
        platform::WriteStandardError(QStringLiteral("kelvaro32: ") + why + QLatin1Char('\n'));
        return kFailed;
    }
    ModeMenuAction(*item);
    if (run.Finished()) return run.Status();
    if (App().ActiveMode != request.mode->code || !meter.Connected) return kFailed;

    mode.Attach(run);
    StartStop(mode);
    run.Started();
    // The engine told why it did not start (a head that gives no energy, a file that cannot be written).
    if (!run.Finished() && !Logging(mode)) run.Finish(kFailed);
    const int status = Serve(run);
    StopAndLeave(request);
    mode.Detach(run);
    return status;
}

}  // namespace

int RunLogCommand(const QStringList& arguments) {
    const std::variant<LogRequest, int> parsed = ParseLogCommand(arguments);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const LogRequest& request = std::get<LogRequest>(parsed);

    platform::ConsolePrompts console;
    platform::setPrompts(&console);
    platform::WritesToClosedPipesFail();
    ResetAppState();
    ResetLinkState();
    AppState& app = App();
    ShellHooks& hooks = app.Shell;
    hooks.SwitchMode = [](int16_t m) { SwitchMode(m); };
    hooks.ProcessEvents = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    SettleProgramFolders();
    platform::MakeProgramFolders();
    if (!LoadConfiguration()) {
        platform::setPrompts(nullptr);
        return kFailed;
    }
    BuildPortMenu();
    app.RapidPulseAbsolute = true;

    // `--out -`: the engine writes a file of its own, copied to standard output as it grows.
    std::optional<QTemporaryDir> streamFolder;
    QString outPath;
    if (request.out == QLatin1String("-"))
        outPath = streamFolder.emplace().filePath(QStringLiteral("run"));
    else if (!request.out.isEmpty())
        outPath = QFileInfo(request.out).absoluteFilePath();
    ApplyRequest(request, outPath);

    const std::vector<std::unique_ptr<Mode>> engines = RegisterWindowlessModes();
    Mode* mode = request.mode ? Modes().Find(request.mode->code) : nullptr;
    HeadlessRun run(request, mode);
    if (request.out == QLatin1String("-")) run.StreamFrom(outPath);
    hooks.SetDataLogFile = [&run](bool on) {
        CurrentSettings().LogToFile = on;
        // The data file could not be written: the run would go on in memory only.
        if (!on) run.Finish(kFailed);
    };
    // The first Ctrl+C ends the run in order; a second one, while that order
    // waits (on a meter that stopped answering), ends the program at once.
    platform::OnEndSignal([&run](int) {
        if (run.Finished()) {
            platform::WriteStandardError(QStringLiteral("\nkelvaro32: ended at once\n"));
            std::_Exit(kFailed);
        }
        run.Finish(0);
    });
    std::optional<ControlServer> control;
    if (request.control) control.emplace();
    QTimer timer2;  // the reply time-out watch
    QObject::connect(&timer2, &QTimer::timeout, [] { Timer2_Timer(); });
    timer2.start(10);

    const int status = LogWithMeter(request, run, mode, control);
    run.CopyStream();
    run.ShowProgress(true);
    Disconnect();  // writes the traffic log
    timer2.stop();
    control.reset();
    platform::OnEndSignal({});
    app.Shell = ShellHooks{};
    Modes().Clear();
    platform::setPrompts(nullptr);
    return status;
}
