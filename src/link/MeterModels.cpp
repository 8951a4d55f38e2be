#include "link/MeterModels.h"

#include <array>

namespace {

using M = MeterModel;
using H = HeadKind;

constexpr std::array<CodeEntry<MeterModel>, 4> kProbeModels{{
    {"QZ", M::MeridelOne},
    {"TL", M::Talon2},
    {"SK", M::Sirka},
    {"KV", M::KorvenTH},
}};

constexpr std::array<CodeEntry<MeterModel>, 4> kKorvenModels{{
    {"PE", M::KorvenPE},
    {"TH", M::KorvenTH},
    {"QX450", M::KorvenQX450},
    {"PD", M::KorvenPD},
}};

constexpr std::array<CodeEntry<HeadKind>, 4> kHeadMemory{{
    {"5950", H::Pyroelectric},
    {"4854", H::Thermopile},
    {"4953", H::Photodiode},
    {"4A4E", H::NanoJoule},
}};

constexpr std::array<CodeEntry<HeadKind>, 6> kHeadTypeReplies{{
    {"TH", H::Thermopile},
    {"SI", H::Photodiode},
    {"PY", H::Pyroelectric},
    {"NJ", H::NanoJoule},
    {"RP", H::RapidPulse},
    {"LX", H::Photometer},
}};

constexpr std::array<KorvenHeadEntry, 5> kKorvenHeads{{
    {"PY", H::Pyroelectric, {M::KorvenPE, std::nullopt}, "pyroelectric"},
    {"TH", H::Thermopile, {M::KorvenTH, std::nullopt}, "thermopile"},
    {"SI", H::Photodiode, {M::KorvenPD, std::nullopt}, "photodiode"},
    {"NJ", H::NanoJoule, {M::KorvenPE, std::nullopt}, "nj-meter"},
    {"QX450", H::Photodiode, {M::KorvenQX450, M::KorvenPD}, "QX450"},
}};

}  // namespace

std::span<const CodeEntry<MeterModel>> ProbeModelCodes() {
    return kProbeModels;
}
std::span<const CodeEntry<MeterModel>> KorvenModelCodes() {
    return kKorvenModels;
}
std::span<const CodeEntry<HeadKind>> HeadMemoryCodes() {
    return kHeadMemory;
}
std::span<const CodeEntry<HeadKind>> HeadTypeReplyCodes() {
    return kHeadTypeReplies;
}
std::span<const KorvenHeadEntry> KorvenHeads() {
    return kKorvenHeads;
}

bool Supports(const KorvenHeadEntry& head, MeterModel deviceType) {
    for (const std::optional<MeterModel>& m : head.supportedBy) {
        if (m == deviceType) return true;
    }
    return false;
}

bool IsKorven(MeterModel deviceType) {
    return deviceType >= MeterModel::KorvenTH && deviceType <= MeterModel::KorvenQX450;
}

bool IsPyroelectric(HeadKind headType) {
    return headType == HeadKind::Pyroelectric || headType == HeadKind::NanoJoule;
}
