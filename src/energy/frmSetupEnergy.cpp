// Stand-in until the energy setup dialog is merged: OK and Cancel only.
#include "energy/frmSetupEnergy.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace {
bool g_open = false;
}

frmSetupEnergy::frmSetupEnergy(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSetupEnergy");
    setWindowTitle("Energy Histogram Setup");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    (new QVBoxLayout(this))->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        emit applied();
        hide();
        g_open = false;
        emit unloaded();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        hide();
        g_open = false;
        emit unloaded();
    });
}

void frmSetupEnergy::SetupEnergyHist(bool runActive, bool) {
    g_open = runActive;
    show();
}

bool frmSetupEnergy::SetupOpen() const {
    return g_open && isVisible();
}

frmSetupEnergy& SetupEnergy() {
    static frmSetupEnergy* dialog = new frmSetupEnergy;
    return *dialog;
}
