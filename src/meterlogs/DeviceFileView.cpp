#include "meterlogs/DeviceFileView.h"

#include "meterlogs/LogRetrieval.h"
#include "meterlogs/frmLSfilesList.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QPointer>

void InstallDeviceFileView(QWidget* parent) {
    ResetMeterLogs();
    QPointer<frmLSfilesList> list = new frmLSfilesList(parent);
    RetrievalHooks& h = MeterLogHooks();
    h.ChooseFile = [list](const QStringList& choices) {
        if (list) list->GetFileInx(choices);
    };
    h.LetEventsRun = [] { QCoreApplication::processEvents(); };
    App().Shell.ModeEntry[ModeDeviceFile] = [](int op, QString& text) {
        if (op == 1)
            LeaveDeviceFileView();
        else
            RetrieveLogs(op, text);
    };
}
