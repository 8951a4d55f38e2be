#include "viewers/Viewers.h"

#include "platform/WindowPlacement.h"
#include "state/AppState.h"
#include "viewers/StoredDataViewer.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <array>

namespace {

struct Slot {
    std::function<StoredDataViewer*()> make;
    StoredDataViewer* window = nullptr;
};

std::array<Slot, kViewerKinds>& Slots() {
    static std::array<Slot, kViewerKinds> table;
    return table;
}

bool ValidKind(int16_t kind) {
    return kind >= 0 && kind < kViewerKinds;
}

}  // namespace

void SetViewerFactory(int16_t kind, std::function<StoredDataViewer*()> make) {
    if (!ValidKind(kind)) return;
    Slots()[size_t(kind)] = Slot{std::move(make), nullptr};
}

StoredDataViewer* Viewer(int16_t kind) {
    if (!ValidKind(kind)) return nullptr;
    Slot& slot = Slots()[size_t(kind)];
    if (!slot.window && slot.make) slot.window = slot.make();
    return slot.window;
}

StoredDataViewer* CurrentViewer() {
    return Viewer(App().ViewerKind);
}

void ViewerMode::Save(const QString& fileName) {
    if (StoredDataViewer* v = CurrentViewer()) v->DataSave(fileName);
}

void ViewerMode::Print() {
    if (StoredDataViewer* v = CurrentViewer()) v->Print();
}

void ForgetViewers() {
    for (Slot& slot : Slots()) slot = Slot{};
}

void AddViewerWindow(QMdiArea* area, QWidget* window, const QSize& least) {
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->resize(sub->sizeHint().expandedTo(least));
    sub->hide();
    platform::KeepInsideArea(sub);
}
