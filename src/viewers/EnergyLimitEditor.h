#pragma once

#include "auxiliary/SetupControls.h"

#include <QObject>
#include <cstdint>

// The energy limit controls of the viewers, with the rules of the energy
// setup: bars 0..999, boxes of 3 characters (beep otherwise), the Right
// bar at least 1 and never above 1000 J, units and scales that would pass
// 1000 J fall back. Nothing takes effect before the window applies it.
class EnergyLimitEditor : public QObject {
public:
    EnergyLimitEditor(QWidget* owner, const LimitNames& names);

    // The unit list in joules or in RP-units.
    void SetUnitTexts(bool relativeUnits);
    // The controls from applied limits (values in the unit and scale).
    void Show(int16_t unit, int16_t scale, double low, double high);
    // What is still typed in a box goes to its bar.
    void TakePending();

    int LeftBar() const;
    int RightBar() const;
    int16_t Unit() const;   // the entry the Units list shows
    int16_t Scale() const;  // the entry the Scale list shows

    LimitControls Controls;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BarChanged(int index);
    void UnitChosen();
    void ScaleChosen();
    double UnitFactor() const;

    double low_ = 0, high_ = 1;
};
