#pragma once

#include "auxiliary/StabilityWindow.h"

#include <gtest/gtest.h>
#include <QString>
#include <QTableWidget>
#include <cmath>

// The number in a stability figure's cell ("0.1235 W" gives 0.1235).
inline double Cell(const StabilityWindow& s, const QString& label) {
    for (int r = 0; r < s.Figures->rowCount(); ++r)
        if (s.Figures->item(r, 0)->text() == label)
            return s.Figures->item(r, 1)->text().section(' ', 0, 0).toDouble();
    ADD_FAILURE() << label.toStdString();
    return NAN;
}
