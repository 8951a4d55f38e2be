#include "app/AppState.h"
#include "data/Units.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildPowerUnits, labelsFollowTheBaseUnit) {
    ResetAppState();
    App().BaseUnit = "Lx";
    BuildPowerUnits();
    EXPECT_EQ(App().PowerUnits[0], "pLx");
    EXPECT_EQ(App().PowerUnits[4], "Lx");
    EXPECT_EQ(App().PowerUnits[6], "MLx");
    EXPECT_EQ(App().PowerUnitFactors[0], 1E12);
    App().BaseUnit = "W";
    BuildPowerUnits();
    EXPECT_EQ(App().PowerUnits[2], "uW");
    ResetAppState();
}

TEST(UnitLongName, knownUnitsAndWattsOtherwise) {
    const char* const pairs[][2] = {{"Lx", "Lux"},     {"Fc", "Footcandles"}, {"A", "Amperes"},
                                    {"V", "Volts"},    {"W", "Watts"},        {"", "Watts"},
                                    {"lx", "Watts"}};
    for (const auto& p : pairs) EXPECT_EQ(UnitLongName(p[0]), p[1]) << p[0];
}

}  // namespace
