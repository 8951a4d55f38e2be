#include "power/frmSetupPower.h"

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

frmSetupPower::frmSetupPower(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSetupPower");
    setWindowTitle("Power Graph Setup");
    BuildControls();
}

void frmSetupPower::BuildControls() {
    // Graph limits: two bars with their boxes, the unit and the coefficient.
    const LimitControls limits = MakeLimitControls(this, kGraphLimitNames);
    graph_limits = limits.Bars;
    txt_power = limits.Boxes;
    cmbPowerUnits = limits.Units;
    cmbPowerCoeff = limits.Scale;
    for (int i = 0; i < 2; ++i) {
        connect(graph_limits[i], &QScrollBar::valueChanged, this, [this, i] { graph_limits_Change(i); });
        connect(txt_power[i], &QLineEdit::textEdited, this, [this, i] { txt_power_Change(i); });
    }
    connect(cmbPowerUnits, &QComboBox::currentIndexChanged, this, [this] { cmbPowerUnits_Click(); });
    connect(cmbPowerCoeff, &QComboBox::currentIndexChanged, this, [this] { cmbPowerCoeff_Click(); });

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
    for (int i = 0; i < 3; ++i) {
        Option4[i] = new QRadioButton(displayCaptions[i], display);
        Option4[i]->setObjectName(QString("Option4_%1").arg(i));
        dl->addWidget(Option4[i]);
        connect(Option4[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Option4_Click(i);
        });
    }

    lblReminder = MakeReminder(this);

    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Command2->setDefault(true);
    Command1 = new QPushButton("&Cancel", this);
    Command1->setObjectName("Command1");
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

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
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblReminder, 1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addLayout(buttons);
}

void frmSetupPower::SetupPowerGraph(bool runActive) {
    const PowerSettings& s = App().Config.Power;
    Loading = true;

    DisplaySelection = std::clamp<int16_t>(s.DisplayMode, 0, 2);
    Option4[DisplaySelection]->setChecked(true);

    LogParts = SplitLogTime(s.LogTime);
    SetBarQuietly(logtime[2], LogParts.Hours);
    SetBarQuietly(logtime[1], LogParts.Minutes);
    SetBarQuietly(logtime[0], LogParts.Seconds);
    for (int i = 0; i < 3; ++i) SetTextQuietly(txt_time[i], QString::number(logtime[i]->value()));

    cmbPowerUnits->clear();
    for (int i = 0; i < kListedPowerUnits; ++i) cmbPowerUnits->addItem(App().PowerUnits[i]);

    for (int i = 0; i < 3; ++i) {
        logtime[i]->setEnabled(!runActive);
        txt_time[i]->setEnabled(!runActive);
    }
    lblReminder->setVisible(runActive);

    GridSelection = s.GraphGrid;
    Check2[1]->setChecked((GridSelection & 1) != 0);
    Check2[2]->setChecked((GridSelection & 2) != 0);
    StatSelection = s.StatMode;
    chkStat[1]->setChecked((StatSelection & 1) != 0);
    chkStat[2]->setChecked((StatSelection & 2) != 0);

    ScaleExponent = std::clamp<int16_t>(s.GraphExponent, 0, kMaxScaleExponent);
    cmbPowerCoeff->setCurrentIndex(ScaleExponent);

    const LimitView view = ViewOfLimits(s.GraphLow, s.GraphHigh, ScaleExponent, App().PowerUnitFactors);
    LowValue = view.LowValue;
    HighValue = view.HighValue;
    UnitIndex = view.UnitIndex;
    cmbPowerUnits->setCurrentIndex(UnitIndex);
    SetLimitBars();

    Loading = false;
    lifecycle_.Show(this, runActive);
}

// Bars and boxes from LowValue and HighValue.
void frmSetupPower::SetLimitBars() {
    ShowLimitBars(graph_limits, txt_power, LowValue, HighValue);
}

void frmSetupPower::graph_limits_Change(int index) {
    if (Loading) return;
    if (index == 0)
        LowValue = graph_limits[0]->value();
    else
        HighValue = HighAfterMove(graph_limits[1]->value(), LowValue, ScaleExponent,
                                  App().PowerUnitFactors[UnitIndex]);
    SetLimitBars();
}

void frmSetupPower::txt_power_Change(int index) {
    if (Loading) return;
    CutLimitText(txt_power[index]);
}

void frmSetupPower::txt_power_LostFocus(int index) {
    if (Loading) return;
    TakeLimitText(txt_power[index], graph_limits[index]);
}

void frmSetupPower::cmbPowerUnits_Click() {
    if (Loading || cmbPowerUnits->currentIndex() < 0) return;
    UnitIndex = FitUnit(int16_t(cmbPowerUnits->currentIndex()), graph_limits[1]->value(), ScaleExponent,
                        App().PowerUnitFactors);
    SetIndexQuietly(cmbPowerUnits, UnitIndex);
}

void frmSetupPower::cmbPowerCoeff_Click() {
    if (Loading || cmbPowerCoeff->currentIndex() < 0) return;
    ScaleExponent = FitCoefficient(int16_t(cmbPowerCoeff->currentIndex()), graph_limits[1]->value(),
                                   App().PowerUnitFactors[UnitIndex]);
    SetIndexQuietly(cmbPowerCoeff, ScaleExponent);
}

void frmSetupPower::logtime_Change(int index) {
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

void frmSetupPower::txt_time_Change(int index) {
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

void frmSetupPower::Check2_Click() {
    if (Loading) return;
    GridSelection = int16_t((Check2[1]->isChecked() ? 1 : 0) + (Check2[2]->isChecked() ? 2 : 0));
}

void frmSetupPower::chkStat_Click() {
    if (Loading) return;
    StatSelection = int16_t((chkStat[1]->isChecked() ? 1 : 0) + (chkStat[2]->isChecked() ? 2 : 0));
}

void frmSetupPower::Option4_Click(int index) {
    if (Loading) return;
    DisplaySelection = int16_t(index);
}

void frmSetupPower::Command2_Click() {
    TakePendingLimits(txt_power, graph_limits);

    const ConfirmedLimits limits =
        ConfirmLimits(graph_limits[0]->value(), graph_limits[1]->value(), ScaleExponent);
    LowValue = limits.LowValue;
    HighValue = limits.HighValue;
    if (limits.ScaleExponent != ScaleExponent) {
        ScaleExponent = limits.ScaleExponent;
        SetIndexQuietly(cmbPowerCoeff, ScaleExponent);
    }

    PowerSettings& s = App().Config.Power;
    s.DisplayMode = DisplaySelection;
    s.GraphGrid = GridSelection;
    s.StatMode = StatSelection;
    s.LogTime = JoinLogTime(LogParts);
    s.GraphExponent = ScaleExponent;
    const double factor = App().PowerUnitFactors[UnitIndex];
    s.GraphLow = LimitInBaseUnit(LowValue, ScaleExponent, factor);
    s.GraphHigh = LimitInBaseUnit(HighValue, ScaleExponent, factor);

    emit applied();
    Unload();
    SaveConfiguration();
}

void frmSetupPower::Command1_Click() {
    Unload();
}

void frmSetupPower::reject() {
    Command1_Click();
}

void frmSetupPower::Unload() {
    if (lifecycle_.Hide(this)) emit unloaded();
}

void frmSetupPower::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (lifecycle_.LostFocus(this, event)) Command1_Click();
}

bool frmSetupPower::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(txt_power, watched, event); i >= 0) txt_power_LostFocus(i);
    return QDialog::eventFilter(watched, event);
}

frmSetupPower& SetupPower() {
    static frmSetupPower* dialog = new frmSetupPower;
    return *dialog;
}

void SetupPowerGraph(bool runActive) {
    SetupPower().SetupPowerGraph(runActive);
}
