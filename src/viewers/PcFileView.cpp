#include "viewers/PcFileView.h"

#include "data/FileCommand.h"
#include "data/PcFileFormat.h"
#include "state/AppState.h"
#include "viewers/LoadingWindow.h"
#include "viewers/PcFileLoader.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"

#include <QMdiArea>

void ShowPcFile(const QString& fileName) {
    const int16_t kind = LoadPcFile(fileName);
    if (kind == LoadNothing) return;
    if (StoredDataViewer* v = Viewer(ReceivingViewerOfLoad())) v->ShowData();
}

void InstallPcFileView(QMdiArea* area) {
    SetDataLoadParent(area ? area->window() : nullptr);
    ShellHooks& h = App().Shell;
    h.OpenPcFile = [](const QString& name) { ShowPcFile(name); };
    h.ModeEntry[ModePcFile] = [](int op, QString&) {
        if (op == -1) {
            FileCommand(FileOpen);
        } else if (op == 1) {
            DataLoadCancel();
            if (StoredDataViewer* v = CurrentViewer()) v->Load(1, QString());
        }
    };
}
