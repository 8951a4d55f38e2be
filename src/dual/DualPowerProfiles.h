#pragma once

#include "power/PowerProfile.h"
#include "power/PowerSetupDialog.h"
#include "power/PowerWindow.h"

// Power ratio and power difference: the same engine, window and setup as
// single-channel power, with these profiles.
extern const PowerProfile kPowerRatioProfile;
extern const PowerProfile kPowerDifferenceProfile;
extern const PowerWindowProfile kPowerRatioWindow;
extern const PowerWindowProfile kPowerDifferenceWindow;
extern const SetupProfile kSetupPowerRatioProfile;
extern const SetupProfile kSetupDifferenceProfile;

// "Power Ratio Setup" and "Power Difference Setup", each created on first use.
PowerSetupDialog& SetupPowerRatio();
PowerSetupDialog& SetupPowerDifference();
