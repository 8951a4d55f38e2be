#include "auxiliary/SetupDialog.h"

#include "state/Configuration.h"

void SetupDialog::FinishOk() {
    emit applied();
    Unload();
    SaveConfiguration();
}

void SetupDialog::Unload() {
    if (lifecycle_.Hide(this)) emit unloaded();
}

void SetupDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (lifecycle_.LostFocus(this, event)) Unload();
}

void SetupDialog::reject() {
    Unload();
}
