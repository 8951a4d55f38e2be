#include "dual/NrgRtoMode.h"

#include "dual/frmNrgRto.h"
#include "platform/LogWindowParts.h"
#include "state/AppState.h"

frmNrgRto* InstallNrgRtoMode(QMdiArea* area) {
    auto* w = new frmNrgRto;
    AddModeWindow(area, w);
    ShellHooks& h = App().Shell;
    h.ModeEntry[ModeEnergyRatio] = [w](int op, QString& text) { w->NrgRtoLog(op, text); };
    ModeFileOps& ops = h.FileOps[ModeEnergyRatio];
    ops.Save = [w](const QString& name) { w->NrgRtoSave(name); };
    ops.Print = [w] { w->NrgRtoPrint(); };
    // What an end from outside must rescue: data that is in no working file.
    ops.Unsaved = [w] { return w->Engine.Unsaved && !App().Config.LogToFile; };
    return w;
}
