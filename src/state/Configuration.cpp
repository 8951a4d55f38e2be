#include "state/Configuration.h"

#include "platform/FileKind.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Files.h"
#include "state/StateReset.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <variant>
#include <vector>

namespace {

Settings g_settings;
WorkFilePaths g_workFiles;

void ResetSettings() {
    g_settings = Settings{};
    g_workFiles = WorkFilePaths{};
}
const ResetWithProgramState kReset{&ResetSettings};

// Value texts kept while reading; reaching this many means the file is not ours.
constexpr int kSlots = 76;
constexpr int kValues = 64;
constexpr int kZone = 14;  // print zones start at columns 1, 15, 29, ...

#ifdef Q_OS_WIN
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
#else
const QByteArray kLineEnd = QByteArrayLiteral("\n");
#endif

using Ref = std::variant<int16_t*, int32_t*, double*, bool*, QString*>;

// One line of the file: a comment or empty line (no field), or a value with
// its comment.
struct Row {
    const char* text;
    Ref (*field)(Settings&);
    bool readAs16 = false;  // a 32-bit value read back through a 16-bit conversion
};

#define VALUE(member, comment)                                \
    Row {                                                     \
        comment, [](Settings& s) -> Ref { return &s.member; } \
    }
#define VALUE16(member, comment)                                    \
    Row {                                                           \
        comment, [](Settings& s) -> Ref { return &s.member; }, true \
    }
#define TEXT(text)    \
    Row {             \
        text, nullptr \
    }

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        TEXT("' Kelvaro configuration file. (Do not change this file!)"),
        TEXT(""),
        VALUE(CommPort, " comm. port no."),
        VALUE(LogToFile, " data log file"),
        TEXT(""),
        TEXT("' Power mode setup"),
        VALUE(Power.GraphLow, " graph low limit"),
        VALUE(Power.GraphHigh, " graph high limit"),
        VALUE(Power.GraphUnits, " graph units"),
        VALUE(Power.GraphExponent, " graph units power exponent"),
        VALUE(Power.LogTime, " graph time period"),
        VALUE(Power.DisplayMode, " display style"),
        VALUE(Power.Scrolling, " scrolling flag"),
        VALUE(Power.Presentation, " data presentation option"),
        VALUE(Power.GraphGrid, " graph grid style"),
        VALUE(Power.StatMode, " statistics option"),
        VALUE(Power.FileName, " data file name"),
        TEXT(""),
        TEXT("' Energy mode setup"),
        VALUE(Energy.EnergyLowLimit, " histogram low limit"),
        VALUE(Energy.EnergyHighLimit, " histogram high limit"),
        VALUE(Energy.EnergyBinsCount, " histogram bins count"),
        VALUE16(Energy.EnergyInitialSize, " histogram units in bin"),
        VALUE(Energy.EnergyUnits, " histogram units"),
        VALUE(Energy.EnergyScaleIndex, " histogram units power exponent"),
        VALUE(Energy.EnergyDisplayStyle, " display style"),
        VALUE(Energy.EnergyStorageMode, " storage mode"),
        VALUE(Energy.EnergyStorageRate, " storage rate"),
        VALUE(Energy.EnergyStorageStyle, " storage style"),
        VALUE(Energy.EnergyTimeStamp, " time stamp mode"),
        VALUE(Energy.Presentation, " data presentation option"),
        VALUE(Energy.EnergyStatistics, " statistics option"),
        VALUE(Energy.FileName, " data file name"),
        TEXT(""),
        TEXT("' Power Ratio mode setup"),
        VALUE(PowerRatio.RatioLow, " graph low limit"),
        VALUE(PowerRatio.RatioHigh, " graph high limit"),
        VALUE(PowerRatio.RatioExponent, " graph range exponent"),
        VALUE(PowerRatio.RatioLogTime, " graph time period"),
        VALUE(PowerRatio.RatioDisplayMode, " display style"),
        VALUE(PowerRatio.Scrolling, " scrolling flag"),
        VALUE(PowerRatio.Presentation, " data presentation option"),
        VALUE(PowerRatio.RatioGrid, " graph grid style"),
        VALUE(PowerRatio.RatioStatMode, " statistics option"),
        VALUE(PowerRatio.FileName, " data file name"),
        TEXT(""),
        TEXT("' Power Difference mode setup"),
        VALUE(PowerDifference.DifferenceLow, " graph low limit"),
        VALUE(PowerDifference.DifferenceHigh, " graph high limit"),
        VALUE(PowerDifference.DifferenceUnits, " graph units"),
        VALUE(PowerDifference.DifferenceExponent, " graph units power exponent"),
        VALUE(PowerDifference.DifferenceLogTime, " graph time period"),
        VALUE(PowerDifference.DifferenceDisplayMode, " display style"),
        VALUE(PowerDifference.Scrolling, " scrolling flag"),
        VALUE(PowerDifference.Presentation, " data presentation option"),
        VALUE(PowerDifference.DifferenceGrid, " graph grid style"),
        VALUE(PowerDifference.DifferenceStatMode, " statistics option"),
        VALUE(PowerDifference.FileName, " data file name"),
        TEXT(""),
        TEXT("' Energy Ratio mode setup"),
        VALUE(EnergyRatio.RatioLowLimit, " ratio low limit"),
        VALUE(EnergyRatio.RatioHighLimit, " ratio high limit"),
        VALUE(EnergyRatio.RatioLimitExponent, " ratio range exponent"),
        VALUE(EnergyRatio.RatioEnergyLow, " energy low limit"),
        VALUE(EnergyRatio.RatioEnergyHigh, " energy high limit"),
        VALUE(EnergyRatio.RatioEnergyUnits, " energy units"),
        VALUE(EnergyRatio.RatioEnergyScaleIndex, " energy units power exponent"),
        VALUE(EnergyRatio.RatioDisplayStyle, " display style"),
        VALUE(EnergyRatio.RatioStorageMode, " storage mode"),
        VALUE(EnergyRatio.RatioStorageRate, " storage rate"),
        VALUE(EnergyRatio.RatioStorageStyle, " storage style"),
        VALUE(EnergyRatio.RatioTimeStamp, " time stamp mode"),
        VALUE(EnergyRatio.Presentation, " data presentation option"),
        VALUE(EnergyRatio.RatioGridStyle, " chart grid style"),
        VALUE(EnergyRatio.RatioStatistics, " statistics option"),
        VALUE(EnergyRatio.FileName, " data file name"),
    };
    return rows;
}

#undef VALUE
#undef VALUE16
#undef TEXT

// A number in the C locale, the whole text, finite.
std::optional<double> ToDouble(const QString& text) {
    std::string s = text.toStdString();
    if (s.size() > 1 && s.front() == '+' && s[1] != '-') s.erase(0, 1);
    if (s.empty()) return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Integer conversion: rounds half to even, fails outside [lo, hi].
std::optional<int64_t> ToInteger(const QString& text, int64_t lo, int64_t hi) {
    const std::optional<double> v = ToDouble(text);
    if (!v) return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) return std::nullopt;
    return static_cast<int64_t>(r);
}

std::optional<bool> ToBoolean(const QString& text) {
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    const std::optional<double> v = ToDouble(text);
    if (!v) return std::nullopt;
    return *v != 0;
}

bool Assign(const Row& row, Settings& s, const QString& text) {
    return std::visit(
        [&](auto* field) -> bool {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>) {
                *field = text;
                return true;
            } else if constexpr (std::is_same_v<T, bool>) {
                const auto v = ToBoolean(text);
                if (v) *field = *v;
                return v.has_value();
            } else if constexpr (std::is_same_v<T, double>) {
                const auto v = ToDouble(text);
                if (v) *field = *v;
                return v.has_value();
            } else {
                using L = std::numeric_limits<T>;
                const auto v = row.readAs16 ? ToInteger(text, std::numeric_limits<int16_t>::min(),
                                                        std::numeric_limits<int16_t>::max())
                                            : ToInteger(text, L::min(), L::max());
                if (v) *field = static_cast<T>(*v);
                return v.has_value();
            }
        },
        row.field(s));
}

QString ValueText(const Row& row, Settings& s) {
    return std::visit(
        [&](auto* field) -> QString {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>) {
                // A name the reader would cut to nothing would shift every
                // later value and lose the whole file: keep the default.
                if (ConfigurationValue(*field).isEmpty()) {
                    Settings defaults;
                    return *std::get<QString*>(row.field(defaults));
                }
                return *field;
            } else if constexpr (std::is_same_v<T, bool>) {
                return *field ? QStringLiteral("True") : QStringLiteral("False");
            } else if constexpr (std::is_same_v<T, double>) {
                return ConfigurationNumber(*field);
            } else {
                return QString::number(*field);
            }
        },
        row.field(s));
}

std::optional<Settings> FromValues(const QStringList& values) {
    if (values.size() < kValues || values.size() >= kSlots) return std::nullopt;
    Settings s;
    qsizetype k = 0;
    for (const Row& row : Rows()) {
        if (!row.field) continue;
        if (!Assign(row, s, values[k++])) return std::nullopt;
    }
    return s;
}

}  // namespace

QString ConfigurationValue(const QString& line) {
    QString v = line;
    const qsizetype apostrophe = v.indexOf(QLatin1Char('\''));
    if (apostrophe >= 0) v.truncate(apostrophe);
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == QLatin1Char(' ') || v[i] == QLatin1Char('\t')) {
            v.truncate(i);
            break;
        }
    }
    return v;
}

QString ConfigurationNumber(double v) {
    if (v == 0 || !std::isfinite(v)) return QStringLiteral("0");
    // Shortest text that reads back: 15 significant digits or fewer for any
    // value a setup dialog makes, 16 or 17 only when fewer would change it.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    const std::string sci(buf, res.ptr);  // d.ddde+XX
    const size_t e = sci.find('e');
    std::string digits;
    for (size_t i = 0; i < e; ++i)
        if (sci[i] != '.') digits += sci[i];
    const int exp = std::stoi(sci.substr(e + 1));

    std::string out = v < 0 ? "-" : "";
    if (exp >= -4 && exp < 15) {
        if (exp >= 0) {
            std::string whole = digits.substr(0, std::min<size_t>(digits.size(), exp + 1));
            whole.append(exp + 1 - whole.size(), '0');
            out += whole;
            if (digits.size() > static_cast<size_t>(exp + 1)) out += "." + digits.substr(exp + 1);
        } else {
            out += "0." + std::string(-exp - 1, '0') + digits;
        }
    } else {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        const int a = std::abs(exp);
        out += std::string("E") + (exp < 0 ? "-" : "+") + (a < 10 ? "0" : "") + std::to_string(a);
    }
    return QString::fromStdString(out);
}

QStringList ConfigurationLines(const Settings& settings) {
    Settings s = settings;
    QStringList lines;
    for (const Row& row : Rows()) {
        if (!row.field) {
            lines << QString::fromLatin1(row.text);
            continue;
        }
        const QString value = ValueText(row, s);
        const qsizetype width = (value.size() / kZone + 1) * kZone;
        lines << value.leftJustified(width, QLatin1Char(' ')) + QLatin1Char('\'') +
                     QString::fromLatin1(row.text);
    }
    return lines;
}

QByteArray ConfigurationText(const Settings& s) {
    QByteArray out;
    for (const QString& line : ConfigurationLines(s)) out += line.toUtf8() + kLineEnd;
    return out;
}

std::optional<Settings> ParseConfiguration(const QByteArray& fileText) {
    QStringList values;
    for (QByteArray line : fileText.split('\n')) {
        if (values.size() >= kSlots) break;
        if (line.endsWith('\r')) line.chop(1);
        const QString v = ConfigurationValue(QString::fromUtf8(line));
        if (!v.isEmpty()) values << v;
    }
    return FromValues(values);
}

Settings& CurrentSettings() {
    return g_settings;
}

WorkFilePaths& WorkFiles() {
    return g_workFiles;
}

QString* WorkFileOfMode(int16_t mode) {
    WorkFilePaths& s = WorkFiles();
    switch (mode) {
        case ModePower:
            return &s.WorkFileName;
        case ModeEnergy:
        case ModeRapidPulse:
            return &s.EnergyWorkFile;
        case ModePowerRatio:
            return &s.PowerRatioWorkFile;
        case ModePowerDifference:
            return &s.PowerDifferenceWorkFile;
        case ModeEnergyRatio:
            return &s.RatioWorkFile;
        default:
            return nullptr;
    }
}

QString ConfigurationPath() {
    return platform::InFolder(platform::programFolders().settings, kConfigurationFile);
}

void ComputeWorkFilePaths() {
    const Settings& s = g_settings;
    const QString folder = platform::ProgramFolder();
    g_workFiles.WorkFileName = platform::InFolder(folder, s.Power.FileName);
    g_workFiles.EnergyWorkFile = platform::InFolder(folder, s.Energy.FileName);
    g_workFiles.RatioWorkFile = platform::InFolder(folder, s.EnergyRatio.FileName);
    g_workFiles.PowerRatioWorkFile = platform::InFolder(folder, s.PowerRatio.FileName);
    g_workFiles.PowerDifferenceWorkFile = platform::InFolder(folder, s.PowerDifference.FileName);
}

bool LoadConfiguration() {
    std::optional<Settings> loaded;
    // Anything of that name counts as present: a kelvaro.cfg we cannot read
    // (a folder, a FIFO, a device) must stop the program rather than be
    // silently replaced by defaults.
    const QString path = ConfigurationPath();
    if (platform::KindOfFile(path) != platform::FileKind::Missing) {
        const int16_t no = OpenFile(path, FileRead);
        if (no == 0) {
            platform::prompts().Beep();
            platform::prompts().Message(
                QStringLiteral("Configuration file open failed. Kelvaro32 Terminated."), QString(),
                platform::Icon::Critical);
            return false;
        }
        QStringList values;
        QString line;
        while (values.size() < kSlots && ReadLine(no, line)) {
            const QString v = ConfigurationValue(line);
            if (!v.isEmpty()) values << v;
        }
        CloseFile(no);
        loaded = FromValues(values);
    }
    if (loaded) {
        g_settings = *loaded;
    } else {
        g_settings = Settings{};
        SaveConfiguration();
    }
    ComputeWorkFilePaths();
    return true;
}

void SaveConfiguration() {
    const QString failed = QStringLiteral("Configuration file save failed.");
    // Written beside the old file and renamed over it: a write that fails
    // half way leaves the old file, not a short one the next start would
    // replace with defaults.
    const int16_t no = OpenFile(ConfigurationPath(), FileReplace);
    if (no == 0) {
        platform::prompts().Message(failed);
        return;
    }
    SetLineEnd(no, kLineEnd);
    bool written = true;
    for (const QString& line : ConfigurationLines(g_settings))
        if (!(written = WriteLine(no, line))) break;
    if (written && CommitFile(no)) return;
    CloseFile(no);
    platform::prompts().Message(failed);
}
