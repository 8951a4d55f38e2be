#include "energy/frmSetupEnergy.h"

#include "state/AppState.h"
#include "state/Configuration.h"

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

namespace {

// Two option buttons of a frame; the handler gets the index of the one chosen.
template <typename Handler>
void AddOptions(QWidget* owner, QLayout* layout, std::array<QRadioButton*, 2>& options,
                const char* const captions[2], const char* name, Handler handler) {
    for (int i = 0; i < 2; ++i) {
        options[i] = new QRadioButton(captions[i], layout->parentWidget());
        options[i]->setObjectName(QString("%1_%2").arg(name).arg(i));
        layout->addWidget(options[i]);
        QObject::connect(options[i], &QRadioButton::toggled, owner, [handler, i](bool on) {
            if (on) handler(i);
        });
    }
}

// A caption above its bar (1 .. maximum), as the bins and storage-rate frames show them.
QScrollBar* AddCaptionedBar(QVBoxLayout* layout, QLabel*& caption, const char* captionName, int maximum,
                            const char* barName) {
    QWidget* frame = layout->parentWidget();
    caption = new QLabel(frame);
    caption->setObjectName(captionName);
    auto* bar = MakeSetupBar(frame, 1, maximum, barName);
    layout->addWidget(caption);
    layout->addWidget(bar);
    return bar;
}

}  // namespace

frmSetupEnergy::frmSetupEnergy(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSetupEnergy");
    setWindowTitle("Energy Histogram Setup");
    BuildControls();
}

QWidget* frmSetupEnergy::BuildLimits() {
    const LimitControls limits = MakeLimitControls(this, {"Histogram Limits",
                                                          {"Left", "Right"},  // Label1, Label2
                                                          {"histogram_limits_0", "histogram_limits_1"},
                                                          {"txt_energy_0", "txt_energy_1"},
                                                          "cmbEnergyUnits",
                                                          "cmbEnergyCoeff"});
    histogram_limits = limits.Bars;
    txt_energy = limits.Boxes;
    cmbEnergyUnits = limits.Units;
    cmbEnergyCoeff = limits.Scale;
    for (int i = 0; i < 2; ++i) {
        connect(histogram_limits[i], &QScrollBar::valueChanged, this,
                [this, i] { histogram_limits_Change(i); });
        connect(txt_energy[i], &QLineEdit::textEdited, this, [this, i] { txt_energy_Change(i); });
    }
    connect(cmbEnergyUnits, &QComboBox::currentIndexChanged, this, [this] { cmbEnergyUnits_Click(); });
    connect(cmbEnergyCoeff, &QComboBox::currentIndexChanged, this, [this] { cmbEnergyCoeff_Click(); });
    return limits.Frame;
}

QWidget* frmSetupEnergy::BuildBins() {
    auto* bins = new QGroupBox("Histogram Bins", this);
    auto* bl = new QVBoxLayout(bins);
    bins_count = AddCaptionedBar(bl, txt_bins, "txt_bins", kBinsBarMax, "bins_count");
    bin_size = AddCaptionedBar(bl, txt_pulses, "txt_pulses", kTableBarMax, "bin_size");
    connect(bins_count, &QScrollBar::valueChanged, this, [this] { bins_count_Change(); });
    connect(bin_size, &QScrollBar::valueChanged, this, [this] { bin_size_Change(); });
    return bins;
}

QWidget* frmSetupEnergy::BuildStorageRate() {
    auto* rate = new QGroupBox("Storage Rate", this);
    auto* rl = new QVBoxLayout(rate);
    storage_rate = AddCaptionedBar(rl, txtStorageRate, "txtStorageRate", kTableBarMax, "storage_rate");
    connect(storage_rate, &QScrollBar::valueChanged, this, [this] { storage_rate_Change(); });
    const char* const styles[] = {"Average", "Sample"};
    AddOptions(this, rl, optStorageStyle, styles, "optStorageStyle", [this](int i) {
        if (!Loading) Choices.StorageStyle = int16_t(i + 1);
    });
    for (QRadioButton* option : optStorageStyle) {
        // Hiding the style buttons for N = 1 must not move the frames.
        QSizePolicy keep = option->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        option->setSizePolicy(keep);
    }
    rl->addStretch();
    return rate;
}

void frmSetupEnergy::BuildControls() {
    auto* mode = new QGroupBox("Storage Mode", this);
    auto* ml = new QVBoxLayout(mode);
    const char* const modes[] = {"First Readings", "Last Readings"};
    AddOptions(this, ml, optStorageMode, modes, "optStorageMode", [this](int i) {
        if (!Loading) Choices.StorageMode = int16_t(i);
    });
    chkTimeStamp = new QCheckBox("Time Stamp", this);
    chkTimeStamp->setObjectName("chkTimeStamp");
    connect(chkTimeStamp, &QCheckBox::toggled, this, [this](bool on) {
        if (!Loading) Choices.TimeStamp = on;
    });

    auto* stats = new QGroupBox("Statistics", this);
    auto* sl = new QVBoxLayout(stats);
    chkStat[1] = new QCheckBox("Min && Ma&x", stats);
    chkStat[2] = new QCheckBox("Avr. && St.&Dev.", stats);
    for (int i = 1; i <= 2; ++i) {
        chkStat[i]->setObjectName(QString("chkStat_%1").arg(i));
        sl->addWidget(chkStat[i]);
        connect(chkStat[i], &QCheckBox::toggled, this, [this] {
            if (!Loading)
                Choices.Statistics = StatisticsOption(chkStat[1]->isChecked(), chkStat[2]->isChecked());
        });
    }
    sl->addStretch();

    auto* display = new QGroupBox("Display", this);
    auto* dl = new QVBoxLayout(display);
    const char* const styles[] = {"Histogram", "Numeric"};
    AddOptions(this, dl, optDisplayStyle, styles, "optDisplayStyle", [this](int i) {
        if (!Loading) Choices.DisplayStyle = int16_t(i);
    });
    dl->addStretch();

    lblReminder = MakeReminder(this);
    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Command2->setDefault(true);
    Command1 = new QPushButton("&Cancel", this);
    Command1->setObjectName("Command1");
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    // Three columns whose frames line up row by row.
    auto* frames = new QGridLayout;
    frames->addWidget(BuildLimits(), 0, 0);
    frames->addWidget(BuildBins(), 1, 0);
    frames->addWidget(BuildStorageRate(), 0, 1);
    auto* modeColumn = new QVBoxLayout;
    modeColumn->addWidget(mode);
    modeColumn->addWidget(chkTimeStamp);
    modeColumn->addStretch();
    frames->addLayout(modeColumn, 1, 1);
    frames->addWidget(stats, 0, 2);
    frames->addWidget(display, 1, 2);
    frames->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblReminder, 1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(frames);
    all->addLayout(buttons);
}

void frmSetupEnergy::SetupEnergyHist(bool runActive, bool relativeUnits) {
    Loading = true;
    {
        const QSignalBlocker block(cmbEnergyUnits);
        cmbEnergyUnits->clear();
        cmbEnergyUnits->addItems(EnergyUnitTexts(relativeUnits));
    }
    Choices = ChoicesOf(App().Config.Energy, App().EnergyUnitFactors);
    ShowChoices();
    EnableRunControls(!runActive);
    Loading = false;

    lifecycle_.Show(this, runActive);
}

void frmSetupEnergy::ShowChoices() {
    const EnergyChoices& c = Choices;  // Loading keeps the handlers from changing it
    optDisplayStyle[c.DisplayStyle]->setChecked(true);
    optStorageMode[c.StorageMode]->setChecked(true);
    // A rate or size outside the tables leaves its bar where it was.
    if (const auto position = StorageRatePosition(c.StorageRate)) SetBarQuietly(storage_rate, *position);
    optStorageStyle[c.StorageStyle - 1]->setChecked(true);
    chkTimeStamp->setChecked(c.TimeStamp);
    ShowStorageRate();
    SetBarQuietly(bins_count, BinsPosition(c.BinsCount));
    txt_bins->setText(BinsCaption(c.BinsCount));
    if (const auto position = InitialSizePosition(c.InitialSize)) SetBarQuietly(bin_size, *position);
    txt_pulses->setText(InitialSizeCaption(c.InitialSize));
    chkStat[1]->setChecked((c.Statistics & 1) != 0);
    chkStat[2]->setChecked((c.Statistics & 2) != 0);
    SetIndexQuietly(cmbEnergyCoeff, c.ScaleIndex);
    SetIndexQuietly(cmbEnergyUnits, c.UnitIndex);
    SetLimitBars();
}

// What shapes the stored data and the histogram waits for the energy window's Reset.
void frmSetupEnergy::EnableRunControls(bool enabled) {
    QWidget* const shaping[] = {
        bin_size,      bins_count,         histogram_limits[0], histogram_limits[1], txt_energy[0],
        txt_energy[1], cmbEnergyCoeff,     cmbEnergyUnits,      optStorageMode[0],   optStorageMode[1],
        storage_rate,  optStorageStyle[0], optStorageStyle[1],  chkTimeStamp};
    for (QWidget* w : shaping) w->setEnabled(enabled);
    lblReminder->setVisible(!enabled);
}

// Bars and boxes from LowValue and HighValue.
void frmSetupEnergy::SetLimitBars() {
    ShowLimitBars(histogram_limits, txt_energy, Choices.LowValue, Choices.HighValue);
}

void frmSetupEnergy::histogram_limits_Change(int index) {
    if (Loading) return;
    if (index == 0)
        Choices.LowValue = histogram_limits[0]->value();
    else
        Choices.HighValue = RightAfterMove(histogram_limits[1]->value(), Choices.ScaleIndex,
                                           App().EnergyUnitFactors[Choices.UnitIndex]);
    SetLimitBars();
}

void frmSetupEnergy::txt_energy_Change(int index) {
    if (!Loading) CutLimitText(txt_energy[index]);
}

void frmSetupEnergy::txt_energy_LostFocus(int index) {
    if (!Loading) TakeLimitText(txt_energy[index], histogram_limits[index]);
}

void frmSetupEnergy::cmbEnergyUnits_Click() {
    if (Loading || cmbEnergyUnits->currentIndex() < 0) return;
    Choices.UnitIndex = FitEnergyUnit(int16_t(cmbEnergyUnits->currentIndex()), histogram_limits[1]->value(),
                                      Choices.ScaleIndex, App().EnergyUnitFactors);
    SetIndexQuietly(cmbEnergyUnits, Choices.UnitIndex);
}

void frmSetupEnergy::cmbEnergyCoeff_Click() {
    if (Loading || cmbEnergyCoeff->currentIndex() < 0) return;
    Choices.ScaleIndex = FitEnergyScale(int16_t(cmbEnergyCoeff->currentIndex()), histogram_limits[1]->value(),
                                        App().EnergyUnitFactors[Choices.UnitIndex]);
    SetIndexQuietly(cmbEnergyCoeff, Choices.ScaleIndex);
}

void frmSetupEnergy::bins_count_Change() {
    if (Loading) return;
    Choices.BinsCount = int16_t(BinsAt(bins_count->value()));
    txt_bins->setText(BinsCaption(Choices.BinsCount));
}

void frmSetupEnergy::bin_size_Change() {
    if (Loading) return;
    Choices.InitialSize = InitialSizeAt(bin_size->value());
    txt_pulses->setText(InitialSizeCaption(Choices.InitialSize));
}

void frmSetupEnergy::storage_rate_Change() {
    if (Loading) return;
    Choices.StorageRate = int16_t(StorageRateAt(storage_rate->value()));
    ShowStorageRate();
}

void frmSetupEnergy::ShowStorageRate() {
    txtStorageRate->setText(StorageRateCaption(Choices.StorageRate));
    for (QRadioButton* option : optStorageStyle) option->setVisible(StorageStyleShown(Choices.StorageRate));
}

void frmSetupEnergy::Command2_Click() {
    TakePendingLimits(txt_energy, histogram_limits);
    StoreChoices(Choices, histogram_limits[0]->value(), histogram_limits[1]->value(), App().EnergyUnitFactors,
                 App().Config.Energy);
    emit applied();
    Unload();
    SaveConfiguration();
}

void frmSetupEnergy::Command1_Click() {
    Unload();
}

void frmSetupEnergy::reject() {
    Command1_Click();
}

void frmSetupEnergy::Unload() {
    if (lifecycle_.Hide(this)) emit unloaded();
}

void frmSetupEnergy::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (lifecycle_.LostFocus(this, event)) Command1_Click();
}

bool frmSetupEnergy::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(txt_energy, watched, event); i >= 0) txt_energy_LostFocus(i);
    return QDialog::eventFilter(watched, event);
}

frmSetupEnergy& SetupEnergy() {
    static frmSetupEnergy* dialog = new frmSetupEnergy;
    return *dialog;
}
