#include "energy/PulseSetupDialog.h"

#include "energy/PulseRun.h"
#include "widgets/LogWindowParts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <memory>

PulseSetupDialog::PulseSetupDialog(const char* name, const char* title) {
    setObjectName(name);
    setWindowTitle(title);
    MakeButtons([this] { Command2_Click(); });
}

void PulseSetupDialog::BuildPanels(EnergyChoices& choices, const LimitNames& limitNames) {
    panels_ = new EnergySetupPanels(this, choices, limitNames);
}

void PulseSetupDialog::Arrange(QWidget* belowLimits, QWidget* belowStatistics) {
    auto* frames = new QGridLayout;
    frames->addWidget(panels_->LimitsFrame, 0, 0);
    frames->addWidget(belowLimits, 1, 0);
    frames->addWidget(panels_->StorageRateFrame, 0, 1);
    frames->addWidget(panels_->StorageModeFrame, 1, 1);
    frames->addWidget(panels_->StatisticsFrame, 0, 2);
    frames->addWidget(belowStatistics, 1, 2);
    frames->setColumnStretch(0, 1);
    ArrangeAboveButtons(frames);
}

void PulseSetupDialog::ShowFilled(bool runActive) {
    panels_->EnableRunControls(!runActive);
    lblReminder->setVisible(runActive);
    panels_->Loading = false;
    ShowDialog(runActive);
}

void PulseSetupDialog::Command2_Click() {
    panels_->TakePendingLimits();
    StoreChoices();
    FinishOk();
}

bool PulseSetupDialog::eventFilter(QObject* watched, QEvent* event) {
    panels_->FilterEvent(watched, event);
    return QDialog::eventFilter(watched, event);
}

void WireRunButtons(QWidget* window, const RunButtons& run, PulseRun& engine, PulseSetupDialog& setup,
                    const std::function<void(bool reopenSetup)>& reset,
                    const std::function<void()>& openSetup, const std::function<void()>& relayout) {
    auto reopen = std::make_shared<SetupReopen>();
    QObject::connect(run.StartStop, &QPushButton::clicked, window, [&engine] { engine.StartStop(); });
    QObject::connect(run.Reset, &QPushButton::pressed, window,
                     [reopen, &setup] { reopen->ResetPressed(setup.SetupOpen()); });
    QObject::connect(run.Reset, &QPushButton::clicked, window,
                     [reopen, reset] { reset(reopen->TakeOnReset()); });
    QObject::connect(run.Setup, &QPushButton::clicked, window, openSetup);
    QObject::connect(&setup, &PulseSetupDialog::applied, window, relayout);
    // The click on Reset is what closes an open setup dialog.
    QObject::connect(&setup, &PulseSetupDialog::unloaded, window, [reopen, button = run.Reset, &engine] {
        reopen->DialogClosed(button, engine.Initialised);
    });
}
