#include "app/ControlModes.h"

#include "automation/LogRequest.h"
#include "dual/EnergyRatioEngine.h"
#include "energy/EnergyEngine.h"
#include "link/MeterIdentity.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"

std::optional<ModeMenuItem> MenuItemFor(const ModeName& mode, int16_t channel, bool relative,
                                        bool twoChannelMeter) {
    const bool b = channel == 1;
    if (!twoChannelMeter && b) return std::nullopt;
    switch (mode.code) {
        case ModePower:
            return twoChannelMeter ? (b ? mnuMode_DualPower_ChannelB : mnuMode_DualPower_ChannelA)
                                   : mnuMode_Power;
        case ModeEnergy:
            return twoChannelMeter ? (b ? mnuMode_DualEnergy_ChannelB : mnuMode_DualEnergy_ChannelA)
                                   : mnuMode_Energy;
        case ModeRapidPulse:
            if (!twoChannelMeter) return relative ? mnuMode_RP_Relative : mnuMode_RP_Absolute;
            if (b) return relative ? mnuMode_RP_Relative_B : mnuMode_RP_Absolute_B;
            return relative ? mnuMode_RP_Relative_A : mnuMode_RP_Absolute_A;
        case ModePowerRatio:
            return twoChannelMeter ? std::optional(mnuMode_DualPower_Ratio) : std::nullopt;
        case ModePowerDifference:
            return twoChannelMeter ? std::optional(mnuMode_DualPower_Difference) : std::nullopt;
        case ModeEnergyRatio:
            return twoChannelMeter ? std::optional(mnuMode_DualEnergy_Ratio) : std::nullopt;
        default:
            return std::nullopt;
    }
}

QString NotOffered(const ModeName& mode, int16_t channel, const std::optional<ModeMenuItem>& item) {
    const MeterIdentity& meter = Meter();
    const ModeMenuState menu = ComputeModeMenu(meter.DeviceType, meter.Channels, meter.Connected);
    if (item && menu[*item].visible && menu[*item].enabled) return {};
    return QStringLiteral("%1 logging%2 is not offered by the %3 with the heads connected")
        .arg(QLatin1String(mode.name),
             mode.twoChannels ? QString() : QStringLiteral(" on channel ") + QChar(channel ? 'B' : 'A'),
             meter.ModelName());
}

void StartStop(Mode& mode) {
    if (auto* power = dynamic_cast<PowerEngine*>(&mode)) power->StartStop();
    if (auto* pulses = dynamic_cast<PulseRun*>(&mode)) pulses->StartStop();
}

bool ResetRun(Mode& mode) {
    if (auto* power = dynamic_cast<PowerEngine*>(&mode))
        power->Reset(false);
    else if (auto* energy = dynamic_cast<EnergyEngine*>(&mode))
        energy->Reset(false);
    else if (auto* ratio = dynamic_cast<EnergyRatioEngine*>(&mode))
        ratio->Reset(false);
    else
        return false;
    return true;
}

bool Logging(const Mode& mode) {
    const std::optional<RunProgress> p = mode.Progress();
    return p && p->Logging;
}
