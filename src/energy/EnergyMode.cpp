#include "energy/EnergyMode.h"

#include "energy/frmEnergy.h"
#include "state/AppState.h"

#include <QMdiArea>
#include <QMdiSubWindow>

frmEnergy* InstallEnergyMode(QMdiArea* area) {
    auto* w = new frmEnergy;
    QMdiSubWindow* sub = area->addSubWindow(w);
    // Closing only hides: the shell keeps calling this window.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setMinimumSize(sub->minimumSizeHint());
    sub->resize(sub->sizeHint().expandedTo(QSize(860, 560)));
    sub->hide();
    ShellHooks& h = App().Shell;
    for (int16_t mode : {int16_t(ModeEnergy), int16_t(ModeRapidPulse)}) {
        h.ModeEntry[size_t(mode)] = [w](int op, QString& text) {
            if (op == -1)
                w->StartEnergy();
            else
                w->EnergyLog(op, text);
        };
        ModeFileOps& ops = h.FileOps[size_t(mode)];
        ops.Save = [w](const QString& name) { w->EnergySave(name); };
        ops.Print = [w] { w->EnergyPrint(); };
        // What an end from outside must rescue: data that is in no working file.
        ops.Unsaved = [w] { return w->Engine.Unsaved && !App().Config.LogToFile; };
    }
    return w;
}
