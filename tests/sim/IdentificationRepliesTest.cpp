#include "SimTestUtil.h"

#include <gtest/gtest.h>

using sim::Meter;
using sim::Model;

namespace {

// Reads six hex words as the program does: each "aabb" gives the character
// bb then aa; trailing blanks dropped.
QString DecodeHexText(const QString& words) {
    QString out;
    for (const QString& w : words.split(' ', Qt::SkipEmptyParts)) {
        out += QChar(w.mid(2, 2).toInt(nullptr, 16));
        out += QChar(w.left(2).toInt(nullptr, 16));
    }
    while (out.endsWith(' ')) out.chop(1);
    return out;
}

quint32 DecodeHexNumber(const QString& words) {
    QStringList w = words.split(' ', Qt::SkipEmptyParts);
    return (w[1].toUInt(nullptr, 16) << 16) | w[0].toUInt(nullptr, 16);
}

}  // namespace

TEST(IdentificationReplies, versionReplyCarriesModelCodeAndFirmware) {
    struct Case {
        Model model;
        QString firmware;
        QString reply;
    } cases[] = {
        {Model::Talon, "", "*329"},         {Model::Talon, "328", "*328"},
        {Model::MeridelOne, "", "*QZ2.45"}, {Model::MeridelTwo, "1.80", "*QZ1.80"},
        {Model::Talon2, "", "*TL1.10"},     {Model::Sirka, "", "*SK1.05"},
        {Model::KorvenTH, "", "*KV1.20"},   {Model::KorvenQX450, "2.00", "*KV2.00"},
    };
    for (const Case& c : cases) {
        sim::MeterConfig cfg = Config(c.model);
        cfg.firmware = c.firmware;
        Meter m(cfg);
        EXPECT_EQ(Ask(m, "VE"), c.reply) << static_cast<int>(c.model);
    }
}

TEST(IdentificationReplies, channelAndKorvenQueriesAnswerByModel) {
    struct Case {
        Model model;
        QString command;
        QString reply;
    } cases[] = {
        {Model::MeridelTwo, "CH B", "*B"},    {Model::MeridelTwo, "CH A", "*A"},
        {Model::MeridelOne, "CH B", "*A"},  // one channel: stays on A
        {Model::Talon, "CH B", "?"},          {Model::Sirka, "CH A", "?"},
        {Model::MeridelTwo, "CH C", "?"},     {Model::KorvenTH, "II", "*TH"},
        {Model::KorvenPD, "II", "*PD"},       {Model::KorvenPE, "II", "*PE"},
        {Model::KorvenQX450, "II", "*QX450"}, {Model::Talon2, "II", "?"},
        {Model::KorvenPE, "RB 22 1", "?"},
    };
    for (const Case& c : cases) {
        Meter m(Config(c.model));
        EXPECT_EQ(Ask(m, c.command), c.reply) << static_cast<int>(c.model) << " " << c.command.toStdString();
    }
}

TEST(IdentificationReplies, headMemoryHoldsTypeNameAndSerialOfTheSelectedChannel) {
    struct Case {
        int type;
        QString typeWord;
    } cases[] = {{0, "0000"}, {1, "4854"}, {2, "5950"}, {3, "4953"}, {4, "4A4E"}, {5, "4854"}};
    for (const Case& c : cases) {
        Meter m(Config(Model::MeridelTwo, Head(1, "A-HEAD", 1), Head(c.type, "3A-P", 123456)));
        ASSERT_EQ(Ask(m, "CH B"), "*B");
        EXPECT_EQ(Ask(m, "RB 22 1"), "*" + c.typeWord) << c.type;
        if (c.type == 0) continue;
        QString name = Ask(m, "RB 1B 6");
        ASSERT_TRUE(name.startsWith('*'));
        EXPECT_EQ(DecodeHexText(name.right(29)), "3A-P");
        QString serial = Ask(m, "RB 16 2");
        EXPECT_EQ(serial, "*E240 0001");
        EXPECT_EQ(DecodeHexNumber(serial.right(9)), 123456u);
    }
    Meter m(Config(Model::MeridelTwo, Head(1, "A-HEAD", 1), Head(2)));
    Ask(m, "CH B");
    Ask(m, "CH A");
    EXPECT_EQ(DecodeHexText(Ask(m, "RB 1B 6").mid(1)), "A-HEAD");
}

TEST(IdentificationReplies, headMemoryReadOutsideItsRangeIsRefused) {
    Meter m(Config(Model::Talon));
    for (QString cmd : {"RB 3F 2", "RB 22 0", "RB ZZ 1", "RB 22", "RB -1 1"})
        EXPECT_EQ(Ask(m, cmd), "?") << cmd.toStdString();
    EXPECT_EQ(Ask(m, "RB 3F 1"), "*0000");
}

TEST(IdentificationReplies, meridelHeadInfoCarriesRapidPulseBitFromFirmware19) {
    struct Case {
        QString firmware;
        sim::HeadSpec head;
        QString reply;
    } cases[] = {
        {"2.45", Head(1), "*TH 01"},
        {"2.45",
         [] {
             auto h = Head(1);
             h.rapidPulse = true;
             return h;
         }(),
         "*TH 11"},
        {"1.90", Head(5), "*RP 11"},
        {"1.85", Head(1), "?"},
    };
    for (const Case& c : cases) {
        sim::MeterConfig cfg = Config(Model::MeridelOne, c.head);
        cfg.firmware = c.firmware;
        Meter m(cfg);
        QString r = Ask(m, "HI");
        EXPECT_EQ(r, c.reply) << c.firmware.toStdString();
        if (r.startsWith('*')) {
            bool rapid = (r.right(2).toInt(nullptr, 16) & 16) != 0;
            EXPECT_EQ(rapid, c.head.rapidPulse || c.head.type == 5);
        }
    }
}

TEST(IdentificationReplies, korvenHeadReplyPlacesSerialAndNameWhereTheyAreRead) {
    struct Case {
        Model model;
        sim::HeadSpec head;
        QString firstCode;  // first of PY, TH, SI, NJ, QX450, UC found in the reply
        QString serial, name;
    } cases[] = {
        {Model::KorvenTH, Head(1, "3A", 123456), "TH", "123456 ", "3A          "},
        {Model::KorvenPE, Head(2, "PE50BF-C", 9), "PY", "9 ", "PE50BF-C    "},
        {Model::KorvenPD, Head(3, "PD300", 42), "SI", "42 ", "PD300       "},
        {Model::KorvenPE, Head(4, "NJ-1", 7), "NJ", "7 ", "NJ-1        "},
        {Model::KorvenPD,
         [] {
             auto h = Head(3, "", 5);
             h.korvenCode = "QX450";
             return h;
         }(),
         "QX450", "5 ", "QX450       "},
        {Model::KorvenTH,
         [] {
             auto h = Head(1, "3A", 8);
             h.korvenCode = "UC";
             return h;
         }(),
         "UC", "8 ", "3A          "},
    };
    for (const Case& c : cases) {
        Meter m(Config(c.model, c.head));
        QString r = Ask(m, "HI").toUpper();
        ASSERT_TRUE(r.startsWith('*'));
        QString found;
        for (QString code : {"PY", "TH", "SI", "NJ", "QX450", "UC"}) {
            if (r.contains(code)) {
                found = code;
                break;
            }
        }
        EXPECT_EQ(found, c.firstCode) << r.toStdString();
        QString rest = r.mid(5);
        QString serial = rest.left(rest.indexOf(' ') + 1);
        EXPECT_EQ(serial, c.serial);
        EXPECT_EQ(r.mid(serial.size() + 5, 12), c.name);
    }
}

TEST(IdentificationReplies, headTypeReplyGivesCodeAndUnitBehindFirmwareGates) {
    struct Case {
        Model model;
        QString firmware;
        sim::HeadSpec head;
        QString reply;
    } cases[] = {
        {Model::MeridelOne, "2.45", Head(6, "LX1", 1, "Fc"), "*LX Fc"},
        {Model::MeridelOne, "2.45", Head(2), "*PY J"},
        {Model::MeridelOne, "2.41", Head(1), "?"},
        {Model::Talon, "329", Head(1), "*TH W"},
        {Model::Talon, "328", Head(1), "?"},
        {Model::Talon, "abc", Head(1), "?"},
        {Model::Talon2, "", Head(5), "*RP W"},
        {Model::Sirka, "", Head(3, "PD", 1, "A"), "*SI A"},
        {Model::Sirka, "", Head(0), "*NO"},
        {Model::KorvenTH, "", Head(1), "?"},
    };
    for (const Case& c : cases) {
        sim::MeterConfig cfg = Config(c.model, c.head);
        cfg.firmware = c.firmware;
        Meter m(cfg);
        EXPECT_EQ(Ask(m, "HT"), c.reply) << static_cast<int>(c.model) << " " << c.firmware.toStdString();
    }
}

TEST(IdentificationReplies, readingUnitFollowsTheModeAndTheHead) {
    struct Case {
        sim::HeadSpec head;
        QString mode;
        QString reply;
    } cases[] = {
        {Head(1), "", "*X"},
        {Head(1), "FP", "*W"},
        {Head(6, "L", 1, "Lx"), "FP", "*l"},
        {Head(6, "L", 1, "Fc"), "FP", "*c"},
        {Head(3, "P", 1, "A"), "FP", "*A"},
        {Head(2), "FP", "*W"},
        {Head(2), "FE", "*J"},
        {Head(0), "FP", "*X"},
    };
    for (const Case& c : cases) {
        Meter m(Config(Model::Talon2, c.head));
        if (!c.mode.isEmpty()) {
            ASSERT_EQ(Ask(m, c.mode), "*");
        }
        EXPECT_EQ(Ask(m, "SI"), c.reply) << c.head.type << " " << c.mode.toStdString();
    }
}
