#include "app/ModeMenu.h"

namespace {

bool IsPhoto(HeadKind type) {
    return type == HeadKind::Photodiode || type == HeadKind::Photometer;
}
bool IsPyro(HeadKind type) {
    return IsPyroelectric(type);
}

// Visible groups by model: single-channel meters, the one-channel Meridel
// with its rapid-pulse submenu, the two-channel Meridel, and the KORVENs.
void SetVisible(ModeMenuState& s, MeterModel deviceType) {
    auto show = [&](std::initializer_list<ModeMenuItem> items) {
        for (auto i : items) s[i].visible = true;
    };
    switch (deviceType) {
        case MeterModel::MeridelOne:
            show({mnuMode_Power, mnuMode_Energy, mnuMode_RP, mnuMode_RP_Absolute, mnuMode_RP_Relative,
                  mnuMode_Log, mnuMode_Store, mnuMode_Terminal});
            break;
        case MeterModel::MeridelTwo:
            show({mnuMode_DualPower, mnuMode_DualPower_ChannelA, mnuMode_DualPower_ChannelB,
                  mnuMode_DualPower_Ratio, mnuMode_DualPower_Difference, mnuMode_DualEnergy,
                  mnuMode_DualEnergy_ChannelA, mnuMode_DualEnergy_ChannelB, mnuMode_DualEnergy_Ratio,
                  mnuMode_RP_Dual, mnuMode_RP_Absolute_A, mnuMode_RP_Relative_A, mnuMode_RP_Absolute_B,
                  mnuMode_RP_Relative_B, mnuMode_Log, mnuMode_Store, mnuMode_Terminal});
            break;
        case MeterModel::KorvenTH:
        case MeterModel::KorvenPD:
        case MeterModel::KorvenQX450:
            show({mnuMode_Power, mnuMode_Store, mnuMode_Terminal});
            break;
        case MeterModel::KorvenPE:
            show({mnuMode_Energy, mnuMode_Store, mnuMode_Terminal});
            break;
        default:  // TALON, Talon2, Sirka
            show({mnuMode_Power, mnuMode_Energy, mnuMode_Log, mnuMode_Store, mnuMode_Terminal});
            break;
    }
    // A separator closes each visible group.
    for (auto i :
         {mnuMode_DualPower, mnuMode_Power, mnuMode_DualEnergy, mnuMode_Energy, mnuMode_RP_Dual, mnuMode_RP})
        if (s[i].visible) s[mnuMode_Sep1].visible = true;
    if (s[mnuMode_Log].visible || s[mnuMode_Store].visible) s[mnuMode_Sep2].visible = true;
}

void SetEnabledConnected(ModeMenuState& s, MeterModel deviceType, const std::array<ChannelInfo, 3>& ch) {
    const HeadKind a = ch[0].HeadType;
    const HeadKind b = ch[1].HeadType;
    const bool aPresent = a != HeadKind::None;
    const bool bPresent = b != HeadKind::None;
    s[mnuMode_Log].enabled = s[mnuMode_Store].enabled = s[mnuMode_Terminal].enabled = true;

    switch (deviceType) {
        case MeterModel::MeridelTwo: {
            s[mnuMode_DualPower_ChannelA].enabled = aPresent;
            s[mnuMode_DualPower_ChannelB].enabled = bPresent;
            const bool bothPowerable = aPresent && bPresent && !IsPyro(a) && !IsPyro(b);
            s[mnuMode_DualPower_Ratio].enabled = bothPowerable;
            s[mnuMode_DualPower_Difference].enabled = bothPowerable;
            s[mnuMode_DualPower].enabled =
                s[mnuMode_DualPower_ChannelA].enabled || s[mnuMode_DualPower_ChannelB].enabled;

            s[mnuMode_DualEnergy_ChannelA].enabled = aPresent && !IsPhoto(a);
            s[mnuMode_DualEnergy_ChannelB].enabled = bPresent && !IsPhoto(b);
            const bool sameKind = a == b || (IsPyro(a) && IsPyro(b));
            s[mnuMode_DualEnergy_Ratio].enabled =
                aPresent && bPresent && !IsPhoto(a) && !IsPhoto(b) && sameKind;
            s[mnuMode_DualEnergy].enabled =
                s[mnuMode_DualEnergy_ChannelA].enabled || s[mnuMode_DualEnergy_ChannelB].enabled;

            s[mnuMode_RP_Absolute_A].enabled = s[mnuMode_RP_Relative_A].enabled = a == HeadKind::RapidPulse;
            s[mnuMode_RP_Absolute_B].enabled = s[mnuMode_RP_Relative_B].enabled = b == HeadKind::RapidPulse;
            s[mnuMode_RP_Dual].enabled = a == HeadKind::RapidPulse || b == HeadKind::RapidPulse;
            break;
        }
        case MeterModel::KorvenTH:
        case MeterModel::KorvenPD:
        case MeterModel::KorvenQX450:
            s[mnuMode_Power].enabled = aPresent && ch[0].SupportNote.isEmpty();
            break;
        case MeterModel::KorvenPE:
            s[mnuMode_Energy].enabled = aPresent && ch[0].SupportNote.isEmpty();
            break;
        case MeterModel::MeridelOne:
            s[mnuMode_RP].enabled = s[mnuMode_RP_Absolute].enabled = s[mnuMode_RP_Relative].enabled =
                aPresent && a == HeadKind::RapidPulse;
            [[fallthrough]];
        default:
            s[mnuMode_Power].enabled = aPresent;
            s[mnuMode_Energy].enabled = aPresent && !IsPhoto(a);
            break;
    }
}

}  // namespace

ModeMenuState ComputeModeMenu(MeterModel deviceType, const std::array<ChannelInfo, 3>& channels,
                              bool connected) {
    ModeMenuState s{};
    SetVisible(s, deviceType);
    if (connected) {
        SetEnabledConnected(s, deviceType, channels);
    } else {
        // Only stored files can be shown without a meter.
        s[mnuMode_Store].enabled = true;
    }
    s[mnuMode_Sep1].enabled = s[mnuMode_Sep2].enabled = true;
    return s;
}

const char* ModeMenuItemName(ModeMenuItem item) {
    static const char* const names[ModeMenuItemCount] = {"mnuMode_DualPower",
                                                         "mnuMode_DualPower_ChannelA",
                                                         "mnuMode_DualPower_ChannelB",
                                                         "mnuMode_DualPower_Ratio",
                                                         "mnuMode_DualPower_Difference",
                                                         "mnuMode_Power",
                                                         "mnuMode_DualEnergy",
                                                         "mnuMode_DualEnergy_ChannelA",
                                                         "mnuMode_DualEnergy_ChannelB",
                                                         "mnuMode_DualEnergy_Ratio",
                                                         "mnuMode_Energy",
                                                         "mnuMode_RP_Dual",
                                                         "mnuMode_RP_Absolute_A",
                                                         "mnuMode_RP_Relative_A",
                                                         "mnuMode_RP_Absolute_B",
                                                         "mnuMode_RP_Relative_B",
                                                         "mnuMode_RP",
                                                         "mnuMode_RP_Absolute",
                                                         "mnuMode_RP_Relative",
                                                         "mnuMode_Sep1",
                                                         "mnuMode_Log",
                                                         "mnuMode_Store",
                                                         "mnuMode_Sep2",
                                                         "mnuMode_Terminal"};
    return item >= 0 && item < ModeMenuItemCount ? names[item] : "";
}
