#include "link/PortControl.h"

#include "link/LinkState.h"
#include "link/TrafficLog.h"
#include "link/Transaction.h"
#include "platform/Clock.h"
#include "platform/PortTable.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

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

void ReportInUse(int n) {
    platform::prompts().Beep();
    platform::prompts().Message(QStringLiteral("COM%1: is currently being used by another device.").arg(n),
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

std::array<bool, 17> BuildPortMenu() {
    platform::portTable() = platform::PortTable::FromCurrentDirectory();
    std::array<bool, 17> exists{};
    int first = 0;
    for (int n = 1; n <= platform::PortTable::kPorts; ++n) {
        exists[n] = PortExists(n);
        if (exists[n] && first == 0) first = n;
    }
    int16_t& port = App().Config.CommPort;
    if (port < 1 || port > platform::PortTable::kPorts || !exists[port]) port = static_cast<int16_t>(first);
    SaveConfiguration();
    return exists;
}

bool OpenCommPort(platform::SerialPort& port, int n) {
    if (App().Connected) return true;
    ProtocolState& s = Link();
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
                ReportInUse(n);
                return false;
            case platform::OpenResult::Failed:
                return false;
        }
        port.SetDTR(true);
        port.SetRTS(true);
        found = ProbeRate(port, i);
        if (!found) port.Close();
    }
    if (!found) return false;

    port.SetThresholds(1, 1);
    port.OnComm = [] { MSComm1_OnComm(); };
    TrafficLog(TrafficClear);
    platform::Clock& clock = platform::clock();
    LogLine(QStringLiteral("Log file was open on %1 at %2").arg(clock.DateText(), clock.TimeText()));
    return true;
}

bool Connect() {
    AppState& app = App();
    if (app.Connected) return true;
    if (!OpenCommPort(platform::serialPort(), app.Config.CommPort)) {
        platform::prompts().Beep();
        platform::prompts().Message(QStringLiteral("Can not communicate with the instrument"));
        app.DeviceType = 0;
        return false;
    }
    app.Connected = true;
    if (app.Shell.CheckPort) app.Shell.CheckPort(app.Config.CommPort);
    return true;
}

void Disconnect() {
    AppState& app = App();
    if (!app.Connected) return;
    platform::serialPort().Close();
    app.Connected = false;
    // Nothing can answer a closed port: no time-out may fire for it.
    Link().ReplyReceived = true;
    platform::Clock& clock = platform::clock();
    LogLine(QStringLiteral("Log closed on %1 at %2").arg(clock.DateText(), clock.TimeText()));
    TrafficLog(TrafficSave);
}

void MSComm1_OnComm() {
    const int code = platform::serialPort().CommEvent();
    if (code == platform::ComEvReceive) {
        ReceiveEvent();
        return;
    }
    for (const LineErrorText& e : kLineErrors) {
        if (e.code == code) {
            LogLine(QString::fromLatin1(e.text));
            return;
        }
    }
}
