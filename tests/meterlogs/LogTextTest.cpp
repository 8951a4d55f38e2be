#include "meterlogs/LogText.h"

#include <gtest/gtest.h>

TEST(LogText, readingWordsBecomeTextsOrMakeTheBlockBad) {
    // word, exponent code, full scale, text ("" = bad word)
    const struct {
        const char* word;
        int16_t code;
        int32_t fullScale;
        const char* text;
    } cases[] = {
        {"+01234", 0, 2000, "1234E-3"},   {"+01099", 0, 1000, "1099E-3"}, {"+01100", 0, 1000, "Overrange"},
        {"+05000", 2, 1000, "Overrange"}, {"-09876", 0, 1000, "-9876"},   {"-00500", 5, 1000, "-500E2"},
        {"+01000", 0, 909, "Overrange"},  {"+00999", 0, 909, "999E-3"},  // 999.9 rounds to 1000
        {"01234", 0, 2000, ""},           {"+1234", 0, 2000, ""},         {"+012345", 0, 2000, ""},
        {"+0123a", 0, 2000, ""},          {"0+1234", 0, 2000, ""},        {"", 0, 2000, ""}};
    for (const auto& c : cases) {
        QString text;
        const bool good = MeridelReadingText(c.word, c.code, OverrangeCount(c.fullScale), text);
        EXPECT_EQ(good ? text : QString(), QString(c.text)) << c.word;
    }
}

TEST(LogText, descriptionFieldsEightAndElevenAreTwelveCharactersWide) {
    const DescriptionFields f =
        CutDescription("1 0 0 25 30 mW 0 0 XLP 12 B-2   1000 4711 NONE         900 2 NONE 1");
    const QStringList got{f[0], f[3], f[4], f[5], f[8], f[9], f[10], f[11], f[12], f[13], f[14], f[15]};
    EXPECT_EQ(got, (QStringList{"1", "25", "30", "mW", "XLP 12 B-2  ", "1000", "4711", "NONE        ", "900",
                                "2", "NONE", "1"}));
    EXPECT_EQ(CutDescription("0 0 0 7")[9], "NONE");  // missing fields
}

TEST(LogText, selectionLinesHaveColumnsOfTenFifteenTwentyThirtyAndTwenty) {
    const auto line = [](const char* name, const char* size, const char* type, const char* head,
                         const char* sn) {
        return QString(name).leftJustified(10) + QString(size).leftJustified(15) +
               QString(type).leftJustified(20) + QString(head).leftJustified(30) +
               QString(sn).leftJustified(20);
    };
    const QString single = "0 0 0 25 30 W 0 0 3A           1000 123456 NONE         1000 0 NONE 0";
    EXPECT_EQ(LogListLine(0, CutDescription(single)), line("Temp", "25", "Power", "3A", "123456"));
    EXPECT_EQ(LogListLine(3, CutDescription(QString(single).replace(" W ", " mJ "))),
              line("3", "25", "Energy", "3A", "123456"));
    EXPECT_EQ(
        LogListLine(10, CutDescription("0 0 0 25 30 RP_ 0 0 PE25         1000 9 3A           1000 0 7 0")),
        line("10", "12.5", "RP-Units", "Dual-Channel", "---"));
    EXPECT_EQ(FitTextToWidth("  A head name longer than thirty  ", 30), "A head name longer than thirty");
}

TEST(LogText, unitSymbolDecidesTheBaseUnitInOrder) {
    const std::pair<const char*, const char*> cases[] = {{"mW", "W"}, {"lx", "Lx"}, {"fc", "Fc"}, {"mA", "A"},
                                                         {"V", "V"},  {"Wlc", "W"}, {"LX", "W"},  {"", "W"}};
    for (const auto& [symbol, unit] : cases) EXPECT_EQ(UnitFromSymbolText(symbol), unit) << symbol;
}
