#include "SimTestUtil.h"

#include <gtest/gtest.h>

using sim::Meter;
using sim::Model;

namespace {

sim::StoredLog Log(int file, int count, const QString& unit = "W") {
    sim::StoredLog log;
    log.file = file;
    log.unit = unit;
    log.interval = 15;
    for (int i = 0; i < count; ++i) log.mantissas << 1000 + i;
    return log;
}

// The description cut as the program cuts it: after "*" and one more
// character, blank-separated fields, fields 8 and 11 twelve characters wide.
QStringList DescriptionFields(QString reply) {
    QString t = reply.mid(2);
    QStringList fields;
    while (fields.size() < 16 && !t.isEmpty()) {
        if (fields.size() == 8 || fields.size() == 11) {
            fields << t.left(12);
            t = t.mid(13);
        } else {
            int blank = t.indexOf(' ');
            fields << (blank < 0 ? t : t.left(blank));
            t = blank < 0 ? QString() : t.mid(blank + 1);
        }
    }
    return fields;
}

}  // namespace

TEST(StoredLogs, listingAnswersFileNumberAndSizeUpToFileTen) {
    sim::MeterConfig cfg = Config(Model::MeridelOne);
    cfg.logs = {Log(0, 25), Log(3, 7)};
    Meter m(cfg);
    QStringList replies;
    for (int i = 0; i <= 11; ++i) replies << Ask(m, QString("LF  %1").arg(i));
    EXPECT_EQ(replies, QStringList({"*0: 25", "*1: 0", "*2: 0", "*3: 7", "*4: 0", "*5: 0", "*6: 0", "*7: 0",
                                    "*8: 0", "*9: 0", "*10: 0", "?"}));
}

TEST(StoredLogs, descriptionFieldsLineUpForOneAndTwoChannels) {
    sim::StoredLog single = Log(2, 25, "mW");
    single.exponent = 1;
    single.headA = "3A P";  // a name with a blank stays in its fixed field
    single.serialA = "4711";
    single.fullScale = 2000;
    sim::StoredLog dual = Log(4, 40, "J");
    dual.dual = true;
    dual.headB = "PE50";
    dual.serialB = "99";
    dual.exponentB = 2;
    dual.fullScaleB = 3000;
    dual.missingPulseDetection = true;
    sim::MeterConfig cfg = Config(Model::MeridelTwo);
    cfg.logs = {single, dual};
    Meter m(cfg);

    Ask(m, "LF  2");
    QStringList f = DescriptionFields(Ask(m, "LI"));
    ASSERT_EQ(f.size(), 16);
    EXPECT_EQ(f[0], "1");
    EXPECT_EQ(f[3], "25");
    EXPECT_EQ(f[4], "15");
    EXPECT_EQ(f[5], "mW");
    EXPECT_EQ(f[8], "3A P        ");
    EXPECT_EQ(f[9], "2000");
    EXPECT_EQ(f[10], "4711");
    EXPECT_TRUE(f[11].contains("NONE"));

    Ask(m, "LF  4");
    f = DescriptionFields(Ask(m, "LI"));
    ASSERT_EQ(f.size(), 16);
    EXPECT_EQ(f[3], "40");
    EXPECT_EQ(f[5], "J");
    EXPECT_EQ(f[11], "PE50        ");
    EXPECT_EQ(f[12], "3000");
    EXPECT_EQ(f[13], "2");
    EXPECT_EQ(f[14], "99");
    EXPECT_EQ(f[15], "1");
}

TEST(StoredLogs, blocksCarryTenSignedSixCharacterReadingsUntilTheEnd) {
    sim::StoredLog log = Log(0, 0);
    for (int i = 0; i < 25; ++i) log.mantissas << (i == 3 ? -9876 : 1234 + i);
    sim::MeterConfig cfg = Config(Model::Sirka);
    cfg.logs = {log};
    Meter m(cfg);
    Ask(m, "LF  0");
    ASSERT_EQ(Ask(m, "LR"), "*");
    QStringList blocks = {Ask(m, "LS"), Ask(m, "LS"), Ask(m, "LS"), Ask(m, "LS")};
    QList<int> sizes;
    for (const QString& b : blocks) sizes << b.mid(1).split(' ', Qt::SkipEmptyParts).size();
    EXPECT_EQ(sizes, QList<int>({10, 10, 5, 0}));
    EXPECT_TRUE(blocks[0].startsWith("*+01234 +01235 +01236 -09876 "));
    for (const QString& word : blocks[1].mid(1).split(' ')) EXPECT_EQ(word.size(), 6);
    EXPECT_EQ(Ask(m, "LR"), "*");
    EXPECT_EQ(Ask(m, "LS"), blocks[0]);  // rewound
}

TEST(StoredLogs, badBlockIsRepeatedCleanByLL) {
    sim::MeterConfig cfg = Config(Model::Talon2);
    cfg.logs = {Log(0, 25)};
    cfg.faults.badBlocks = 2;
    Meter m(cfg);
    Ask(m, "LF  0");
    Ask(m, "LR");
    QString bad = Ask(m, "LS");
    QStringList words = bad.mid(1).split(' ');
    EXPECT_EQ(words[0], "01000");  // the sign is lost: the program must reject it
    QString good = Ask(m, "LL");
    EXPECT_EQ(good.mid(1).split(' ')[0], "+01000");
    EXPECT_EQ(good.mid(1).split(' ').size(), 10);
    EXPECT_EQ(Ask(m, "LS").mid(1).split(' ')[0], "01010");  // second bad block
    EXPECT_EQ(Ask(m, "LS").mid(1).split(' ')[0], "+01020");
}

TEST(StoredLogs, talonKeepsOneLogWithPlainIntegersAndZeroIntervalForEnergy) {
    struct Case {
        QString unit;
        QString description;
    } cases[] = {{"W", "* 0 0 0 25 15"}, {"J", "* 0 0 0 25 0"}};
    for (const Case& c : cases) {
        sim::MeterConfig cfg = Config(Model::Talon);
        cfg.logs = {Log(7, 25, c.unit)};
        Meter m(cfg);
        EXPECT_EQ(Ask(m, "LF  0"), "?");
        EXPECT_EQ(Ask(m, "LI"), c.description);
        Ask(m, "LR");
        EXPECT_EQ(Ask(m, "LS"), "*1000 1001 1002 1003 1004 1005 1006 1007 1008 1009");
    }
    Meter empty(Config(Model::Talon));
    EXPECT_EQ(Ask(empty, "LI"), "* 0 0 0 0 30");
}

TEST(StoredLogs, talonBadBlockIsShort) {
    sim::MeterConfig cfg = Config(Model::Talon);
    cfg.logs = {Log(0, 25)};
    cfg.faults.badBlocks = 1;
    Meter m(cfg);
    Ask(m, "LR");
    EXPECT_EQ(Ask(m, "LS").mid(1).split(' ').size(), 9);
    EXPECT_EQ(Ask(m, "LS").mid(1).split(' ').size(), 10);
}
