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

namespace {

class PcFileMode final : public ViewerMode {
public:
    ModeTraits Traits(int16_t) const override {
        ModeTraits t;
        t.HoldsLink = false;  // a PC file reads no meter
        t.Reenters = true;    // chosen again: another file
        return t;
    }
    void Begin() override { FileCommand(FileOpen); }
    void Reply(QString&) override {}
    void End() override {
        DataLoadCancel();
        if (StoredDataViewer* v = CurrentViewer()) v->Load(1, QString());
    }
};

}  // namespace

Mode& InstallPcFileView(QMdiArea* area) {
    SetDataLoadParent(area ? area->window() : nullptr);
    App().Shell.OpenPcFile = [](const QString& name) { ShowPcFile(name); };
    static PcFileMode mode;
    return mode;
}
