#include "power/PowerMode.h"

#include "platform/WindowPlacement.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QMdiArea>
#include <QMdiSubWindow>

PowerWindow* InstallPowerMode(QMdiArea* area) {
    auto* w = new PowerWindow;
    InstallPowerWindow(area, w, ModePower);
    return w;
}

void InstallPowerWindow(QMdiArea* area, PowerWindow* w, int16_t mode) {
    QMdiSubWindow* sub = area->addSubWindow(w);
    // Closing only hides: the shell keeps calling this window.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    // Open at a size where the read-out, statistics and chart all fit; the
    // layout's minimum keeps the controls from overlapping.
    sub->setMinimumSize(sub->minimumSizeHint());
    sub->resize(sub->sizeHint().expandedTo(QSize(900, 580)));
    sub->hide();
    platform::KeepInsideArea(sub);
    ShellHooks& h = App().Shell;
    h.ModeEntry[size_t(mode)] = [w](int op, QString& text) { w->PowerLog(op, text); };
    ModeFileOps& ops = h.FileOps[size_t(mode)];
    ops.Pause = [w](bool on) { w->PauseGraph(on); };
    ops.Save = [w](const QString& name) { w->PowerSave(name); };
    ops.Print = [w] { w->PowerPrint(); };
    ops.Unsaved = [w] { return w->Engine.NotSaved && !CurrentSettings().LogToFile; };
    ops.MayLeave = [w] { return w->Engine.MayDiscard(); };
    h.Progress[size_t(mode)] = [w] { return w->Engine.Progress(); };
}
