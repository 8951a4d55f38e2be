// What a run without a window shares: the JSON line of a reading and the
// run's duration.

#include "automation/ReadingJson.h"
#include "automation/RunLimits.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadingJson, oneObjectALineWithNullWhereOverRange) {
    const double over = 3.402823E+38;
    const struct {
        Reading reading;
        const char* json;
    } rows[] = {
        {{0.0125, "W", 0, 1.5, false, {}}, R"({"t":1.5,"value":0.0125,"unit":"W","channel":"A"})"},
        {{over, "J", 1, 0.25, true, {}}, R"({"t":0.25,"value":null,"unit":"J","channel":"B"})"},
        {{1.25, "", 2, 2, false, {}, std::array<double, 2>{0.005, 0.004}, "J"},
         R"({"t":2,"value":1.25,"unit":"","channel":"both","a":0.005,"b":0.004,"channel_unit":"J"})"},
        {{over, "", 2, 3, true, {}, std::array<double, 2>{0.005, over}, "W"},
         R"({"t":3,"value":null,"unit":"","channel":"both","a":0.005,"b":null,"channel_unit":"W"})"},
        {{2, "a\"b\\", 0, 0.0080000000016, false, {}},
         R"({"t":0.008,"value":2,"unit":"a\"b\\","channel":"A"})"},
    };
    for (const auto& row : rows) EXPECT_EQ(ReadingJson(row.reading), row.json);
}

TEST(ParseDuration, secondsMinutesHoursAndDays) {
    const struct {
        const char* text;
        std::optional<double> seconds;
    } rows[] = {
        {"10s", 10},          {"5m", 300},           {"2h", 7200},
        {"1d", 86400},        {"1.5h", 5400},        {"7", 7},
        {"", std::nullopt},   {"10x", std::nullopt}, {"-5s", std::nullopt},
        {"0s", std::nullopt}, {"s", std::nullopt},   {"400d", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(ParseDuration(row.text), row.seconds) << row.text;
}

}  // namespace
