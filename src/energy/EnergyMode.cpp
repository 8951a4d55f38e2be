#include "energy/EnergyMode.h"

#include "energy/EnergyWindow.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "widgets/LogWindowParts.h"

EnergyWindow* InstallEnergyMode(QMdiArea* area) {
    auto* w = new EnergyWindow;
    AddModeWindow(area, w);
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
        ops.Unsaved = [w] { return w->Engine.Unsaved && !CurrentSettings().LogToFile; };
        ops.MayLeave = [w] { return w->Engine.MayDiscard(); };
        h.Progress[size_t(mode)] = [w] {
            return PulseProgress(w->Engine, w->Engine.Stats().Count + w->Engine.OverCount);
        };
    }
    return w;
}
