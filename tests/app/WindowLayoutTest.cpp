// Every logging window and viewer at the smallest size a user can give it
// and at a large one: no control covers another and all lie inside.

#include "dual/EnergyRatioMode.h"
#include "dual/EnergyRatioWindow.h"
#include "dual/PowerDifferenceWindow.h"
#include "dual/PowerRatioWindow.h"
#include "energy/EnergyMode.h"
#include "energy/EnergySetupDialog.h"
#include "energy/EnergyWindow.h"
#include "platform/WindowPlacement.h"
#include "power/PowerMode.h"
#include "power/PowerSetupDialog.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "viewers/EnergyViewers.h"
#include "viewers/PowerViewers.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"

#include <gtest/gtest.h>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>

namespace {

// Controls that hold their own parts: looked at as one.
bool Whole(const QWidget* w) {
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QScrollBar*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || !w->layout();
}

// Pairs of visible siblings that overlap, and controls reaching outside
// their container, anywhere in the window; empty when the layout holds.
QStringList Faults(const QWidget* container) {
    QStringList faults;
    std::vector<const QWidget*> shown;
    for (const QObject* o : container->children()) {
        const auto* w = qobject_cast<const QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisible() || w->size().isEmpty()) continue;
        shown.push_back(w);
    }
    const QRect inside = container->rect();
    for (size_t i = 0; i < shown.size(); ++i) {
        const QWidget* a = shown[i];
        if (!inside.contains(a->geometry()))
            faults << a->objectName() + QStringLiteral(" outside ") + container->objectName();
        for (size_t j = i + 1; j < shown.size(); ++j)
            if (a->geometry().intersects(shown[j]->geometry()))
                faults << a->objectName() + QStringLiteral(" over ") + shown[j]->objectName();
        if (!Whole(a)) faults << Faults(a);
    }
    return faults;
}

// A logging window as after a run: read-out and statistics shown.
template <typename Display>
Display& AfterRun(Display& e) {
    e.StatLabels.fill(QStringLiteral("St.Dev.:  999.99mW"));
    e.StatVisible.fill(true);
    return e;
}

void ShowAsAfterRun(QWidget* w) {
    if (auto* p = dynamic_cast<PowerWindow*>(w)) {
        PowerDisplay d = p->Engine.Display;
        AfterRun(d);
        std::tie(d.ReadingText, d.ReadingVisible) = std::pair(QStringLiteral("999.99mW"), true);
        p->Engine.View.DisplayChanged(d);
    } else if (auto* e = dynamic_cast<EnergyWindow*>(w)) {
        // In the engine's own record: the engine hands it again at each new size.
        EnergyDisplay& d = AfterRun(e->Engine.Display);
        std::tie(d.EnergyText, d.EnergyVisible, d.ReadyVisible) =
            std::tuple(QStringLiteral("999.99mJ"), true, true);
        e->Engine.View.DisplayChanged(d);
    } else if (auto* r = dynamic_cast<EnergyRatioWindow*>(w)) {
        EnergyRatioDisplay& d = AfterRun(r->Engine.Display);
        std::tie(d.RatioText, d.RatioVisible) = std::pair(QStringLiteral("2.50E-3"), true);
        r->Engine.View.DisplayChanged(d);
    }
}

// The windows in an area of their own, on a fresh program.
struct WindowLayout : ::testing::Test {
    void SetUp() override {
        area.show();
        ForgetViewers();
        InstallPowerViewers(&area);
    }
    void TearDown() override { ForgetViewers(); }
    ScriptedPrompts prompts;
    QMdiArea area;
    ProgramStateScope fresh;  // also before the area closes its windows
};

}  // namespace

TEST_F(WindowLayout, everyWindowKeepsItsControlsApartAndInsideAtAnySize) {
    area.resize(1000, 700);
    InstallEnergyViewers(&area);
    std::vector<QWidget*> windows = {InstallPowerMode(&area), InstallPowerRatioMode(&area),
                                     InstallPowerDifferenceMode(&area), InstallEnergyMode(&area),
                                     InstallEnergyRatioMode(&area)};
    const std::pair<int16_t, QStringList> records[] = {
        {ViewPower, {"0.012             \t0.00", "0.013             \t1.00"}},
        {ViewPowerRatio, {"0.004\t0.001\t0.00", "0.001\t0.002\t1.00"}},
        {ViewPowerDifference, {"0.004\t0.001\t0.00", "0.001\t0.002\t1.00"}},
        {ViewEnergy, {"0.0012", "0.0015", "Overrange"}},
        {ViewEnergyRatio, {"0.002\t0.001", "0.0025\t0.001"}},
    };
    for (const auto& [kind, lines] : records) {
        StoredDataViewer* v = Viewer(kind);
        v->Load(-1, "record; Head: TH1");
        for (const QString& l : lines) v->Load(0, l);
        v->ShowData();
        windows.push_back(dynamic_cast<QWidget*>(v));
    }
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1");
    for (QWidget* w : windows) {
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        ASSERT_NE(sub, nullptr) << w->objectName().toStdString();
        sub->show();
        w->show();
        ShowAsAfterRun(w);
        // PowerRatioViewer: smallest-power-ratio-viewer-1x, as the screenshots are named.
        const QString name = w->objectName().replace(QRegularExpression("\\B([A-Z])"), "-\\1").toLower();
        for (const QSize size : {QSize(120, 90), QSize(1600, 1000)}) {
            sub->resize(size);
            // Windows that show or hide labels while laid out need more than one pass.
            for (int pass = 0; pass < 3; ++pass) {
                QApplication::processEvents();
                w->layout()->invalidate();
                w->layout()->activate();
            }
            EXPECT_EQ(Faults(w).join("; ").toStdString(), "")
                << name.toStdString() << " at " << sub->width() << "x" << sub->height();
            if (size.width() < 200) SaveScreenshot(sub, "smallest-" + name + "-" + scale + "x");
        }
        sub->hide();
    }
}

// The setup dialogs as they open: controls apart, and every access key reaches its box.
TEST_F(WindowLayout, setupDialogsKeepTheirControlsApart) {
    PowerSetupDialog power;
    EnergySetupDialog energy;
    for (QWidget* d : std::initializer_list<QWidget*>{&power, &energy}) {
        d->show();
        QApplication::processEvents();
        EXPECT_EQ(Faults(d).join("; ").toStdString(), "") << d->windowTitle().toStdString();
        for (const QLabel* l : d->findChildren<QLabel*>())
            EXPECT_TRUE(!l->text().remove("&&").contains('&') || l->buddy()) << l->text().toStdString();
    }
}

// Shown in a smaller area: inside it where it fits, the area scrolls where not;
// a window larger than the screen opens within its available area.
TEST_F(WindowLayout, windowsOpenInsideTheAreaOrScreenAndALargerChildScrollsTheArea) {
    area.resize(700, 500);
    QWidget* power = InstallPowerMode(&area);
    auto* sub = qobject_cast<QMdiSubWindow*>(power->parentWidget());
    sub->move(400, 300);
    sub->resize(2000, 1500);
    sub->show();
    QApplication::processEvents();
    EXPECT_TRUE(area.viewport()->rect().contains(sub->geometry())) << sub->width() << "x" << sub->height();
    // A viewer that needs more room than the area has: the area scrolls to it.
    area.resize(300, 200);
    StoredDataViewer* v = Viewer(ViewPower);
    v->Load(-1, "a.pwr");
    v->Load(0, "0.5               \t0.00");
    v->ShowData();
    QApplication::processEvents();
    auto* viewerSub = qobject_cast<QMdiSubWindow*>(dynamic_cast<QWidget*>(v)->parentWidget());
    EXPECT_EQ(viewerSub->pos(), QPoint(0, 0));
    EXPECT_TRUE(area.horizontalScrollBar()->isVisible() && area.verticalScrollBar()->isVisible());

    QWidget w;
    w.resize(5000, 4000);
    platform::FitOnScreen(&w);
    w.show();
    QApplication::processEvents();
    const QRect room = w.screen()->availableGeometry();
    EXPECT_TRUE(room.contains(w.frameGeometry()))
        << w.frameGeometry().width() << "x" << w.frameGeometry().height();
}
