#include "link/Replug.h"

#include "link/Dispatch.h"
#include "link/HeadDetection.h"
#include "link/Identification.h"
#include "link/PortControl.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Mode.h"

#include <optional>
#include <utility>

namespace {

constexpr int kProbesAgain = 3;

std::optional<MeterIdentity> g_cutFrom;
QString g_cutCommand;  // the Mode menu's command of the cut run: identification sends its own
bool g_cutLogging = false;  // the run was logging when the line was lost

// "XLP12 s/n 123456", or "no head".
QString HeadText(const ChannelInfo& c) {
    if (c.HeadType == HeadKind::None) return QStringLiteral("no head");
    QString serial = c.HeadSerial;
    serial.remove(QStringLiteral("; s/n"));
    serial = serial.trimmed();
    return serial.isEmpty() ? c.HeadName : QStringLiteral("%1 s/n %2").arg(c.HeadName, serial);
}

bool SameHead(const ChannelInfo& a, const ChannelInfo& b) {
    return a.HeadType == b.HeadType && a.HeadName == b.HeadName && a.HeadSerial == b.HeadSerial;
}

}  // namespace

void RememberMeter() {
    if (!Meter().Connected) return;
    g_cutFrom = Meter();
    g_cutCommand = App().ModeCommand;
}

void CutRun(bool resumable) {
    Mode* mode = Modes().Find(App().ActiveMode);
    const std::optional<RunProgress> run = mode ? mode->Progress() : std::nullopt;
    g_cutLogging = resumable && run && run->Logging;
    if (mode) mode->Interrupt();
}

QString ReplugDifference(const MeterIdentity& before, const MeterIdentity& now, bool bothChannels) {
    if (before.DeviceType != now.DeviceType)
        return QStringLiteral("The meter is back as %1 instead of %2").arg(now.ModelName(), before.ModelName());
    const int16_t only = before.CurrentChannel >= 0 && before.CurrentChannel <= 2 ? before.CurrentChannel : 0;
    for (int16_t c = bothChannels ? 0 : only; c <= (bothChannels ? 1 : only); ++c) {
        const ChannelInfo& was = before.Channels[size_t(c)];
        const ChannelInfo& is = now.Channels[size_t(c)];
        if (SameHead(was, is)) continue;
        const QString head = is.HeadType == HeadKind::None ? HeadText(is) : QStringLiteral("head ") + HeadText(is);
        return QStringLiteral("The meter is back with %1 on channel %2 instead of %3")
            .arg(head, c == 1 ? QStringLiteral("B") : QStringLiteral("A"), HeadText(was));
    }
    return QString();
}

void ResumeAfterCut() {
    if (!g_cutFrom || !Meter().Connected) return;
    const MeterIdentity before = *std::exchange(g_cutFrom, std::nullopt);
    AppState& app = App();
    app.ModeCommand = g_cutCommand;
    Mode* mode = Modes().Find(app.ActiveMode);
    if (!mode) return;
    const ModeTraits traits = mode->Traits(app.ActiveMode);
    // The terminal and the meter's own logs have no run to pick up.
    if (!traits.HoldsLink || traits.Start == StartOrder::None) return;
    const std::optional<RunProgress> run = mode->Progress();
    const bool hasRun = run && (run->Active || run->Logging);
    QString differs = ReplugDifference(before, Meter(), traits.ReadsBothChannels);
    // A probe answered late on a busy machine can misname the meter: it is
    // probed and identified again, a few times, before the run is given up.
    for (int again = 0; again < kProbesAgain && hasRun && !differs.isEmpty(); ++again) {
        if (!ProbeAgain()) {
            g_cutFrom = before;
            return;
        }
        IdentifyInstrument();
        differs = ReplugDifference(before, Meter(), traits.ReadsBothChannels);
    }
    if (hasRun && !differs.isEmpty()) {
        mode->Interrupt();
        platform::prompts().Beep();
        platform::prompts().Message(differs + QStringLiteral(": the run was not resumed. What was logged can be saved."),
                                    QStringLiteral("Kelvaro32"), platform::Icon::Exclamation);
        return;
    }
    // Identification leaves a two-channel meter on a channel of its choosing.
    if (!traits.ReadsBothChannels) SelectChannel(true, before.CurrentChannel);
    StartMeasurement(true, app.ModeCommand);
    if (hasRun && std::exchange(g_cutLogging, false)) mode->Resume();
}
