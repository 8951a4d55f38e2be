#pragma once

#include "data/PcFileFormat.h"
#include "data/Units.h"

#include <QString>

// What a record about to be shown says of itself, beyond its lines. The
// PC-file loader and the meter-log download describe it before the
// receiving viewer begins (Load(-1)); the viewer takes what it needs then.
struct DataSetFacts {
    UnitScale Units;  // base unit of power, RP units of energy
    bool MissingPulseDetection = false;
    DualHeads Heads;  // two-channel power: the heads named for ratio and difference files
};

void DescribeDataSet(const DataSetFacts& facts);
const DataSetFacts& DescribedDataSet();
