// Every logging window and viewer at the smallest size a user can give it
// and at a large one: no control covers another and all lie inside.

#include "auxiliary/AboutBox.h"
#include "auxiliary/InformationWindow.h"
#include "auxiliary/NotesWindow.h"
#include "auxiliary/StabilityWindow.h"
#include "auxiliary/TerminalWindow.h"
#include "dual/DualPowerProfiles.h"
#include "dual/EnergyRatioMode.h"
#include "dual/EnergyRatioSetupDialog.h"
#include "dual/EnergyRatioWindow.h"
#include "dual/PowerDifferenceWindow.h"
#include "dual/PowerRatioWindow.h"
#include "energy/EnergyMode.h"
#include "energy/EnergySetupDialog.h"
#include "energy/EnergyWindow.h"
#include "meterlogs/MeterLogList.h"
#include "platform/WindowPlacement.h"
#include "power/PowerMode.h"
#include "power/PowerSetupDialog.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "viewers/EnergyViewers.h"
#include "viewers/LoadingWindow.h"
#include "viewers/PowerViewers.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/ViewModeDialog.h"
#include "viewers/Viewers.h"

#include <gtest/gtest.h>
#include <QtWidgets>

namespace {

// Controls that hold their own parts: looked at as one.
bool Whole(const QWidget* w) {
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QScrollBar*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || !w->layout();
}

// Pairs of visible siblings that overlap, controls reaching outside their
// container and access keys that reach no control, anywhere in the window;
// empty when the layout holds.
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
        if (auto* l = qobject_cast<const QLabel*>(a);
            l && !l->buddy() && l->text().remove("&&").contains('&'))
            faults << l->text() + " reaches nothing";
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

// What a user meets in a window, in layout order: captions, frames with their
// contents, bar ranges, text boxes "_", lists "{a|b}", check boxes "[]",
// option buttons "()", pictures and text areas "#" ("#=" not wrapped); "-" before a greyed
// control, "?" after one with a tooltip, "^" before text that can be selected.
QString Inventory(const QLayout* layout, const QWidget* window) {
    QStringList shown;
    for (int i = 0; layout && i < layout->count(); ++i) {
        QWidget* c = layout->itemAt(i)->widget();
        shown << Inventory(layout->itemAt(i)->layout(), window);
        if (!c || !c->isVisibleTo(window)) continue;
        QString s = c->layout() ? "(" + Inventory(c->layout(), window) + ")" : "#";
        if (auto* t = qobject_cast<QPlainTextEdit*>(c); t && t->lineWrapMode() == QPlainTextEdit::NoWrap)
            s += "=";
        if (auto* g = qobject_cast<QGroupBox*>(c)) s.prepend(g->title());
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            s = (qobject_cast<QCheckBox*>(c) ? "[]" : qobject_cast<QRadioButton*>(c) ? "()" : "") + b->text();
        if (auto* l = qobject_cast<QLabel*>(c))
            s = (l->textInteractionFlags() & Qt::TextSelectableByMouse ? "^" : "") +
                (l->pixmap().isNull() ? l->text().replace('\n', ' ') : "#");
        if (auto* k = qobject_cast<QComboBox*>(c))
            for (int j = 0; j < k->count(); ++j)
                s = (j ? s + "|" : "{") + k->itemText(j) + (j + 1 < k->count() ? "" : "}");
        if (auto* r = qobject_cast<QAbstractSlider*>(c))
            s = QString("%1..%2").arg(r->minimum()).arg(r->maximum());
        if (qobject_cast<QLineEdit*>(c)) s = "_";
        if (auto* t = qobject_cast<QTableWidget*>(c))
            for (int j = 0; j < t->rowCount(); ++j)
                s += t->item(j, 0)->text() +
                     (t->item(j, 0)->toolTip().isEmpty() || t->item(j, 1)->toolTip().isEmpty() ? "|" : "?|");
        shown << (c->isEnabled() ? "" : "-") + s + (c->toolTip().isEmpty() ? "" : "?");
    }
    shown.removeAll("");
    return shown.join("; ");
}

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

// Every dialog and auxiliary window as it opens: controls apart and inside,
// every access key reaching its control, and the controls in layout order with
// their captions, ranges and lists as below, one window a paragraph. A set-up
// greys the controls marked "%" during a run and shows the reminder for "$".
TEST_F(WindowLayout, everyDialogShowsItsControlsApartWithTheirCaptionsRangesAndStates) {
    const QStringList expected =
        QString(R"(Power Graph Setup: Graph Limits(Low; 0..999; _; High; 0..999; _; Units;
 {pW|nW|uW|mW|W|kW}; Scale; {x 1|x 10|x 100}); Time Period(S&ec; %0..59; %_; &Min; %0..59; %_; &Hours; %0..24;
 %_); Statistics([]Min && Ma&x; []Average && St.&Dev.); Grid Style([]&Horizontal; []&Vertical); Display(()&Graphic;
 ()&Numeric; ()&Both); $OK; &Cancel
Power Ratio Setup: Graph Limits(Low; 0..10; _; High; 0..10; _; Exponent; -15..15; _); Time Period(S&ec; %0..59; %_;
 &Min; %0..59; %_; &Hours; %0..24; %_); Statistics([]Min && Ma&x; []Average && St.&Dev.); Grid Style([]&Horizontal;
 []&Vertical); Display(()&Graphic; ()&Numeric); $OK; &Cancel
Power Difference Setup: Graph Limits(Low; -999..999; _; High; -999..999; _; Units; {pW|nW|uW|mW|W|kW}; Scale; {x 1|x
 10|x 100}); Time Period(S&ec; %0..59; %_; &Min; %0..59; %_; &Hours; %0..24; %_); Statistics([]Min && Ma&x; []Average
 && St.&Dev.); Grid Style([]&Horizontal; []&Vertical); Display(()&Graphic; ()&Numeric; ()&Both); $OK; &Cancel
Energy Histogram Setup: Histogram Limits(Left; %0..999; %_; Right; %0..999; %_; Units; %{pJ|nJ|uJ|mJ|J}; Scale; %{x
 1|x 10|x 100}); Histogram Bins(Count 10; %1..20; Initial size 100; %1..15); Storage Rate(Store All Readings;
 %1..15); (Storage Mode(%()First Readings; %()Last Readings); %[]Time Stamp); Statistics([]Min && Ma&x; []Avr. &&
 St.&Dev.); Display(()Histogram; ()Numeric); $OK; &Cancel
Energy Ratio Setup: Energy Limits(Left; %0..999; %_; Right; %0..999; %_; Units; %{pJ|nJ|uJ|mJ|J}; Scale; %{x 1|x
 10|x 100}); Ratio Limits(Low; %0..10; %_; High; %0..10; %_; Exponent; %-15..15; %_); Storage Rate(Store All
 Readings; %1..15); (Storage Mode(%()First Readings; %()Last Readings); %[]Time Stamp); Statistics([]Min && Ma&x;
 []Avr. && St.&Dev.); (Grid Style([]&Horizontal; []&Vertical); Display(()&Numeric; ()&Graphic)); $OK; &Cancel
a.dpw: This is a dual-channel Power data-file.; Specify a view mode(()Channel "&A" only; ()Channel "&B" only;
 ()&Ratio "A" && "B"; ()&Difference "A" && "B"); OK; &Cancel
a.dnr: This is a dual-channel Energy data-file.; Specify a view mode(()Channel "&A" only; ()Channel "&B" only;
 ()&Ratio "A" && "B"); OK; &Cancel
: #; Cancel
: #; #; &Open; &Cancel
Terminal: #=
Information: Device(Type: None; Version: None; ^Port: COM1); Head(^Type:Disconnected; ^Serial Number:
 Disconnected; ^Name: Disconnected); Folders(^Settings (kelvaro.cfg, kelvaro.ports) Traffic log (rs232.buf) Working data
 files); #; OK
Notes: Add your notes to the window below.  This will be saved within the data file.; #; &Close
About Kelvaro32: #; Kelvaro32 Application; Version 3.20; www.kelvaro.example; USA: support-us@kelvaro.example;
 Other countries: support@kelvaro.example; OK
Stability: Run so far; #Readings?|Over range?|Mean?|Standard deviation?|Relative standard
 deviation?|Peak-to-peak?|Drift?|Drift (relative)?|Median interval?|; #?; &Copy?; &Print; Close)")
            .replace("\n ", " ")
            .split('\n');
    PowerSetupDialog power, ratio(kSetupPowerRatioProfile), difference(kSetupDifferenceProfile);
    EnergySetupDialog energy;
    EnergyRatioSetupDialog energyRatio;
    ViewModeDialog view, energyView;
    LoadingWindow loading;
    MeterLogList logs;
    TerminalWindow terminal;
    InformationWindow info;
    NotesWindow notes;
    AboutBox about;
    const StabilitySnapshot figures{"Run so far", "W", analysis::PowerFigures{}, {}};
    StabilityWindow stability([&] { return figures; }, {}, {});
    view.Prepare(0, "a.dpw");
    energyView.Prepare(1, "a.dnr");
    stability.Refresh();
    const QString reminder =
        "Grayed out controls will be activated only after pressing \"Reset\" in the main screen.; ";
    for (const bool run : {false, true}) {
        power.SetupPowerGraph(run);
        ratio.SetupPowerGraph(run);
        difference.SetupPowerGraph(run);
        energy.SetupEnergyHist(run, false);
        energyRatio.SetupEnergyRatio(run);
        const std::vector<QWidget*> windows = {&power, &ratio,      &difference, &energy,   &energyRatio,
                                               &view,  &energyView, &loading,    &logs,     &terminal,
                                               &info,  &notes,      &about,      &stability};
        for (size_t i = 0; i < windows.size(); ++i) {
            QWidget* d = windows[i];
            d->show();
            QApplication::processEvents();
            EXPECT_EQ(Faults(d).join("; ").toStdString(), "") << d->windowTitle().toStdString();
            // Machine paths and device names left out.
            const QString seen =
                Inventory(d->layout(), d).remove(QRegularExpression(" \\(/[^)]*\\)|: /[^\\s)]*"));
            EXPECT_EQ(
                d->windowTitle() + ": " + seen,
                QString(expected.value(i)).replace("$", run ? reminder : "").replace("%", run ? "-" : ""));
            d->hide();
        }
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
