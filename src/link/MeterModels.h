#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

// The meter models the program knows (MeterIdentity::DeviceType); the value
// is the model's index in the model-name table.
enum class MeterModel : int16_t {
    Talon = 0,
    MeridelOne = 1,
    MeridelTwo = 2,
    Talon2 = 3,
    KorvenTH = 4,
    KorvenPD = 5,
    KorvenPE = 6,
    KorvenQX450 = 7,
    Sirka = 8,
};
inline constexpr int kMeterModelCount = 9;

// The measuring heads (ChannelInfo::HeadType); the value is the head's index
// in the head-name table.
enum class HeadKind : int16_t {
    None = 0,
    Thermopile = 1,
    Pyroelectric = 2,
    Photodiode = 3,
    NanoJoule = 4,
    RapidPulse = 5,
    Photometer = 6,
};
inline constexpr int kHeadKindCount = 7;

// A text searched for in a reply, and the code it stands for.
template <class Code>
struct CodeEntry {
    const char* text;
    Code code;
};

// The probe reply's model codes, in search order; none means TALON.
std::span<const CodeEntry<MeterModel>> ProbeModelCodes();
// A KORVEN's answer to "II", in search order; none keeps KORVEN-TH.
std::span<const CodeEntry<MeterModel>> KorvenModelCodes();
// The type word in a head's memory (upper-case hex), in search order.
std::span<const CodeEntry<HeadKind>> HeadMemoryCodes();
// Two-letter codes of "HT" replies.
std::span<const CodeEntry<HeadKind>> HeadTypeReplyCodes();

// A KORVEN "HI" reply code, the head it stands for and which models take it.
struct KorvenHeadEntry {
    const char* text;
    HeadKind headType;
    std::array<std::optional<MeterModel>, 2> supportedBy;
    const char* noun;  // as in "This KORVEN does not support <noun> head"
};
std::span<const KorvenHeadEntry> KorvenHeads();
bool Supports(const KorvenHeadEntry& head, MeterModel deviceType);

bool IsKorven(MeterModel deviceType);
bool IsPyroelectric(HeadKind headType);

// The first entry whose text occurs in `text`.
template <class Code>
std::optional<Code> FindCode(std::span<const CodeEntry<Code>> table, const QString& text) {
    for (const CodeEntry<Code>& e : table) {
        if (text.contains(QLatin1String(e.text))) return e.code;
    }
    return std::nullopt;
}
