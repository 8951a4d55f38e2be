#pragma once

#include "link/MeterModels.h"

#include <QString>
#include <cstdint>

// The request that follows a reply in the energy and rapid-pulse cycle, by
// mode, head type and meter model. `Send` false: nothing is sent; Message,
// when not empty, tells the user why.
struct EnergyQuery {
    bool Send = false;
    int16_t State = 0;  // 1 wait for ready ("ER"), 2 for a new pulse ("EF"), 3 for the energy ("SE")
    const char* Command = "";
    double Timeout = 0;
    QString Message;
};

// `afterReading`: the cycle went round once (the photodiode and photometer
// texts then name the head).
EnergyQuery NextEnergyQuery(bool rapidPulse, HeadKind headType, MeterModel deviceType, bool afterReading);

inline const QString kNoEnergyHead = QStringLiteral("This head does not support Energy!");
