#include "sim/Models.h"

#include <QStringList>
#include <array>

namespace sim {

namespace {

constexpr std::array<ModelInfo, 9> kModels{{
    {Model::Talon, "talon", "", "329", nullptr, 1, true, false, true},
    {Model::MeridelOne, "meridel1", "QZ", "2.45", nullptr, 1, true, true, false},
    {Model::MeridelTwo, "meridel2", "QZ", "2.45", nullptr, 2, true, true, false},
    {Model::Talon2, "talon2", "TL", "1.10", nullptr, 1, true, true, false},
    {Model::KorvenTH, "korven-th", "KV", "1.20", "TH", 1, false, false, false},
    {Model::KorvenPD, "korven-pd", "KV", "1.20", "PD", 1, false, false, false},
    {Model::KorvenPE, "korven-pe", "KV", "1.20", "PE", 1, false, false, false},
    {Model::KorvenQX450, "korven-qx450", "KV", "1.20", "QX450", 1, false, false, false},
    {Model::Sirka, "sirka", "SK", "1.05", nullptr, 1, true, true, false},
}};

// Head memory words hold two characters, low byte first: "TH" is 0x4854.
constexpr std::array<quint16, 7> kTypeWords{0x0000, 0x4854, 0x5950, 0x4953, 0x4A4E, 0x4854, 0x4953};
constexpr std::array<const char*, 7> kTypeCodes{"NO", "TH", "PY", "SI", "NJ", "RP", "LX"};

}  // namespace

const ModelInfo& InfoOf(Model m) {
    int i = static_cast<int>(m);
    return kModels[(i >= 0 && i < int(kModels.size())) ? i : 0];
}

bool ModelFromText(const QString& text, Model& out) {
    QString t = text.trimmed().toLower();
    for (const ModelInfo& info : kModels) {
        if (t == info.name || t == QString::number(static_cast<int>(info.model))) {
            out = info.model;
            return true;
        }
    }
    return false;
}

QStringList ModelNames() {
    QStringList names;
    for (const ModelInfo& info : kModels) names << info.name;
    return names;
}

QString HeadTypeCode(int type) {
    return (type >= 0 && type < 7) ? kTypeCodes[type] : "NO";
}

quint16 HeadMemoryTypeWord(int type) {
    return (type >= 0 && type < 7) ? kTypeWords[type] : 0;
}

QString DefaultUnit(int type) {
    if (type == 2 || type == 4) return "J";
    if (type == 6) return "Lx";
    return "W";
}

QString FirmwareOf(const MeterConfig& cfg) {
    return cfg.firmware.isEmpty() ? QString(InfoOf(cfg.model).firmware) : cfg.firmware;
}

double FirmwareNumber(const QString& text) {
    // Longest leading decimal number; the gates compare it like the program does.
    QString t = text.trimmed();
    int n = 0;
    bool dot = false;
    while (n < t.size() && (t[n].isDigit() || (t[n] == '.' && !dot))) {
        if (t[n] == '.') dot = true;
        ++n;
    }
    bool ok = false;
    double v = t.left(n).toDouble(&ok);
    return ok ? v : 0.0;
}

}  // namespace sim
