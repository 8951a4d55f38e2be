#include "link/MeterIdentity.h"

#include "link/MeterIdentityWrite.h"
#include "state/StateReset.h"

namespace {

MeterIdentity g_meter;

// Nothing connected, and the name tables filled (start-up step 1).
void ResetMeterIdentity() {
    g_meter = MeterIdentity{};
    g_meter.HeadTypeNames = {"No head connected", "Thermopile head",  "Pyroelectric head", "Photodiode head",
                             "Pyroelectric head", "Rapid Pulse head", "Photometer head"};
    g_meter.DeviceNames = {"TALON",     "Meridel",   "Meridel",      "Talon2", "KORVEN-TH",
                           "KORVEN-PD", "KORVEN-PE", "KORVEN-QX450", "Sirka"};
}

const ResetWithProgramState kReset{&ResetMeterIdentity};
const bool kFilled = (ResetMeterIdentity(), true);

}  // namespace

const MeterIdentity& Meter() {
    return g_meter;
}

MeterIdentity& WritableMeter() {
    return g_meter;
}

QString MeterIdentity::ModelName() const {
    const auto i = size_t(DeviceType);
    return i < DeviceNames.size() ? DeviceNames[i] : QString();
}

QString MeterIdentity::HeadTypeName(HeadKind head) const {
    const auto i = size_t(head);
    return i < HeadTypeNames.size() ? HeadTypeNames[i] : QString();
}

bool HeadPresent(int16_t channel) {
    if (channel < 0 || channel > 2) return false;
    return g_meter.Channels[size_t(channel)].HeadType != HeadKind::None;
}
