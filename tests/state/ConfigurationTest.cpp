#include "platform/ProgramFolder.h"
#include "state/Configuration.h"
#include "state/Files.h"
#include "support/DiskFull.h"
#include "support/ProgramState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <cfloat>

namespace {

// The 76 lines of the table with their defaults: "value|comment" is the value in a print zone of
// 14 characters, then the comment after an apostrophe.
// clang-format off
const char* const kDefaultLines[] = {
    "' Kelvaro configuration file. (Do not change this file!)", "", "1|comm. port no.", "False|data log file",
    "", "' Power mode setup", "0|graph low limit", "1|graph high limit", "4|graph units",
    "0|graph units power exponent", "15|graph time period", "2|display style", "False|scrolling flag",
    "0|data presentation option", "3|graph grid style", "3|statistics option", "kelvaro.pwr|data file name",
    "", "' Energy mode setup", "0|histogram low limit", "1|histogram high limit", "10|histogram bins count",
    "100|histogram units in bin", "4|histogram units", "0|histogram units power exponent", "0|display style",
    "0|storage mode", "1|storage rate", "1|storage style", "False|time stamp mode",
    "0|data presentation option", "3|statistics option", "kelvaro.nrg|data file name", "",
    "' Power Ratio mode setup", "0|graph low limit", "1|graph high limit", "0|graph range exponent",
    "15|graph time period", "2|display style", "False|scrolling flag", "0|data presentation option",
    "3|graph grid style", "3|statistics option", "kelvaro.dpw|data file name", "",
    "' Power Difference mode setup", "0|graph low limit", "1|graph high limit", "4|graph units",
    "0|graph units power exponent", "15|graph time period", "2|display style", "False|scrolling flag",
    "0|data presentation option", "3|graph grid style", "3|statistics option", "kelvaro.dpw|data file name",
    "", "' Energy Ratio mode setup", "0|ratio low limit", "1|ratio high limit", "0|ratio range exponent",
    "0|energy low limit", "1|energy high limit", "4|energy units", "0|energy units power exponent",
    "2|display style", "0|storage mode", "1|storage rate", "1|storage style", "False|time stamp mode",
    "0|data presentation option", "3|chart grid style", "3|statistics option", "kelvaro.dnr|data file name"};
// clang-format on
const QByteArray kDefaultFile = [] {
    QByteArray text;
    for (const QByteArray line : kDefaultLines) {
        const QList<QByteArray> zone = line.split('|');
        text += (zone.size() == 2 ? zone[0].leftJustified(14) + "' " + zone[1] : line) + '\n';
    }
    return text;
}();

QByteArray WithLines(QByteArray text, const std::vector<std::pair<int, QByteArray>>& replaced) {
    QList<QByteArray> lines = text.split('\n');
    for (const auto& [n, line] : replaced) lines[n - 1] = line;
    return lines.join('\n');
}

Settings NonDefault() {
    Settings s;
    s.CommPort = 16;
    s.LogToFile = true;
    s.Power.LogTime = 2147483647;
    s.Power.FileName = "run1.pwr";
    s.PowerRatio.RatioLow = 0.1 + 0.2;  // needs 17 digits
    s.PowerDifference.DifferenceLow = 5e-324;
    s.EnergyRatio.FileName = "a-file-name-longer-than-one-zone.dnr";
    return s;
}

TEST(ConfigurationText, defaultsAreTheSeventySixLineTableWithApostrophesInPrintZones) {
    EXPECT_EQ(ConfigurationText(Settings{}), kDefaultFile);
    for (auto [length, column] : {std::pair{13, 15}, {14, 29}, {27, 29}, {28, 43}}) {
        Settings s;
        s.Power.FileName = QString(length, 'n');
        EXPECT_EQ(ConfigurationLines(s)[16].indexOf("' data file name") + 1, column) << length;
    }
}

TEST(ConfigurationNumber, shortestTextInPlainOrExponentFormThatReadsBack) {
    // clang-format off
    const std::pair<double, const char*> cases[] = {
        {0, "0"}, {-0.5, "-0.5"}, {1234.5678, "1234.5678"}, {0.0001, "0.0001"}, {0.00001, "1E-05"},
        {-2.5e20, "-2.5E+20"}, {123456789012345, "123456789012345"}, {1e15, "1E+15"}};
    // clang-format on
    for (const auto& [v, text] : cases) EXPECT_EQ(ConfigurationNumber(v), text) << v;
    for (double v : {0.1 + 0.2, -1.0 / 3, DBL_MAX, 5e-324, 9007199254740993.0})
        EXPECT_EQ(ConfigurationNumber(v).toDouble(), v) << ConfigurationNumber(v).toStdString();
}

// Comments and blank lines, and a leading blank skips the line (the next value moves up); no blank or a tab
// before the apostrophe, and a blank cuts a file name; CR LF, none at the end; of 75 values the first 64
// count; 16-bit limits, 32-bit beyond, and fractions round half to even.
TEST(ParseConfiguration, editedFilesThatStillLoad) {
    const std::pair<QByteArray, std::vector<std::pair<int, QString>>> cases[] = {
        {WithLines(kDefaultFile, {{2, "\n' mine\n\n   \n' more"}, {76, " kelvaro.dnr   ' x\nmoved.dnr"}}),
         {{76, "moved.dnr"}}},
        {WithLines(kDefaultFile, {{7, "0.5' x"}, {8, "2.5\t' x"}, {17, "my run.pwr    ' x"}}),
         {{7, "0.5"}, {8, "2.5"}, {17, "my"}}},
        {kDefaultFile.split('\n').join("\r\n").chopped(2), {{76, "kelvaro.dnr"}}},
        {kDefaultFile + QByteArray("9\n").repeated(11), {{76, "kelvaro.dnr"}}},
        {WithLines(kDefaultFile, {{9, "-32768"}, {10, "32767"}, {11, "40000"}, {22, "2.5"}, {28, "3.5"}}),
         {{9, "-32768"}, {10, "32767"}, {11, "40000"}, {22, "2"}, {28, "4"}}}};
    for (const auto& [text, want] : cases) {
        const std::optional<Settings> s = ParseConfiguration(text);
        ASSERT_TRUE(s) << want[0].first;
        const QStringList lines = ConfigurationLines(*s);
        for (const auto& [n, value] : want) EXPECT_EQ(lines[n - 1].section(' ', 0, 0), value) << n;
    }
}

TEST(ParseConfiguration, filesThatDoNotLoad) {
    EXPECT_FALSE(ParseConfiguration(kDefaultFile + QByteArray("9\n").repeated(12)));  // 76 values
    // No last value or a blank first (63 values left), 16-bit, 32-bit and units-in-bin overflow,
    // a decimal comma, out of range, not a number, not a Boolean.
    const std::pair<int, const char*> unusable[] = {{76, ""},           {3, " 1"},     {3, "32768"},
                                                    {11, "2147483648"}, {23, "32768"}, {7, "1,5"},
                                                    {7, "1E400"},       {8, "nan"},    {4, "Yes"}};
    for (auto [line, text] : unusable)
        EXPECT_FALSE(ParseConfiguration(WithLines(kDefaultFile, {{line, text}}))) << line << " " << text;
}

class ConfigurationFile : public ::testing::Test {
protected:
    void SetUp() override { CurrentSettings() = NonDefault(); }
    void TearDown() override { CloseAllFiles(); }
    TempDir dir;
    ScriptedPrompts prompts;
    ProgramStateScope fresh;
};

TEST_F(ConfigurationFile, missingOrUnusableFileGivesDefaultsWrittenSilently) {
    for (const QByteArray& bad : {QByteArray(5000, '\0'), kDefaultFile.left(300),
                                  WithLines(kDefaultFile, {{3, "COM3"}}), QByteArray()}) {
        QFile::remove(dir.Path("kelvaro.cfg"));
        if (!bad.isEmpty()) dir.Write("kelvaro.cfg", bad);
        CurrentSettings() = NonDefault();
        ASSERT_TRUE(LoadConfiguration());
        EXPECT_EQ(dir.Read("kelvaro.cfg"), kDefaultFile);
        EXPECT_EQ(ConfigurationText(CurrentSettings()), kDefaultFile);
    }
    EXPECT_EQ(WorkFiles().WorkFileName, platform::InFolder(platform::ProgramFolder(), "kelvaro.pwr"));
    EXPECT_TRUE(prompts.Texts().isEmpty() && prompts.beeps == 0);
}

TEST_F(ConfigurationFile, savedSettingsLoadBackAndAnEditedFileIsLeftAsItIs) {
    dir.Write("kelvaro.cfg", QByteArray(10000, 'z'));
    SaveConfiguration();
    const QByteArray edited = WithLines(dir.Read("kelvaro.cfg"), {{2, "' my own note"}});
    EXPECT_EQ(edited, WithLines(ConfigurationText(NonDefault()), {{2, "' my own note"}}));
    dir.Write("kelvaro.cfg", edited);
    CurrentSettings() = Settings{};
    ASSERT_TRUE(LoadConfiguration());
    EXPECT_EQ(dir.Read("kelvaro.cfg"), edited);
    EXPECT_EQ(ConfigurationText(CurrentSettings()), ConfigurationText(NonDefault()));
    // An empty name would leave 63 values and throw every setting away.
    CurrentSettings().Power.FileName = "";
    CurrentSettings().Energy.FileName = " leading-blank.nrg";
    SaveConfiguration();
    ASSERT_TRUE(LoadConfiguration());
    EXPECT_EQ(std::tuple(CurrentSettings().Power.FileName, CurrentSettings().Energy.FileName,
                         CurrentSettings().CommPort, prompts.Texts()),
              std::tuple(QString("kelvaro.pwr"), QString("kelvaro.nrg"), int16_t(16), QStringList()));
}

TEST_F(ConfigurationFile, anythingButARegularFileEndsTheProgramUntouched) {
    // A FIFO that would hand over 76 values and wait for more, were it read.
    ASSERT_EQ(QProcess::execute("mkfifo", {dir.Path("fifo")}), 0);
    QFile fifo(dir.Path("fifo"));
    ASSERT_TRUE(fifo.open(QIODevice::ReadWrite));
    fifo.write(kDefaultFile + QByteArray("9\n").repeated(12));
    fifo.flush();
    QDir(dir.Path()).mkdir("folder");
    for (const char* target : {"folder", "fifo", "/dev/null"}) {
        QFile::remove(dir.Path("kelvaro.cfg"));
        ASSERT_TRUE(QFile::link(target, dir.Path("kelvaro.cfg")));
        EXPECT_FALSE(LoadConfiguration()) << target;
        EXPECT_FALSE(QFileInfo(dir.Path(target)).isFile()) << target;
    }
    const QStringList told = {"Access denied to file kelvaro.cfg",
                              "Configuration file open failed. Kelvaro32 Terminated."};
    EXPECT_EQ(std::pair(prompts.Texts(), prompts.beeps), std::pair(told + told + told, 3));
    SaveConfiguration();
    EXPECT_EQ(prompts.Texts().mid(6), (QStringList{told[0], "Configuration file save failed."}));
}

TEST_F(ConfigurationFile, saveThatFailsHalfWayIsReportedAndLeavesTheOldFileWhole) {
    dir.Write("kelvaro.cfg", kDefaultFile);
    auto limit = std::make_unique<DiskFullAfter>(1000);
    SaveConfiguration();
    EXPECT_EQ(prompts.Texts(), QStringList{"Configuration file save failed."});
    EXPECT_EQ(dir.Read("kelvaro.cfg"), kDefaultFile);
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{"kelvaro.cfg"});  // no temporary left
    EXPECT_EQ(CurrentSettings().CommPort, 16);  // the settings in memory stay
    limit.reset();
    SaveConfiguration();  // with room again the failed save holds nothing up
    EXPECT_EQ(prompts.Texts(), QStringList{"Configuration file save failed."});
}

}  // namespace
