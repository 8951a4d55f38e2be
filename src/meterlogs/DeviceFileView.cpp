#include "meterlogs/DeviceFileView.h"

#include "meterlogs/LogRetrieval.h"
#include "meterlogs/MeterLogList.h"
#include "viewers/LoadingWindow.h"
#include "viewers/ViewModeDialog.h"
#include "viewers/Viewers.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

class DeviceFileMode final : public ViewerMode {
public:
    ModeTraits Traits(int16_t) const override {
        ModeTraits t;
        t.Reenters = true;  // chosen again: another retrieval
        return t;
    }
    void Begin() override {
        QString none;
        RetrieveLogs(-1, none);
    }
    void Reply(QString& line) override { RetrieveLogs(0, line); }
    void End() override { LeaveDeviceFileView(); }
};

}  // namespace

Mode& InstallDeviceFileView(QWidget* parent) {
    ResetMeterLogs();
    SetDataLoadParent(parent);
    QPointer<MeterLogList> list = new MeterLogList(parent);
    RetrievalHooks& h = MeterLogHooks();
    h.ChooseFile = [list](const QStringList& choices) {
        if (list) list->GetFileInx(choices);
    };
    h.ShowLoadWindow = [](int16_t source, const QString& caption, const QString& label) {
        DataLoadFormShow(source, caption, label);
    };
    h.HideLoadWindow = [] { DataLoadFormHide(); };
    // Meter logs fill the bar in green on light grey.
    h.DrawProgress = [](int phase, float fraction) { DrawProgress(phase, ProgressRecord{7, 2, fraction}); };
    h.AskViewMode = [](int16_t kind, const QString& title) { return GetDualViewMode(kind, title); };
    h.LetEventsRun = [] { QCoreApplication::processEvents(); };
    for (const int16_t source : {SourceTalon2, SourceMeridel, SourceSirka})
        SetDataLoadCancel(source, [] { RetrieveLogFile(QStringLiteral("cancel retrieve")); });
    SetDataLoadCancel(SourceTalon, [] { RetrieveTalonLog(QStringLiteral("cancel retrieve")); });
    static DeviceFileMode mode;
    return mode;
}
