#include "app/ModeSwitch.h"

#include "link/Dispatch.h"
#include "link/HeadDetection.h"
#include "link/LinkState.h"
#include "link/MeterIdentity.h"
#include "link/Transaction.h"
#include "state/AppState.h"
#include "state/Mode.h"

namespace {

void Leave(int16_t code) {
    Mode* mode = Modes().Find(code);
    if (mode) mode->End();
}

void Enter(int16_t code) {
    Mode* mode = Modes().Find(code);
    if (!mode) return;
    const ModeTraits traits = mode->Traits(code);
    const QString command = App().ModeCommand;
    if (traits.Start == StartOrder::BeforeBegin) StartMeasurement(true, command);
    mode->Begin();
    if (traits.Start == StartOrder::AfterBegin) StartMeasurement(true, command);
}

// One row of the Mode-menu action table.
struct Action {
    ModeMenuItem item;
    int16_t newMode;
    int16_t channel;      // channel selected first, -1 none
    int16_t energyOf;     // "FE S" instead of "FE" when this channel has a rapid-pulse head; -1 none
    const char* command;  // for energy rows the plain "FE"
    int8_t absolute;      // RapidPulseAbsolute: 1 True, 0 False, -1 unchanged
    bool leaveFirst;
    bool hasAlready;  // "already running" test: mode, channel (when selected) and absolute
};

constexpr Action kActions[] = {
    {mnuMode_Power, ModePower, -1, -1, "FP", -1, false, false},
    {mnuMode_Energy, ModeEnergy, -1, 0, "FE", -1, false, false},
    {mnuMode_RP_Absolute, ModeRapidPulse, -1, -1, "FE A", 1, true, true},
    {mnuMode_RP_Relative, ModeRapidPulse, -1, -1, "FE R", 0, true, true},
    {mnuMode_DualPower_ChannelA, ModePower, 0, -1, "FP", -1, true, true},
    {mnuMode_DualPower_ChannelB, ModePower, 1, -1, "FP", -1, true, true},
    {mnuMode_DualPower_Ratio, ModePowerRatio, -1, -1, "FC 3 0 0", -1, false, false},
    {mnuMode_DualPower_Difference, ModePowerDifference, -1, -1, "FC 5 0 0", -1, false, false},
    {mnuMode_DualEnergy_ChannelA, ModeEnergy, 0, 0, "FE", -1, true, true},
    {mnuMode_DualEnergy_ChannelB, ModeEnergy, 1, 1, "FE", -1, true, true},
    {mnuMode_DualEnergy_Ratio, ModeEnergyRatio, -1, -1, "FC 3 1 1", -1, false, false},
    {mnuMode_RP_Absolute_A, ModeRapidPulse, 0, -1, "FE A", 1, true, true},
    {mnuMode_RP_Relative_A, ModeRapidPulse, 0, -1, "FE R", 0, true, true},
    {mnuMode_RP_Absolute_B, ModeRapidPulse, 1, -1, "FE A", 1, true, true},
    {mnuMode_RP_Relative_B, ModeRapidPulse, 1, -1, "FE R", 0, true, true},
};

bool AlreadyRunning(const Action& a) {
    const AppState& s = App();
    if (!a.hasAlready || s.ActiveMode != a.newMode) return false;
    if (a.channel >= 0 && Meter().CurrentChannel != a.channel) return false;
    if (a.absolute >= 0 && s.RapidPulseAbsolute != (a.absolute == 1)) return false;
    return true;
}

}  // namespace

bool MayLeaveActiveMode() {
    Mode* mode = Modes().Find(App().ActiveMode);
    return !mode || mode->MayLeave();
}

bool SwitchMode(int16_t newMode) {
    AppState& s = App();
    if (newMode == s.ActiveMode) {
        const Mode* mode = Modes().Find(newMode);
        if (!mode || !mode->Traits(newMode).Reenters) return true;
    }
    // Asked before anything closes, so that Cancel leaves everything as it was.
    if (!MayLeaveActiveMode()) return false;

    Leave(s.ActiveMode);
    if (s.Shell.ClearNotes) s.Shell.ClearNotes();

    // A late reply must reach no window while the old one is gone.
    if (!Link().ReplyReceived) {
        s.ActiveMode = ModeNone;
        while (!Link().ReplyReceived && Meter().Connected) ProcessEventsOnce();
    }

    s.ActiveMode = newMode;
    Enter(newMode);
    return true;
}

int16_t ModeOfItem(ModeMenuItem item) {
    switch (item) {
        case mnuMode_Log:
            return ModeDeviceFile;
        case mnuMode_Store:
            return ModePcFile;
        case mnuMode_Terminal:
            return ModeTerminal;
        default:
            for (const Action& a : kActions)
                if (a.item == item) return a.newMode;
            return ModeNone;
    }
}

void ModeMenuAction(ModeMenuItem item) {
    if (item == mnuMode_Log || item == mnuMode_Store || item == mnuMode_Terminal) {
        SwitchMode(ModeOfItem(item));
        return;
    }
    for (const Action& a : kActions) {
        if (a.item != item) continue;
        if (AlreadyRunning(a)) return;
        // The reminder comes before the meter is put on another channel.
        if ((a.leaveFirst || a.newMode != App().ActiveMode) && !MayLeaveActiveMode()) return;
        if (a.channel >= 0) SelectChannel(true, a.channel);
        if (a.leaveFirst) SwitchMode(ModeNone);
        AppState& s = App();
        s.ModeCommand = a.command;
        if (a.energyOf >= 0 && Meter().Channels[size_t(a.energyOf)].HeadType == HeadKind::RapidPulse)
            s.ModeCommand = "FE S";
        if (a.absolute >= 0) s.RapidPulseAbsolute = a.absolute == 1;
        SwitchMode(a.newMode);
        return;
    }
}
