#pragma once

#include "data/NumberFormat.h"

// Fixes the decimal separator for one test and restores the system's after.
class SeparatorScope {
public:
    explicit SeparatorScope(const QString& separator) { SetDecimalSeparator(separator); }
    ~SeparatorScope() { SetDecimalSeparator(QString()); }
};
