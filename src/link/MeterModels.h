#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

// DeviceType codes.
enum DeviceTypeCode : int16_t {
    DevTalon = 0,
    DevMeridelOne = 1,
    DevMeridelTwo = 2,
    DevTalon2 = 3,
    DevKorvenTH = 4,
    DevKorvenPD = 5,
    DevKorvenPE = 6,
    DevKorvenQX450 = 7,
    DevSirka = 8,
};

// Head type codes (ChannelInfo.HeadType).
enum HeadTypeCode : int16_t {
    HeadNone = 0,
    HeadThermopile = 1,
    HeadPyroelectric = 2,
    HeadPhotodiode = 3,
    HeadNanoJoule = 4,
    HeadRapidPulse = 5,
    HeadPhotometer = 6,
};

// A text searched for in a reply, and the code it stands for.
struct CodeEntry {
    const char* text;
    int16_t code;
};

// The probe reply's model codes, in search order; none means TALON.
std::span<const CodeEntry> ProbeModelCodes();
// A KORVEN's answer to "II", in search order; none keeps KORVEN-TH.
std::span<const CodeEntry> KorvenModelCodes();
// The type word in a head's memory (upper-case hex), in search order.
std::span<const CodeEntry> HeadMemoryCodes();
// Two-letter codes of "HT" replies.
std::span<const CodeEntry> HeadTypeReplyCodes();

// A KORVEN "HI" reply code, the head it stands for and which models take it.
struct KorvenHeadEntry {
    const char* text;
    int16_t headType;
    std::array<int16_t, 2> supportedBy;  // -1 = unused
    const char* noun;                    // as in "This KORVEN does not support <noun> head"
};
std::span<const KorvenHeadEntry> KorvenHeads();
bool Supports(const KorvenHeadEntry& head, int16_t deviceType);

bool IsKorven(int16_t deviceType);
bool IsPyroelectric(int16_t headType);

// The first entry whose text occurs in `text`.
std::optional<int16_t> FindCode(std::span<const CodeEntry> table, const QString& text);
