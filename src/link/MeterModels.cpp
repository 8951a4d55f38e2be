#include "link/MeterModels.h"

#include <array>

namespace {

constexpr std::array<CodeEntry, 4> kProbeModels{{
    {"QZ", DevMeridelOne},
    {"TL", DevTalon2},
    {"SK", DevSirka},
    {"KV", DevKorvenTH},
}};

constexpr std::array<CodeEntry, 4> kKorvenModels{{
    {"PE", DevKorvenPE},
    {"TH", DevKorvenTH},
    {"QX450", DevKorvenQX450},
    {"PD", DevKorvenPD},
}};

constexpr std::array<CodeEntry, 4> kHeadMemory{{
    {"5950", HeadPyroelectric},
    {"4854", HeadThermopile},
    {"4953", HeadPhotodiode},
    {"4A4E", HeadNanoJoule},
}};

constexpr std::array<CodeEntry, 6> kHeadTypeReplies{{
    {"TH", HeadThermopile},
    {"SI", HeadPhotodiode},
    {"PY", HeadPyroelectric},
    {"NJ", HeadNanoJoule},
    {"RP", HeadRapidPulse},
    {"LX", HeadPhotometer},
}};

constexpr std::array<KorvenHeadEntry, 5> kKorvenHeads{{
    {"PY", HeadPyroelectric, {DevKorvenPE, -1}, "pyroelectric"},
    {"TH", HeadThermopile, {DevKorvenTH, -1}, "thermopile"},
    {"SI", HeadPhotodiode, {DevKorvenPD, -1}, "photodiode"},
    {"NJ", HeadNanoJoule, {DevKorvenPE, -1}, "nj-meter"},
    {"QX450", HeadPhotodiode, {DevKorvenQX450, DevKorvenPD}, "QX450"},
}};

}  // namespace

std::span<const CodeEntry> ProbeModelCodes() {
    return kProbeModels;
}
std::span<const CodeEntry> KorvenModelCodes() {
    return kKorvenModels;
}
std::span<const CodeEntry> HeadMemoryCodes() {
    return kHeadMemory;
}
std::span<const CodeEntry> HeadTypeReplyCodes() {
    return kHeadTypeReplies;
}
std::span<const KorvenHeadEntry> KorvenHeads() {
    return kKorvenHeads;
}

bool Supports(const KorvenHeadEntry& head, int16_t deviceType) {
    for (int16_t m : head.supportedBy) {
        if (m == deviceType) return true;
    }
    return false;
}

bool IsKorven(int16_t deviceType) {
    return deviceType >= DevKorvenTH && deviceType <= DevKorvenQX450;
}

bool IsPyroelectric(int16_t headType) {
    return headType == HeadPyroelectric || headType == HeadNanoJoule;
}

std::optional<int16_t> FindCode(std::span<const CodeEntry> table, const QString& text) {
    for (const CodeEntry& e : table) {
        if (text.contains(QLatin1String(e.text))) return e.code;
    }
    return std::nullopt;
}
