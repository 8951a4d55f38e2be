#pragma once

#include "auxiliary/SetupControls.h"
#include "auxiliary/SetupDialog.h"
#include "data/Units.h"
#include "power/PowerSetupRules.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The "Graph Limits" frame of the power setup, also in the power viewer.
inline const LimitNames kGraphLimitNames{
    "Graph Limits",  {"Low", "High"}, {"graph_limits_0", "graph_limits_1"}, {"txt_power_0", "txt_power_1"},
    "cmbPowerUnits", "cmbPowerCoeff"};

// The settings a power-type setup dialog edits, whichever mode owns them.
struct SetupValues {
    double Low = 0;  // base unit (ratio: plain number)
    double High = 1;
    int16_t Exponent = 0;  // coefficient index; ratio: the decade -15..15
    int16_t Units = 4;     // unit index of the limits
    int32_t LogTime = 15;
    int16_t Display = 2;
    int16_t Grid = 3;
    int16_t Stat = 3;
};

// How the graph limits are edited: power (0..999 in a unit and coefficient,
// under 30 kW), ratio (0..10 times a decade) or difference (-999..999 in a
// unit and coefficient, no ceiling).
enum class LimitStyle { Power, Ratio, Difference };

// One variant of the dialog: its names, limit style, display choices and
// where its settings live.
struct SetupProfile {
    const char* Name;
    const char* Title;
    LimitStyle Limits;
    std::array<const char*, 2> Boxes;  // limit boxes (..._0, ..._1)
    const char* Units;                 // null: no unit and coefficient lists
    const char* Scale;
    int DisplayOptions;  // Graphic, Numeric (and Both)
    SetupValues (*Read)();
    void (*Write)(const SetupValues&);
};
extern const SetupProfile kPowerSetupProfile;

// "Power Graph Setup" (and its ratio and difference variants): the chart's
// limits, log time, statistics, grid and display. Not modal; it cancels
// itself when it loses the focus. OK writes the settings of its profile,
// emits applied() and saves kelvaro.cfg.
class PowerSetupDialog : public SetupDialog {
    Q_OBJECT
public:
    explicit PowerSetupDialog(QWidget* parent = nullptr) : PowerSetupDialog(kPowerSetupProfile, parent) {}
    explicit PowerSetupDialog(const SetupProfile& profile, QWidget* parent = nullptr);

    // Fills the controls from the power settings and shows the dialog.
    // runActive: the power window has an initialised run; the log-time
    // controls are greyed out and lblReminder is shown.
    void SetupPowerGraph(bool runActive, const UnitScale& units = UnitScale());

    // Controls, by the index the captions use (chkStat and Check2 from 1).
    std::array<QScrollBar*, 2> graph_limits{};
    std::array<QLineEdit*, 2> txt_power{};
    QComboBox* cmbPowerCoeff = nullptr;
    QComboBox* cmbPowerUnits = nullptr;
    std::array<QScrollBar*, 3> logtime{};
    std::array<QLineEdit*, 3> txt_time{};
    std::array<QCheckBox*, 3> chkStat{};
    std::array<QCheckBox*, 3> Check2{};
    std::array<QRadioButton*, 3> Option4{};
    QScrollBar* graph_exp = nullptr;  // ratio: the common exponent
    QLineEdit* txt_exp = nullptr;

    // Dialog state.
    int16_t UnitIndex = 4;
    int16_t ScaleExponent = 0;
    double LowValue = 0;
    double HighValue = 1;
    LogTimeParts LogParts;
    int16_t GridSelection = 3;
    int16_t StatSelection = 3;
    int16_t DisplaySelection = 2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void graph_limits_Change(int index);
    void txt_power_Change(int index);
    void txt_power_LostFocus(int index);
    void cmbPowerUnits_Click();
    void cmbPowerCoeff_Click();
    void logtime_Change(int index);
    void txt_time_Change(int index);
    void Check2_Click();
    void chkStat_Click();
    void Option4_Click(int index);
    void Command2_Click();
    void SetLimitBars();
    bool TakeTypedLimit(int index);  // false when refused
    void ShowLimits(const SetupValues& s);
    void graph_exp_Change();
    void txt_exp_Change();
    int LowestBar() const;

    const SetupProfile* profile_;

    bool Loading = false;
};

// The one power setup dialog, created on first use.
PowerSetupDialog& SetupPower();

// Fills and shows the one dialog (the power window's Setup button).
void SetupPowerGraph(bool runActive, const UnitScale& units = UnitScale());
