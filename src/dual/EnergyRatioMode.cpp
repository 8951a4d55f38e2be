#include "dual/EnergyRatioMode.h"

#include "dual/EnergyRatioWindow.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "widgets/LogWindowParts.h"

EnergyRatioWindow* InstallEnergyRatioMode(QMdiArea* area) {
    auto* w = new EnergyRatioWindow;
    AddModeWindow(area, w);
    ShellHooks& h = App().Shell;
    h.ModeEntry[ModeEnergyRatio] = [w](int op, QString& text) { w->EnergyRatioLog(op, text); };
    ModeFileOps& ops = h.FileOps[ModeEnergyRatio];
    ops.Save = [w](const QString& name) { w->EnergyRatioSave(name); };
    ops.Print = [w] { w->EnergyRatioPrint(); };
    // What an end from outside must rescue: data that is in no working file.
    ops.Unsaved = [w] { return w->Engine.Unsaved && !CurrentSettings().LogToFile; };
    ops.MayLeave = [w] { return w->Engine.MayDiscard(); };
    h.Progress[ModeEnergyRatio] = [w] { return PulseProgress(w->Engine, w->Engine.Stats(0).Count); };
    return w;
}
