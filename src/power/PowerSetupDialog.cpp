#include "power/PowerSetupDialog.h"

#include "data/Units.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QApplication>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

SetupValues ReadPowerSettings() {
    const PowerSettings& s = CurrentSettings().Power;
    return {s.GraphLow, s.GraphHigh, s.GraphExponent, 4, s.LogTime, s.DisplayMode, s.GraphGrid, s.StatMode};
}

void WritePowerSettings(const SetupValues& v) {
    PowerSettings& s = CurrentSettings().Power;
    s.DisplayMode = v.Display;
    s.GraphGrid = v.Grid;
    s.StatMode = v.Stat;
    s.LogTime = v.LogTime;
    s.GraphExponent = v.Exponent;
    s.GraphLow = v.Low;
    s.GraphHigh = v.High;
}

constexpr int kRatioBarMax = 10;
constexpr int kRatioExponentLimit = 15;

}  // namespace

const SetupProfile kPowerSetupProfile{
    .Name = "PowerSetupDialog",
    .Title = "Power Graph Setup",
    .Limits = LimitStyle::Power,
    .Boxes = {"txt_power_0", "txt_power_1"},
    .Units = "cmbPowerUnits",
    .Scale = "cmbPowerCoeff",
    .DisplayOptions = 3,
    .Read = ReadPowerSettings,
    .Write = WritePowerSettings,
};

PowerSetupDialog::PowerSetupDialog(const SetupProfile& profile, QWidget* parent)
    : SetupDialog(parent), profile_(&profile) {
    setObjectName(profile.Name);
    setWindowTitle(profile.Title);
    BuildControls();
}

void PowerSetupDialog::BuildControls() {
    // Graph limits: two bars with their boxes, the unit and the coefficient.
    const SetupProfile& p = *profile_;
    const bool ratio = p.Limits == LimitStyle::Ratio;
    const bool difference = p.Limits == LimitStyle::Difference;
    const LimitControls limits = MakeLimitControls(this, {"Graph Limits",
                                                          {"Low", "High"},
                                                          {"graph_limits_0", "graph_limits_1"},
                                                          p.Boxes,
                                                          p.Units,
                                                          p.Scale,
                                                          difference ? -kLimitBarMax : 0,
                                                          ratio ? kRatioBarMax : kLimitBarMax});
    graph_limits = limits.Bars;
    txt_power = limits.Boxes;
    cmbPowerUnits = limits.Units;
    cmbPowerCoeff = limits.Scale;
    for (int i = 0; i < 2; ++i) {
        connect(graph_limits[i], &QScrollBar::valueChanged, this, [this, i] { graph_limits_Change(i); });
        connect(txt_power[i], &QLineEdit::textEdited, this, [this, i] { txt_power_Change(i); });
    }
    if (cmbPowerUnits) {
        connect(cmbPowerUnits, &QComboBox::currentIndexChanged, this, [this] { cmbPowerUnits_Click(); });
        connect(cmbPowerCoeff, &QComboBox::currentIndexChanged, this, [this] { cmbPowerCoeff_Click(); });
    }
    if (ratio) {
        // Dimensionless limits share one decade.
        graph_exp = MakeSetupBar(limits.Frame, -kRatioExponentLimit, kRatioExponentLimit, "graph_exp");
        txt_exp = MakeLimitBox(limits.Frame, "txt_exp");
        auto* caption = new QLabel("Exponent", limits.Frame);
        caption->setBuddy(txt_exp);
        auto* grid = static_cast<QGridLayout*>(limits.Frame->layout());
        grid->addWidget(caption, 2, 0);
        grid->addWidget(graph_exp, 2, 1);
        grid->addWidget(txt_exp, 2, 2);
        connect(graph_exp, &QScrollBar::valueChanged, this, [this] { graph_exp_Change(); });
        connect(txt_exp, &QLineEdit::textEdited, this, [this] { txt_exp_Change(); });
    }

    // Time period: hours first on screen, index 2.
    auto* period = new QGroupBox("Time Period", this);
    auto* tg = new QGridLayout(period);
    const char* timeBars[] = {"logtime_0", "logtime_1", "logtime_2"};
    const char* timeBoxes[] = {"txt_time_0", "txt_time_1", "txt_time_2"};
    const char* timeCaptions[] = {"S&ec", "&Min", "&Hours"};
    for (int i = 0; i < 3; ++i) {
        logtime[i] = MakeSetupBar(period, 0, TimePartMax(i), timeBars[i]);
        txt_time[i] = MakeLimitBox(period, timeBoxes[i]);
        auto* caption = new QLabel(timeCaptions[i], period);
        caption->setBuddy(txt_time[i]);
        const int row = 2 - i;
        tg->addWidget(caption, row, 0);
        tg->addWidget(logtime[i], row, 1);
        tg->addWidget(txt_time[i], row, 2);
        connect(logtime[i], &QScrollBar::valueChanged, this, [this, i] { logtime_Change(i); });
        connect(txt_time[i], &QLineEdit::textEdited, this, [this, i] { txt_time_Change(i); });
    }

    auto* stats = new QGroupBox("Statistics", this);
    auto* sl = new QVBoxLayout(stats);
    chkStat[1] = new QCheckBox("Min && Ma&x", stats);
    chkStat[2] = new QCheckBox("Average && St.&Dev.", stats);
    auto* grid = new QGroupBox("Grid Style", this);
    auto* gl = new QVBoxLayout(grid);
    Check2[1] = new QCheckBox("&Horizontal", grid);
    Check2[2] = new QCheckBox("&Vertical", grid);
    for (int i = 1; i <= 2; ++i) {
        chkStat[i]->setObjectName(QString("chkStat_%1").arg(i));
        Check2[i]->setObjectName(QString("Check2_%1").arg(i));
        sl->addWidget(chkStat[i]);
        gl->addWidget(Check2[i]);
        connect(chkStat[i], &QCheckBox::toggled, this, [this] { chkStat_Click(); });
        connect(Check2[i], &QCheckBox::toggled, this, [this] { Check2_Click(); });
    }

    auto* display = new QGroupBox("Display", this);
    auto* dl = new QVBoxLayout(display);
    const char* displayCaptions[] = {"&Graphic", "&Numeric", "&Both"};
    for (int i = 0; i < p.DisplayOptions; ++i) {
        Option4[i] = new QRadioButton(displayCaptions[i], display);
        Option4[i]->setObjectName(QString("Option4_%1").arg(i));
        dl->addWidget(Option4[i]);
        connect(Option4[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Option4_Click(i);
        });
    }

    MakeButtons([this] { Command2_Click(); });

    auto* left = new QVBoxLayout;
    left->addWidget(limits.Frame);
    left->addWidget(period);
    auto* right = new QVBoxLayout;
    right->addWidget(stats);
    right->addWidget(grid);
    right->addWidget(display);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);
    ArrangeAboveButtons(columns);
}

void PowerSetupDialog::SetupPowerGraph(bool runActive, const UnitScale& units) {
    const SetupValues s = profile_->Read();
    Loading = true;

    // A stored choice the dialog does not offer stays until another is made.
    DisplaySelection = std::clamp<int16_t>(s.Display, 0, 2);
    if (DisplaySelection < profile_->DisplayOptions) Option4[DisplaySelection]->setChecked(true);

    LogParts = SplitLogTime(s.LogTime);
    SetBarQuietly(logtime[2], LogParts.Hours);
    SetBarQuietly(logtime[1], LogParts.Minutes);
    SetBarQuietly(logtime[0], LogParts.Seconds);
    for (int i = 0; i < 3; ++i) SetTextQuietly(txt_time[i], QString::number(logtime[i]->value()));

    if (cmbPowerUnits) {
        cmbPowerUnits->clear();
        for (int i = 0; i < kListedPowerUnits; ++i) cmbPowerUnits->addItem(units.PowerUnit(i));
    }

    for (int i = 0; i < 3; ++i) {
        logtime[i]->setEnabled(!runActive);
        txt_time[i]->setEnabled(!runActive);
    }
    lblReminder->setVisible(runActive);

    GridSelection = s.Grid;
    Check2[1]->setChecked((GridSelection & 1) != 0);
    Check2[2]->setChecked((GridSelection & 2) != 0);
    StatSelection = s.Stat;
    chkStat[1]->setChecked((StatSelection & 1) != 0);
    chkStat[2]->setChecked((StatSelection & 2) != 0);

    ShowLimits(s);

    Loading = false;
    ShowDialog(runActive);
}

void PowerSetupDialog::ShowLimits(const SetupValues& s) {
    switch (profile_->Limits) {
        case LimitStyle::Power: {
            ScaleExponent = std::clamp<int16_t>(s.Exponent, 0, kMaxScaleExponent);
            const LimitView view = ViewOfLimits(s.Low, s.High, ScaleExponent, UnitScale::PowerFactors);
            LowValue = view.LowValue;
            HighValue = view.HighValue;
            UnitIndex = view.UnitIndex;
            break;
        }
        case LimitStyle::Difference: {
            // Limits may be negative: they show in the unit stored with them.
            ScaleExponent = std::clamp<int16_t>(s.Exponent, 0, kMaxScaleExponent);
            UnitIndex = std::clamp<int16_t>(s.Units, 0, kListedPowerUnits - 1);
            const double factor = UnitScale::PowerFactors[size_t(UnitIndex)] / ScaleOf(ScaleExponent);
            LowValue = s.Low * factor;
            HighValue = s.High * factor;
            break;
        }
        case LimitStyle::Ratio:
            ScaleExponent = std::clamp<int16_t>(s.Exponent, -kRatioExponentLimit, kRatioExponentLimit);
            SetBarQuietly(graph_exp, ScaleExponent);
            SetTextQuietly(txt_exp, QString::number(ScaleExponent));
            LowValue = s.Low / std::pow(10.0, ScaleExponent);
            HighValue = s.High / std::pow(10.0, ScaleExponent);
            break;
    }
    if (cmbPowerUnits) {
        cmbPowerCoeff->setCurrentIndex(ScaleExponent);
        cmbPowerUnits->setCurrentIndex(UnitIndex);
    }
    SetLimitBars();
}

// Bars and boxes from LowValue and HighValue.
void PowerSetupDialog::SetLimitBars() {
    ShowLimitBars(graph_limits, txt_power, LowValue, HighValue);
    // The boxes keep the decimals of a limit: 12.2 mW stays 12.2 mW.
    SetTextQuietly(txt_power[0], LimitText(LowValue));
    SetTextQuietly(txt_power[1], LimitText(HighValue));
}

bool PowerSetupDialog::TakeTypedLimit(int index) {
    double& value = index == 0 ? LowValue : HighValue;
    double most = graph_limits[index]->maximum();
    if (index == 1 && profile_->Limits == LimitStyle::Power)
        most = CeilingInUnit(ScaleExponent, UnitScale::PowerFactors[UnitIndex], kPowerCeiling);
    return TakeLimitValue(txt_power[index], graph_limits[index], value, most);
}

void PowerSetupDialog::graph_limits_Change(int index) {
    if (Loading) return;
    if (index == 0)
        LowValue = graph_limits[0]->value();
    else if (profile_->Limits == LimitStyle::Power)
        HighValue = HighAfterMove(graph_limits[1]->value(), LowValue, ScaleExponent,
                                  UnitScale::PowerFactors[UnitIndex]);
    else
        HighValue = std::max(LowValue + 1, double(graph_limits[1]->value()));
    SetLimitBars();
}

void PowerSetupDialog::txt_power_Change(int index) {
    if (Loading) return;
    CutLimitText(txt_power[index]);
}

void PowerSetupDialog::txt_power_LostFocus(int index) {
    if (Loading) return;
    TakeTypedLimit(index);
}

void PowerSetupDialog::cmbPowerUnits_Click() {
    if (Loading || cmbPowerUnits->currentIndex() < 0) return;
    // Only power has a ceiling.
    if (profile_->Limits != LimitStyle::Power) {
        UnitIndex = int16_t(cmbPowerUnits->currentIndex());
        return;
    }
    UnitIndex = FitUnit(int16_t(cmbPowerUnits->currentIndex()), graph_limits[1]->value(), ScaleExponent,
                        UnitScale::PowerFactors);
    SetIndexQuietly(cmbPowerUnits, UnitIndex);
}

void PowerSetupDialog::cmbPowerCoeff_Click() {
    if (Loading || cmbPowerCoeff->currentIndex() < 0) return;
    if (profile_->Limits != LimitStyle::Power) {
        ScaleExponent = int16_t(cmbPowerCoeff->currentIndex());
        return;
    }
    ScaleExponent = FitCoefficient(int16_t(cmbPowerCoeff->currentIndex()), graph_limits[1]->value(),
                                   UnitScale::PowerFactors[UnitIndex]);
    SetIndexQuietly(cmbPowerCoeff, ScaleExponent);
}

void PowerSetupDialog::graph_exp_Change() {
    if (Loading) return;
    ScaleExponent = int16_t(graph_exp->value());
    if (txt_exp->text() != QString::number(ScaleExponent))
        SetTextQuietly(txt_exp, QString::number(ScaleExponent));
}

void PowerSetupDialog::txt_exp_Change() {
    if (Loading) return;
    const QString text = txt_exp->text();
    // A sign alone is the start of a number.
    if (text == QLatin1String("-")) return;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (const auto typed = TypedWholeNumber(negative ? text.mid(1) : text, kRatioExponentLimit)) {
        graph_exp->setValue(negative ? -*typed : *typed);
    } else {
        platform::prompts().Beep();
        SetTextQuietly(txt_exp, QString::number(graph_exp->value()));
    }
}

void PowerSetupDialog::logtime_Change(int index) {
    if (Loading) return;
    const int value = logtime[index]->value();
    // The box keeps what the user typed while it means the same number.
    if (TypedTimePart(txt_time[index]->text(), TimePartMax(index)) != value)
        SetTextQuietly(txt_time[index], QString::number(value));
    int16_t* parts[] = {&LogParts.Seconds, &LogParts.Minutes, &LogParts.Hours};
    *parts[index] = int16_t(value);
    if (index == 2 && value == kMaxLogHours) {
        logtime[1]->setValue(0);
        logtime[0]->setValue(0);
    } else if (index < 2 && value != 0 && LogParts.Hours == kMaxLogHours) {
        // 24 hours is the longest log time: nothing may be added to it.
        logtime[index]->setValue(0);
    }
}

void PowerSetupDialog::txt_time_Change(int index) {
    if (Loading) return;
    QLineEdit* box = txt_time[index];
    if (box->text().size() > kTimeTextMax) {
        platform::prompts().Beep();
        SetTextQuietly(box, QString::number(logtime[index]->value()));
        return;
    }
    if (const auto typed = TypedTimePart(box->text(), TimePartMax(index))) {
        logtime[index]->setValue(*typed);
    } else {
        platform::prompts().Beep();
        SetTextQuietly(box, QString::number(logtime[index]->value()));
    }
}

void PowerSetupDialog::Check2_Click() {
    if (Loading) return;
    GridSelection = int16_t((Check2[1]->isChecked() ? 1 : 0) + (Check2[2]->isChecked() ? 2 : 0));
}

void PowerSetupDialog::chkStat_Click() {
    if (Loading) return;
    StatSelection = int16_t((chkStat[1]->isChecked() ? 1 : 0) + (chkStat[2]->isChecked() ? 2 : 0));
}

void PowerSetupDialog::Option4_Click(int index) {
    if (Loading) return;
    DisplaySelection = int16_t(index);
}

void PowerSetupDialog::Command2_Click() {
    // What is still being typed; a refused limit (beeped and marked) keeps
    // the dialog open.
    bool refused = false;
    for (int i = 0; i < 2; ++i)
        if (txt_power[i]->text() != LimitText(i == 0 ? LowValue : HighValue) && !TakeTypedLimit(i))
            refused = true;
    if (refused) return;

    const bool ratio = profile_->Limits == LimitStyle::Ratio;
    const double low = LowValue, high = HighValue;
    if (ratio) {
        const LimitValuePair values = OrderLimitValues(low, high);
        LowValue = values.Low;
        HighValue = values.High;
    } else {
        const ConfirmedLimits limits = ConfirmLimits(low, high, ScaleExponent, LowestBar());
        LowValue = limits.LowValue;
        HighValue = limits.HighValue;
        if (limits.ScaleExponent != ScaleExponent) {
            ScaleExponent = limits.ScaleExponent;
            SetIndexQuietly(cmbPowerCoeff, ScaleExponent);
        }
    }

    SetupValues v;
    v.Display = DisplaySelection;
    v.Grid = GridSelection;
    v.Stat = StatSelection;
    v.LogTime = JoinLogTime(LogParts);
    v.Exponent = ScaleExponent;
    v.Units = UnitIndex;
    if (ratio) {
        v.Low = LowValue * std::pow(10.0, ScaleExponent);
        v.High = HighValue * std::pow(10.0, ScaleExponent);
    } else {
        const double factor = UnitScale::PowerFactors[UnitIndex];
        v.Low = LimitInBaseUnit(LowValue, ScaleExponent, factor);
        v.High = LimitInBaseUnit(HighValue, ScaleExponent, factor);
    }
    profile_->Write(v);

    FinishOk();
}

bool PowerSetupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(txt_power, watched, event); i >= 0) txt_power_LostFocus(i);
    return QDialog::eventFilter(watched, event);
}

PowerSetupDialog& SetupPower() {
    static PowerSetupDialog* dialog = new PowerSetupDialog;
    return *dialog;
}

void SetupPowerGraph(bool runActive, const UnitScale& units) {
    SetupPower().SetupPowerGraph(runActive, units);
}

int PowerSetupDialog::LowestBar() const {
    return graph_limits[0]->minimum();
}
