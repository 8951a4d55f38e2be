#include "sim/Protocol.h"

#include "sim/HeadMemory.h"
#include "sim/Models.h"

#include <QStringList>

namespace sim {

namespace {

bool IsMeridel(Model m) {
    return m == Model::MeridelOne || m == Model::MeridelTwo;
}
bool IsKorven(Model m) {
    return InfoOf(m).korvenCode != nullptr;
}

const HeadSpec kNoHead{};

// The gates of the older firmware: "HI" from Meridel 1.9, "HT" from Meridel
// 2.42 and TALON 329.
bool KnowsHeadInfo(const MeterConfig& cfg) {
    if (IsMeridel(cfg.model)) return FirmwareNumber(FirmwareOf(cfg)) >= 1.9;
    return IsKorven(cfg.model);
}

bool KnowsHeadType(const MeterConfig& cfg) {
    double v = FirmwareNumber(FirmwareOf(cfg));
    switch (cfg.model) {
        case Model::Talon:
            return v >= 329;
        case Model::MeridelOne:
        case Model::MeridelTwo:
            return v >= 2.42;
        case Model::Talon2:
        case Model::Sirka:
            return true;
        default:
            return false;
    }
}

QString UnitOf(const HeadSpec& h) {
    return h.unit.isEmpty() ? DefaultUnit(h.type) : h.unit;
}

}  // namespace

MeterState::MeterState(quint32 seed) : sources_{ReadingSource(seed), ReadingSource(seed * 7919u + 1)} {}

const HeadSpec& MeterState::Head(const MeterConfig& cfg) const {
    int ch = InfoOf(cfg.model).channels > 1 ? channel_ : 0;
    return cfg.heads[ch];
}

QString MeterState::Version(const MeterConfig& cfg) const {
    return "*" + QString(InfoOf(cfg.model).versionCode) + FirmwareOf(cfg);
}

QString MeterState::SelectChannel(const MeterConfig& cfg, const QStringList& args) {
    if (!IsMeridel(cfg.model) || args.size() != 1 || (args[0] != "A" && args[0] != "B")) return "?";
    // The one-channel Meridel stays on A whatever it is asked.
    if (cfg.model == Model::MeridelOne) return "*A";
    channel_ = args[0] == "B" ? 1 : 0;
    return "*" + args[0];
}

QString MeterState::ReadMemory(const MeterConfig& cfg, const QStringList& args) const {
    if (!InfoOf(cfg.model).headMemory || args.size() != 2) return "?";
    bool okA = false, okN = false;
    int address = args[0].toInt(&okA, 16);
    int count = args[1].toInt(&okN, 10);
    if (!okA || !okN || count < 1 || count > kHeadMemoryWords || address < 0 ||
        address + count > kHeadMemoryWords)
        return "?";
    HeadMemory memory(Head(cfg));
    QStringList words;
    for (int i = 0; i < count; ++i) words << QString::asprintf("%04X", memory.Word(address + i));
    return "*" + words.join(' ');
}

QString MeterState::HeadInfo(const MeterConfig& cfg) const {
    if (!KnowsHeadInfo(cfg)) return "?";
    const HeadSpec& h = Head(cfg);
    if (IsKorven(cfg.model)) return KorvenHeadReply(h);
    int status = (h.type != 0 ? 0x01 : 0) | ((h.rapidPulse || h.type == 5) ? 0x10 : 0);
    return QString("*%1 %2").arg(HeadTypeCode(h.type)).arg(QString::asprintf("%02X", status));
}

QString MeterState::HeadType(const MeterConfig& cfg) const {
    if (!KnowsHeadType(cfg)) return "?";
    const HeadSpec& h = Head(cfg);
    if (h.type == 0) return "*NO";
    // A thermopile with the rapid-pulse bit is a rapid-pulse head to the newer firmware.
    return "*" + HeadTypeCode(h.type == 1 && h.rapidPulse ? 5 : h.type) + " " + UnitOf(h);
}

QString MeterState::ReadingUnit(const MeterConfig& cfg) const {
    const HeadSpec& h = Head(cfg);
    if (mode_ == Mode::None || h.type == 0) return "*X";  // nothing measured yet
    if (mode_ == Mode::Energy || mode_ == Mode::EnergyRatio) return "*J";
    QString unit = UnitOf(h);
    if (unit == "Lx") return "*l";
    if (unit == "Fc") return "*c";
    if (unit == "J" || unit.isEmpty()) return "*W";  // energy heads measure average power here
    return "*" + unit.left(1);
}

QString MeterState::SetMode(const MeterConfig& cfg, const QString& word, const QStringList& args,
                            double now) {
    QString params = args.join(' ');
    Mode mode = Mode::None;
    if (word == "FP" && args.isEmpty())
        mode = Mode::Power;
    else if (word == "FE" && (args.isEmpty() || params == "S" || params == "A" || params == "R"))
        mode = Mode::Energy;
    else if (word == "FC" && InfoOf(cfg.model).channels > 1) {
        if (params == "3 0 0")
            mode = Mode::PowerRatio;
        else if (params == "5 0 0")
            mode = Mode::PowerDifference;
        else if (params == "3 1 1")
            mode = Mode::EnergyRatio;
    }
    if (mode == Mode::None) return "?";
    mode_ = mode;
    for (ReadingSource& s : sources_) s.StartPulses(now);
    return "*";
}

QString MeterState::BothChannels(const MeterConfig& cfg, double now) {
    if (InfoOf(cfg.model).channels < 2) return "?";
    QStringList tokens;
    for (int ch = 0; ch < 2; ++ch) {
        const HeadSpec& h = cfg.heads[ch];
        QString value;
        if (h.type != 0)
            value = mode_ == Mode::EnergyRatio ? sources_[ch].TakePulse(h.reading, now)
                                               : sources_[ch].NextOrMissing(h.reading);
        tokens << (value.isEmpty() ? QString("N") : value);
    }
    return "*" + tokens.join(' ');
}

bool MeterState::ModeAllows(const MeterConfig& cfg, const QString& word) const {
    if (!cfg.strictModes) return true;
    if (word == "SP") return mode_ == Mode::Power;
    if (word == "SE" || word == "ER" || word == "EF")
        return mode_ == Mode::Energy || (word == "EF" && mode_ == Mode::Power);
    if (word == "SB")
        return mode_ == Mode::PowerRatio || mode_ == Mode::PowerDifference || mode_ == Mode::EnergyRatio;
    return true;
}

QString MeterState::Answer(const MeterConfig& cfg, const QString& command, double now) {
    QString simple = command.simplified().toUpper();
    QStringList args = simple.split(' ', Qt::SkipEmptyParts);
    if (args.isEmpty()) return "?";
    QString word = args.takeFirst();
    if (cfg.refused.contains(simple) || cfg.refused.contains(word)) return "?";
    if (!ModeAllows(cfg, word)) return "?";

    const HeadSpec& head = Head(cfg);
    int ch = InfoOf(cfg.model).channels > 1 ? channel_ : 0;
    if (word == "VE") return Version(cfg);
    if (word == "MD") return "*";
    if (word == "CH") return SelectChannel(cfg, args);
    if (word == "II") return IsKorven(cfg.model) ? "*" + QString(InfoOf(cfg.model).korvenCode) : "?";
    if (word == "RB") return ReadMemory(cfg, args);
    if (word == "HI") return HeadInfo(cfg);
    if (word == "HT") return HeadType(cfg);
    if (word == "SI") return ReadingUnit(cfg);
    if (word == "FP" || word == "FE" || word == "FC") return SetMode(cfg, word, args, now);
    if (word == "SP") return head.type == 0 ? "?" : "*" + sources_[ch].Next(head.reading);
    if (word == "SE") return head.type == 0 ? "?" : "*" + sources_[ch].TakePulse(head.reading, now);
    if (word == "ER") return sources_[ch].Ready(head.reading, now) ? "*1" : "*0";
    if (word == "EF") return sources_[ch].NewPulse(head.reading, now) ? "*1" : "*0";
    if (word == "SB") return BothChannels(cfg, now);
    if (word == "LF" || word == "LI" || word == "LR" || word == "LS" || word == "LL")
        return logs_.Answer(cfg, word, args);
    return "?";
}

}  // namespace sim
