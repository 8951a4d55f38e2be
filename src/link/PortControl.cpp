#include "link/PortControl.h"

#include "link/LinkState.h"
#include "link/MeterIdentityWrite.h"
#include "link/Replug.h"
#include "link/TrafficLog.h"
#include "link/Transaction.h"
#include "platform/Clock.h"
#include "platform/ConnectionDoctor.h"
#include "platform/PortTable.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <cmath>
#include <optional>

namespace {

struct LineErrorText {
    int code;
    const char* text;
};

constexpr LineErrorText kLineErrors[] = {
    {platform::ComEventBreak, "A Break was received!"},
    {platform::ComEventCDTO, "TLSD timeout!"},
    {platform::ComEventCTSTO, "CTS timeout!"},
    {platform::ComEventDSRTO, "DSR timeout!"},
    {platform::ComEventFrame, "Framing error!"},
    {platform::ComEventOverrun, "Overrun error!"},
    {platform::ComEventRxOver, "Receive buffer overflow!"},
    {platform::ComEventRxParity, "Parity error!"},
    {platform::ComEventTxFull, "Transmit buffer overflow!"},
};

// Why the last connect failed, when the system can tell more than the message.
std::optional<platform::PortTrouble> g_trouble;

// What a lost connection leaves for the status strip and the next connect.
struct LostPort {
    bool lost = false;  // the connected device went away
    bool back = false;  // ... and is there again, but has not answered yet
    int port = 0;
    QString device;
    QString stableName;  // its /dev/serial/by-id name, when it had one
    double since = 0;    // monotonic time of the loss
    double nextTry = 0;  // a device back but silent is probed again from then on
};
LostPort g_lost;
QString g_connectedStableName;
QString g_reconnected;  // "Reconnected at ..." while the connection after a loss lasts
bool g_quiet = false;   // connecting by itself: a busy port is no reason to speak

// A device that is back but does not answer is probed again this much later:
// a probe of every rate holds the program for more than a second.
constexpr double kRetrySeconds = 5.0;

// `text`, and after a blank line what the system shows about `trouble`.
QString WithFinding(const QString& text, platform::PortTrouble trouble, int n, const QString& device) {
    const QString finding = platform::Diagnose(trouble, n, device, platform::systemView());
    return finding.isEmpty() ? text : text + QStringLiteral("\n\n") + finding;
}

void ReportInUse(platform::SerialPort& port, int n) {
    platform::prompts().Beep();
    platform::prompts().Message(
        WithFinding(QStringLiteral("COM%1: is currently being used by another device.").arg(n),
                    platform::PortTrouble::InUse, n, port.DevicePath()),
        QStringLiteral("Comm. Port Error"), platform::Icon::Exclamation);
    if (App().Shell.SwitchMode) App().Shell.SwitchMode(ModeNone);
}

// One rate of the probe: true when a line end arrived in time.
bool ProbeRate(platform::SerialPort& port, int position) {
    ProtocolState& s = Link();
    const qsizetype tryStart = s.ProbeBuffer.size();
    port.Output(QByteArrayLiteral("$VE\r"));

    const double deadline = platform::clock().Monotonic() + 0.02 + 0.04 * position * position;
    for (;;) {
        if (port.InBufferCount() > 0) {
            s.ProbeBuffer += QString::fromLatin1(port.Input());
            // Noise received at a wrong rate stays in ProbeBuffer but is no
            // answer: only this try's characters can end the probe.
            const QString thisTry = s.ProbeBuffer.mid(tryStart);
            const qsizetype lf = thisTry.indexOf(QLatin1Char('\n'));
            if (lf >= 0) {
                s.VersionReply = lf >= 2 ? thisTry.mid(1, lf - 2) : QString();
                return true;
            }
        }
        const double now = platform::clock().Monotonic();
        if (now >= deadline) return false;
        port.WaitForInput(deadline - now);
    }
}

}  // namespace

bool PortExists(int n) {
    if (n < 1 || n > platform::PortTable::kPorts) return false;
    return platform::portTable().Exists(n);
}

void ReloadPortTable() {
    platform::PortTable& table = platform::portTable();
    table = platform::PortTable::FromCurrentDirectory();
    const QString forced = platform::commandLinePort();
    if (forced.isEmpty()) return;
    int16_t& port = CurrentSettings().CommPort;
    if (port < 1 || port > platform::PortTable::kPorts) port = 1;
    table.SetDevice(port, forced);
}

std::array<bool, 17> BuildPortMenu() {
    g_lost = LostPort{};  // start-up: nothing was lost yet
    ReloadPortTable();
    std::array<bool, 17> exists{};
    int first = 0;
    for (int n = 1; n <= platform::PortTable::kPorts; ++n) {
        exists[n] = PortExists(n);
        if (exists[n] && first == 0) first = n;
    }
    int16_t& port = CurrentSettings().CommPort;
    // A device named on the command line stays the port even when it is
    // missing: the connect then says why.
    const bool forced = !platform::commandLinePort().isEmpty();
    if (!forced && (port < 1 || port > platform::PortTable::kPorts || !exists[port]))
        port = static_cast<int16_t>(first);
    SaveConfiguration();
    return exists;
}

bool OpenCommPort(platform::SerialPort& port, int n) {
    if (Meter().Connected) return true;
    ProtocolState& s = Link();
    g_trouble.reset();
    if (port.IsOpen()) port.Close();
    // No receive events while probing: the probe reads the port itself.
    port.SetThresholds(0, 0);
    port.SetCommPort(n);
    s.VersionReply.clear();
    s.ProbeBuffer.clear();

    bool found = false;
    for (int i = 0; i < static_cast<int>(kProbeRates.size()) && !found; ++i) {
        if (!port.SetSettings(QStringLiteral("%1, N, 8, 1").arg(kProbeRates[i]))) return false;
        switch (port.Open()) {
            case platform::OpenResult::Ok:
                break;
            case platform::OpenResult::InUse:
                if (g_quiet) {
                    g_trouble = platform::PortTrouble::InUse;
                    return false;
                }
                ReportInUse(port, n);
                return false;
            case platform::OpenResult::Failed:
                g_trouble = platform::PortTrouble::OpenFailed;
                return false;
        }
        port.SetDTR(true);
        port.SetRTS(true);
        found = ProbeRate(port, i);
        if (!found) port.Close();
    }
    if (!found) {
        g_trouble = platform::PortTrouble::NoAnswer;
        return false;
    }

    port.SetThresholds(1, 1);
    port.OnComm = [](int code) { MSComm1_OnComm(code); };
    TrafficLog(TrafficClear);
    platform::Clock& clock = platform::clock();
    LogLine(QStringLiteral("Log file was open on %1 at %2").arg(clock.DateText(), clock.TimeText()));
    return true;
}

namespace {

// Opens CommPort and marks the connection; false with nothing told.
bool OpenConnection() {
    platform::SerialPort& port = platform::serialPort();
    if (!OpenCommPort(port, CurrentSettings().CommPort)) return false;
    platform::Clock& clock = platform::clock();
    g_reconnected = g_lost.lost ? QStringLiteral("Reconnected at %1 after %2 s")
                                      .arg(clock.TimeText())
                                      .arg(std::llround(clock.Monotonic() - g_lost.since))
                                : QString();
    g_lost = LostPort{};
    g_connectedStableName =
        port.DevicePath().isEmpty() ? QString() : platform::systemView().StableName(port.DevicePath());
    WritableMeter().Connected = true;
    if (App().Shell.CheckPort) App().Shell.CheckPort(CurrentSettings().CommPort);
    return true;
}

void TellLoss(const QString& text) {
    static bool showing = false;
    platform::prompts().Beep();
    // One box for a night of losses: the status strip tells the rest.
    if (showing) return;
    showing = true;
    platform::prompts().Message(text);
    showing = false;
}

}  // namespace

bool Connect() {
    MeterIdentity& meter = WritableMeter();
    if (meter.Connected) return true;
    // After a loss the device may be back under a new path (the watch has
    // already looked, and may have put the stable name in the table).
    if (g_lost.lost && !g_lost.back) ReloadPortTable();
    if (!OpenConnection()) {
        const QString text = QStringLiteral("Can not communicate with the instrument");
        platform::prompts().Beep();
        // After the in-use message the finding has been told already.
        platform::prompts().Message(g_trouble ? WithFinding(text, *g_trouble, CurrentSettings().CommPort,
                                                            platform::serialPort().DevicePath())
                                              : text);
        meter.DeviceType = MeterModel::Talon;
        return false;
    }
    return true;
}

void Disconnect() {
    MeterIdentity& meter = WritableMeter();
    if (!meter.Connected) return;
    RememberMeter();
    g_reconnected.clear();
    platform::serialPort().Close();
    meter.Connected = false;
    // Nothing can answer a closed port: no time-out may fire for it.
    Link().ReplyReceived = true;
    platform::Clock& clock = platform::clock();
    LogLine(QStringLiteral("Log closed on %1 at %2").arg(clock.DateText(), clock.TimeText()));
    TrafficLog(TrafficSave);
}

void LinkLost() {
    AppState& app = App();
    if (!Meter().Connected) return;
    const int n = CurrentSettings().CommPort;
    const QString device = platform::portTable().Device(n);
    g_lost = LostPort{true, false, n, device, g_connectedStableName, platform::clock().Monotonic(), 0};
    LogLine(QStringLiteral("Connection lost: %1 was removed").arg(device));
    CutRun(true);
    Disconnect();
    if (app.Shell.ConnectionLost) app.Shell.ConnectionLost();
    // The event loop runs on under the box, so the device's return is seen
    // and the run resumes while the box waits for the user.
    TellLoss(WithFinding(QStringLiteral("Timeout! Connection Lost!"), platform::PortTrouble::Removed, n, device));
}

bool WatchLostPort() {
    // A port the user chose meanwhile is theirs to connect.
    if (!g_lost.lost || Meter().Connected || CurrentSettings().CommPort != g_lost.port) return false;
    if (platform::clock().Monotonic() < g_lost.nextTry) return false;
    ReloadPortTable();
    const platform::SystemView& system = platform::systemView();
    platform::PortTable& table = platform::portTable();
    QString device = table.Device(g_lost.port);
    // A USB adapter may come back under another ttyUSB number; its stable
    // name follows it, so this run uses that name for the port.
    if (!g_lost.stableName.isEmpty() && system.Exists(g_lost.stableName) &&
        system.StableName(device) != g_lost.stableName) {
        device = g_lost.stableName;
        table.SetDevice(g_lost.port, device);
    }
    if (device.isEmpty() || !system.Exists(device)) {
        g_lost.back = false;
        return false;
    }
    g_lost.back = true;
    g_lost.device = device;
    g_quiet = true;
    const bool connected = OpenConnection();
    g_quiet = false;
    if (!connected) g_lost.nextTry = platform::clock().Monotonic() + kRetrySeconds;
    return connected;
}

bool WaitingForLostPort() {
    return g_lost.lost && !Meter().Connected;
}

bool ProbeAgain() {
    MeterIdentity& meter = WritableMeter();
    if (!meter.Connected) return false;
    platform::SerialPort& port = platform::serialPort();
    const int n = CurrentSettings().CommPort;
    meter.Connected = false;  // the probe opens a port that is not in use
    g_quiet = true;
    meter.Connected = OpenCommPort(port, n);
    g_quiet = false;
    if (meter.Connected) return true;
    // Gone again: the watch waits for it as after a loss.
    const QString device = platform::portTable().Device(n);
    const double now = platform::clock().Monotonic();
    g_lost = LostPort{true, false, n, device, g_connectedStableName, now, now + kRetrySeconds};
    g_reconnected.clear();
    if (App().Shell.ConnectionLost) App().Shell.ConnectionLost();
    return false;
}

QString PortStatusText() {
    if (Meter().Connected) {
        const int n = CurrentSettings().CommPort;
        const QString baud = platform::serialPort().Settings().section(QLatin1Char(','), 0, 0).trimmed();
        const QString text = QStringLiteral("COM%1 (%2), %3 baud, %4")
                                 .arg(n)
                                 .arg(platform::portTable().Device(n), baud, Meter().ModelName());
        return g_reconnected.isEmpty() ? text : text + QStringLiteral(". ") + g_reconnected;
    }
    if (g_lost.back)
        return QStringLiteral("Not connected. COM%1 (%2) is back but does not answer yet.")
            .arg(g_lost.port)
            .arg(g_lost.device);
    if (g_lost.lost)
        return QStringLiteral("Not connected. COM%1 (%2) was removed.").arg(g_lost.port).arg(g_lost.device);
    return QStringLiteral("Not connected");
}

void MSComm1_OnComm(int code) {
    if (code == platform::ComEvReceive) {
        ReceiveEvent();
        return;
    }
    if (code == platform::ComEventDeviceLost) {
        LinkLost();
        return;
    }
    for (const LineErrorText& e : kLineErrors) {
        if (e.code == code) {
            LogLine(QString::fromLatin1(e.text));
            return;
        }
    }
}
