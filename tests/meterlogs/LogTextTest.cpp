#include "meterlogs/LogText.h"

#include <gtest/gtest.h>

TEST(LogText, readingWordsBecomeTextsOrMakeTheBlockBad) {
    // clang-format off
    const struct { const char* word; int32_t fullScale; const char* text; /* "" = bad */ } cases[] = {
        {"+01234", 2000, "1234E-3"}, {"+01100", 1000, "Overrange"}, {"+01000", 909, "Overrange"} /* 999.9 rounded */,
        {"+00999", 909, "999E-3"}, {"01234", 2000, ""}, {"+1234", 2000, ""}, {"+0123a", 2000, ""}, {"0+1234", 2000, ""}};
    // clang-format on
    for (const auto& c : cases) {
        QString text;
        const bool good = MeridelReadingText(c.word, 0, OverrangeCount(c.fullScale), text);
        EXPECT_EQ(good ? text : QString(), QString(c.text)) << c.word;
    }
}

TEST(LogText, unitSymbolDecidesTheBaseUnitInOrder) {
    const std::pair<const char*, const char*> cases[] = {{"mW", "W"}, {"lx", "Lx"}, {"fc", "Fc"}, {"mA", "A"},
                                                         {"V", "V"},  {"Wlc", "W"}, {"LX", "W"}};
    for (const auto& [symbol, unit] : cases) EXPECT_EQ(UnitFromSymbolText(symbol), unit) << symbol;
}

// Ten readings a block, the last one partly filled; no count overflows.
TEST(LogText, blocksHoldTenReadingsEachRoundedUp) {
    const std::pair<int32_t, int32_t> cases[] = {
        {0, 0}, {1, 1}, {10, 1}, {11, 2}, {20, 2}, {25, 3}, {2147483640, 214748364}, {2147483647, 214748365}};
    for (const auto& [readings, blocks] : cases) EXPECT_EQ(BlocksFor(readings), blocks) << readings;
    EXPECT_EQ(OverrangeCount(2147483647), 2147483647);
}
