#pragma once

#include "power/PowerProfile.h"
#include "power/frmPower.h"
#include "power/frmSetupPower.h"

// Power ratio and power difference: the same engine, window and setup as
// single-channel power, with these profiles.
extern const PowerProfile kPowerRatioProfile;
extern const PowerProfile kPowerDifferenceProfile;
extern const PowerWindowProfile kPwrRtoWindow;
extern const PowerWindowProfile kPwrDiffWindow;
extern const SetupProfile kSetupPwrRtoProfile;
extern const SetupProfile kSetupDifferenceProfile;

// "Power Ratio Setup" and "Power Difference Setup", each created on first use.
frmSetupPower& SetupPwrRto();
frmSetupPower& SetupPwrDiff();
