#pragma once

#include "sim/Meter.h"

#include <QString>
#include <array>

namespace sim {

constexpr int kHeadMemoryWords = 64;
constexpr int kSerialAddress = 0x16;  // two words, low word first
constexpr int kNameAddress = 0x1B;    // six words, two characters each
constexpr int kTypeAddress = 0x22;    // one word

// The memory a head carries, as "RB" reads it: 16-bit words, text stored
// two characters a word, the first character in the low byte.
class HeadMemory {
public:
    explicit HeadMemory(const HeadSpec& head);
    quint16 Word(int address) const;

private:
    std::array<quint16, kHeadMemoryWords> words_{};
};

// The KORVEN answer to "HI": "*", the head code padded to 4, the serial
// number, a blank and the 12-character name ("*TH  123456 3A          ").
QString KorvenHeadReply(const HeadSpec& head);

}  // namespace sim
