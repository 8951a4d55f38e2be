#include "sim/HeadMemory.h"

#include "sim/Models.h"

namespace sim {

HeadMemory::HeadMemory(const HeadSpec& head) {
    if (head.type == 0) return;  // nothing plugged in reads as zeros
    words_[kSerialAddress] = quint16(head.serial & 0xFFFF);
    words_[kSerialAddress + 1] = quint16(head.serial >> 16);
    QByteArray name = head.name.toLatin1().left(12).leftJustified(12, ' ');
    for (int i = 0; i < 6; ++i)
        words_[kNameAddress + i] = quint16(quint8(name[2 * i]) | (quint8(name[2 * i + 1]) << 8));
    words_[kTypeAddress] = HeadMemoryTypeWord(head.type);
}

quint16 HeadMemory::Word(int address) const {
    return (address >= 0 && address < kHeadMemoryWords) ? words_[address] : 0;
}

QString KorvenHeadReply(const HeadSpec& head) {
    QString code = head.korvenCode.isEmpty() ? (head.type == 0 ? QString() : HeadTypeCode(head.type))
                                             : head.korvenCode.toUpper();
    QString name = head.name;
    if (code == "QX450") {
        // Only two code letters fit the header; a QX450 head says so in its name.
        code = "QX";
        if (!name.contains("QX450")) name = "QX450";
    }
    QString serial =
        head.type == 0 && head.korvenCode.isEmpty() ? QString("0") : QString::number(head.serial);
    return "*" + code.leftJustified(4, ' ', true) + serial + " " + name.leftJustified(12, ' ', true);
}

}  // namespace sim
