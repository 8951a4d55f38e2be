#include "meterlogs/DeviceFileView.h"

#include "meterlogs/LogRetrieval.h"
#include "meterlogs/MeterLogList.h"
#include "state/AppState.h"
#include "viewers/LoadingWindow.h"
#include "viewers/ViewModeDialog.h"

#include <QCoreApplication>
#include <QPointer>

void InstallDeviceFileView(QWidget* parent) {
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
    App().Shell.ModeEntry[ModeDeviceFile] = [](int op, QString& text) {
        if (op == 1)
            LeaveDeviceFileView();
        else
            RetrieveLogs(op, text);
    };
}
