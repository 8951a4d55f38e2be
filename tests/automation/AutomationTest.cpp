// What a run without a window shares: the JSON line of a reading and the
// run's duration.

#include "automation/ReadingJson.h"
#include "automation/RunLimits.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadingJson, oneObjectALineWithNullWhereOverRange) {
    const double over = 3.402823E+38;
    const std::pair<Reading, const char*> rows[] = {
        {{0.0125, "W", 0, 1.5, false, {}}, R"({"t":1.5,"value":0.0125,"unit":"W","channel":"A"})"},
        {{over, "J", 1, 0.25, true, {}}, R"({"t":0.25,"value":null,"unit":"J","channel":"B"})"},
        {{over, "", 2, 3, true, {}, std::array<double, 2>{0.005, over}, "W"},
         R"({"t":3,"value":null,"unit":"","channel":"both","a":0.005,"b":null,"channel_unit":"W"})"},
        {{2, "a\"b\\", 0, 0.0080000000016, false, {}},
         R"({"t":0.008,"value":2,"unit":"a\"b\\","channel":"A"})"},
    };
    for (const auto& [reading, json] : rows) EXPECT_EQ(ReadingJson(reading), json);
}

TEST(ParseDuration, secondsMinutesHoursAndDays) {
    const auto no = std::nullopt;
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"10s", 10}, {"5m", 300}, {"2h", 7200}, {"1d", 86400}, {"1.5h", 5400}, {"7", 7},
        {"", no},    {"10x", no}, {"-5s", no},  {"0s", no},    {"s", no},      {"400d", no}};
    for (const auto& [text, seconds] : rows) EXPECT_EQ(ParseDuration(text), seconds) << text;
}

}  // namespace
