#include "dual/NrgRtoMode.h"

#include "dual/frmNrgRto.h"
#include "state/AppState.h"

#include <QMdiArea>
#include <QMdiSubWindow>

frmNrgRto* InstallNrgRtoMode(QMdiArea* area) {
    auto* w = new frmNrgRto;
    QMdiSubWindow* sub = area->addSubWindow(w);
    // Closing only hides: the shell keeps calling this window.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setMinimumSize(sub->minimumSizeHint());
    sub->resize(sub->sizeHint().expandedTo(QSize(860, 560)));
    sub->hide();
    ShellHooks& h = App().Shell;
    h.ModeEntry[ModeEnergyRatio] = [w](int op, QString& text) { w->NrgRtoLog(op, text); };
    ModeFileOps& ops = h.FileOps[ModeEnergyRatio];
    ops.Save = [w](const QString& name) { w->NrgRtoSave(name); };
    ops.Print = [w] { w->NrgRtoPrint(); };
    // What an end from outside must rescue: data that is in no working file.
    ops.Unsaved = [w] { return w->Engine.Unsaved && !App().Config.LogToFile; };
    return w;
}
