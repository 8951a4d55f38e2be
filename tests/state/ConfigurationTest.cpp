#include "platform/ProgramFolder.h"
#include "state/Configuration.h"
#include "state/Files.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QRandomGenerator>
#include <cfloat>
#include <functional>

namespace {

const QByteArray kDefaultFile =
    "' Kelvaro configuration file. (Do not change this file!)\n"
    "\n"
    "1             ' comm. port no.\n"
    "False         ' data log file\n"
    "\n"
    "' Power mode setup\n"
    "0             ' graph low limit\n"
    "1             ' graph high limit\n"
    "4             ' graph units\n"
    "0             ' graph units power exponent\n"
    "15            ' graph time period\n"
    "2             ' display style\n"
    "False         ' scrolling flag\n"
    "0             ' data presentation option\n"
    "3             ' graph grid style\n"
    "3             ' statistics option\n"
    "kelvaro.pwr   ' data file name\n"
    "\n"
    "' Energy mode setup\n"
    "0             ' histogram low limit\n"
    "1             ' histogram high limit\n"
    "10            ' histogram bins count\n"
    "100           ' histogram units in bin\n"
    "4             ' histogram units\n"
    "0             ' histogram units power exponent\n"
    "0             ' display style\n"
    "0             ' storage mode\n"
    "1             ' storage rate\n"
    "1             ' storage style\n"
    "False         ' time stamp mode\n"
    "0             ' data presentation option\n"
    "3             ' statistics option\n"
    "kelvaro.nrg   ' data file name\n"
    "\n"
    "' Power Ratio mode setup\n"
    "0             ' graph low limit\n"
    "1             ' graph high limit\n"
    "0             ' graph range exponent\n"
    "15            ' graph time period\n"
    "2             ' display style\n"
    "False         ' scrolling flag\n"
    "0             ' data presentation option\n"
    "3             ' graph grid style\n"
    "3             ' statistics option\n"
    "kelvaro.dpw   ' data file name\n"
    "\n"
    "' Power Difference mode setup\n"
    "0             ' graph low limit\n"
    "1             ' graph high limit\n"
    "4             ' graph units\n"
    "0             ' graph units power exponent\n"
    "15            ' graph time period\n"
    "2             ' display style\n"
    "False         ' scrolling flag\n"
    "0             ' data presentation option\n"
    "3             ' graph grid style\n"
    "3             ' statistics option\n"
    "kelvaro.dpw   ' data file name\n"
    "\n"
    "' Energy Ratio mode setup\n"
    "0             ' ratio low limit\n"
    "1             ' ratio high limit\n"
    "0             ' ratio range exponent\n"
    "0             ' energy low limit\n"
    "1             ' energy high limit\n"
    "4             ' energy units\n"
    "0             ' energy units power exponent\n"
    "2             ' display style\n"
    "0             ' storage mode\n"
    "1             ' storage rate\n"
    "1             ' storage style\n"
    "False         ' time stamp mode\n"
    "0             ' data presentation option\n"
    "3             ' chart grid style\n"
    "3             ' statistics option\n"
    "kelvaro.dnr   ' data file name\n";

QByteArray WithLines(QByteArray text, const std::vector<std::pair<int, QByteArray>>& replaced,
                     const QByteArray& appended = QByteArray()) {
    QList<QByteArray> lines = text.split('\n');
    for (const auto& [n, line] : replaced) lines[n - 1] = line;
    return lines.join('\n') + appended;
}

Settings NonDefault() {
    Settings s;
    s.CommPort = 16;
    s.LogToFile = true;
    s.Power.GraphLow = 0.1;
    s.Power.GraphHigh = 1e-12;
    s.Power.GraphUnits = -32768;
    s.Power.LogTime = 2147483647;
    s.Power.FileName = "run1.pwr";
    s.Energy.EnergyLowLimit = -2.5e20;
    s.Energy.EnergyHighLimit = 123456789012345;
    s.Energy.EnergyInitialSize = 32767;
    s.Energy.FileName = "/tmp/pulses.nrg";
    s.PowerRatio.RatioLow = 0.1 + 0.2;  // needs 17 digits
    s.PowerRatio.RatioHigh = DBL_MAX;
    s.PowerRatio.FileName = "ratio.dpw";
    s.PowerDifference.DiffLow = 5e-324;
    s.PowerDifference.FileName = "diff.dpw";
    s.EnergyRatio.RatioTimeStamp = true;
    s.EnergyRatio.FileName = "a-file-name-longer-than-one-zone.dnr";
    return s;
}

TEST(ConfigurationText, defaultsAreTheSeventySixLineTableWithApostrophesInPrintZones) {
    EXPECT_EQ(ConfigurationText(Settings{}), kDefaultFile);
    EXPECT_EQ(ConfigurationLines(Settings{})[2], "1" + QString(13, ' ') + "' comm. port no.");
    for (auto [length, column] : {std::pair{13, 15}, {14, 29}, {27, 29}, {28, 43}}) {
        Settings s;
        s.Power.FileName = QString(length, 'n');
        EXPECT_EQ(ConfigurationLines(s)[16].indexOf("' data file name") + 1, column) << length;
    }
}

TEST(ConfigurationNumber, shortestTextInPlainOrExponentFormThatReadsBack) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.5, "-0.5"},
        {0.1, "0.1"},
        {1234.5678, "1234.5678"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {1e-12, "1E-12"},
        {-2.5e20, "-2.5E+20"},
        {123456789012345, "123456789012345"},
        {1e15, "1E+15"},
        {1.5e300, "1.5E+300"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(ConfigurationNumber(v), text) << v;
    for (double v : {0.1 + 0.2, -1.0 / 3, DBL_MAX, DBL_MIN, 5e-324, 123456789012345.6, 9007199254740993.0})
        EXPECT_EQ(ConfigurationNumber(v).toDouble(), v) << ConfigurationNumber(v).toStdString();
}

TEST(ParseConfiguration, nonDefaultSettingsRoundTrip) {
    const Settings s = NonDefault();
    const std::optional<Settings> back = ParseConfiguration(ConfigurationText(s));
    ASSERT_TRUE(back);
    EXPECT_EQ(ConfigurationText(*back), ConfigurationText(s));
    // Text equality alone would hide a lossy number form.
    EXPECT_EQ(back->PowerRatio.RatioLow, 0.1 + 0.2);
    EXPECT_EQ(back->PowerDifference.DiffLow, 5e-324);
    EXPECT_EQ(back->Energy.EnergyLowLimit, -2.5e20);
}

TEST(ParseConfiguration, editedFiles) {
    using Check = std::function<void(const Settings&)>;
    const struct {
        const char* name;
        QByteArray text;
        Check check;  // empty: the file is not usable
    } cases[] = {
        {"extra comments and blank lines", WithLines(kDefaultFile, {{2, "\n' mine\n\n   \n' more"}}),
         [](const Settings& s) {
             EXPECT_EQ(s.CommPort, 1);
             EXPECT_EQ(s.EnergyRatio.FileName, "kelvaro.dnr");
         }},
        {"blanks before the apostrophe",
         WithLines(kDefaultFile, {{7, "0.5    ' x"}, {8, "2.5' x"}, {3, "7"}}),
         [](const Settings& s) {
             EXPECT_EQ(s.Power.GraphLow, 0.5);
             EXPECT_EQ(s.Power.GraphHigh, 2.5);
             EXPECT_EQ(s.CommPort, 7);
         }},
        {"tab before the apostrophe", WithLines(kDefaultFile, {{7, "0.5\t' x"}}),
         [](const Settings& s) { EXPECT_EQ(s.Power.GraphLow, 0.5); }},
        {"line beginning with a blank is skipped, the next value moves up",
         WithLines(kDefaultFile, {{76, " kelvaro.dnr   ' data file name"}}, "moved.dnr\n"),
         [](const Settings& s) { EXPECT_EQ(s.EnergyRatio.FileName, "moved.dnr"); }},
        {"line beginning with a blank leaves too few values",
         WithLines(kDefaultFile, {{3, " 1 ' comm. port no."}}),
         {}},
        {"file name with a blank is cut there",
         WithLines(kDefaultFile, {{17, "my run.pwr    ' data file name"}}),
         [](const Settings& s) { EXPECT_EQ(s.Power.FileName, "my"); }},
        {"CR LF line ends, none after the last line", kDefaultFile.split('\n').join("\r\n").chopped(2),
         [](const Settings& s) {
             EXPECT_EQ(s.EnergyRatio.FileName, "kelvaro.dnr");
             EXPECT_EQ(s.CommPort, 1);
         }},
        {"75 values: the first 64 count", kDefaultFile + QByteArray("9\n").repeated(11),
         [](const Settings& s) { EXPECT_EQ(s.EnergyRatio.FileName, "kelvaro.dnr"); }},
        {"76 values", kDefaultFile + QByteArray("9\n").repeated(12), {}},
        {"63 values", WithLines(kDefaultFile, {{76, ""}}), {}},
        {"16-bit limits, 32-bit beyond them",
         WithLines(kDefaultFile, {{9, "-32768"}, {10, "32767"}, {11, "40000"}}),
         [](const Settings& s) {
             EXPECT_EQ(s.Power.GraphUnits, -32768);
             EXPECT_EQ(s.Power.GraphExponent, 32767);
             EXPECT_EQ(s.Power.LogTime, 40000);
         }},
        {"16-bit overflow", WithLines(kDefaultFile, {{3, "32768"}}), {}},
        {"32-bit overflow", WithLines(kDefaultFile, {{11, "2147483648"}}), {}},
        {"units in bin read through 16 bits", WithLines(kDefaultFile, {{23, "32768"}}), {}},
        {"integer with a fraction rounds half to even", WithLines(kDefaultFile, {{22, "2.5"}, {28, "3.5"}}),
         [](const Settings& s) {
             EXPECT_EQ(s.Energy.EnergyBinsCount, 2);
             EXPECT_EQ(s.Energy.EnergyStorageRate, 4);
         }},
        {"decimal comma", WithLines(kDefaultFile, {{7, "1,5"}}), {}},
        {"number out of range", WithLines(kDefaultFile, {{7, "1E400"}}), {}},
        {"not a number", WithLines(kDefaultFile, {{8, "nan"}}), {}},
        {"signed exponent forms", WithLines(kDefaultFile, {{7, "+2.5E-3"}, {8, "1e+2"}}),
         [](const Settings& s) {
             EXPECT_EQ(s.Power.GraphLow, 2.5e-3);
             EXPECT_EQ(s.Power.GraphHigh, 100);
         }},
        {"Booleans in any case", WithLines(kDefaultFile, {{4, "TRUE"}, {13, "false"}}),
         [](const Settings& s) {
             EXPECT_TRUE(s.LogToFile);
             EXPECT_FALSE(s.Power.Scrolling);
         }},
        {"Boolean that is not one", WithLines(kDefaultFile, {{4, "Yes"}}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<Settings> s = ParseConfiguration(c.text);
        ASSERT_EQ(s.has_value(), static_cast<bool>(c.check));
        if (s) c.check(*s);
    }
}

TEST(ParseConfiguration, garbageIsRefusedWithoutCrash) {
    QRandomGenerator random(32);
    QList<QByteArray> inputs = {QByteArray(), QByteArray("'only\n' comments\n"),
                                kDefaultFile.left(kDefaultFile.size() / 2), QByteArray(1 << 20, 'x'),
                                QByteArray(5000, '\0')};
    for (int i = 0; i < 50; ++i) {
        QByteArray bytes(random.bounded(1, 4000), '\0');
        for (char& b : bytes) b = static_cast<char>(random.bounded(256));
        inputs << bytes;
    }
    for (const QByteArray& in : inputs)
        EXPECT_FALSE(ParseConfiguration(in)) << in.left(40).toHex().toStdString();
}

class ConfigurationFile : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        App().Config = NonDefault();
    }
    void TearDown() override {
        CloseAllFiles();
        ResetAppState();
    }
    TempDir dir;
    ScriptedPrompts prompts;
};

TEST_F(ConfigurationFile, missingOrUnusableFileGivesDefaultsWrittenSilently) {
    for (const QByteArray& bad : {QByteArray("\x7f"
                                             "ELF\x02\x01\x01",
                                             7),
                                  kDefaultFile.left(300), WithLines(kDefaultFile, {{3, "COM3"}})}) {
        dir.Write("kelvaro.cfg", bad);
        App().Config = NonDefault();
        ASSERT_TRUE(LoadConfiguration());
        EXPECT_EQ(dir.Read("kelvaro.cfg"), kDefaultFile);
        EXPECT_EQ(ConfigurationText(App().Config), kDefaultFile);
    }
    QFile::remove(dir.Path("kelvaro.cfg"));
    App().Config = NonDefault();
    ASSERT_TRUE(LoadConfiguration());
    EXPECT_EQ(dir.Read("kelvaro.cfg"), kDefaultFile);
    EXPECT_EQ(App().Config.CommPort, 1);
    EXPECT_EQ(App().WorkFileName, platform::InFolder(platform::ProgramFolder(), "kelvaro.pwr"));
    EXPECT_TRUE(prompts.Texts().isEmpty());
    EXPECT_EQ(prompts.beeps, 0);
}

TEST_F(ConfigurationFile, usableFileIsLoadedLeftAsItIsAndGivesTheWorkFilePaths) {
    const QByteArray edited = WithLines(ConfigurationText(NonDefault()), {{2, "' my own note"}});
    dir.Write("kelvaro.cfg", edited);
    App().Config = Settings{};
    ASSERT_TRUE(LoadConfiguration());
    EXPECT_EQ(App().Config.PowerRatio.RatioLow, 0.1 + 0.2);
    EXPECT_EQ(dir.Read("kelvaro.cfg"), edited);
    const QString folder = platform::ProgramFolder();
    EXPECT_EQ(App().WorkFileName, folder + QDir::separator() + "run1.pwr");
    EXPECT_EQ(App().EnergyWorkFile, platform::InFolder(folder, "/tmp/pulses.nrg"));
    EXPECT_EQ(App().RatioWorkFile, platform::InFolder(folder, "a-file-name-longer-than-one-zone.dnr"));
    EXPECT_EQ(App().PwrRtoWorkFile, platform::InFolder(folder, "ratio.dpw"));
    EXPECT_EQ(App().PwrDiffWorkFile, platform::InFolder(folder, "diff.dpw"));
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(ConfigurationFile, unreadableFileEndsTheProgramAndUnwritableOneIsReported) {
    ASSERT_TRUE(QDir(dir.Path()).mkdir("kelvaro.cfg"));
    EXPECT_FALSE(LoadConfiguration());
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(prompts.Texts(), (QStringList{"Access denied to file kelvaro.cfg",
                                            "Configuration file open failed. Kelvaro32 Terminated."}));
    prompts.messages.clear();
    SaveConfiguration();
    EXPECT_EQ(prompts.Texts(),
              (QStringList{"Access denied to file kelvaro.cfg", "Configuration file save failed."}));
    EXPECT_EQ(App().Config.CommPort, 16);
}

TEST_F(ConfigurationFile, saveRewritesTheWholeFileAndKeepsNamesTheReaderWouldLose) {
    dir.Write("kelvaro.cfg", QByteArray(10000, 'z'));
    SaveConfiguration();
    EXPECT_EQ(dir.Read("kelvaro.cfg"), ConfigurationText(NonDefault()));
    // An empty name would leave 63 values and throw every setting away.
    App().Config.Power.FileName = "";
    App().Config.Energy.FileName = " leading-blank.nrg";
    SaveConfiguration();
    ASSERT_TRUE(LoadConfiguration());
    EXPECT_EQ(App().Config.Power.FileName, "kelvaro.pwr");
    EXPECT_EQ(App().Config.Energy.FileName, "kelvaro.nrg");
    EXPECT_EQ(App().Config.CommPort, 16);
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

}  // namespace
