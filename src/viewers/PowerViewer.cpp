#include "viewers/PowerViewer.h"

#include "auxiliary/NotesWindow.h"
#include "auxiliary/SetupControls.h"
#include "charts/ChartCursor.h"
#include "data/DataFileSave.h"
#include "data/LimitBars.h"
#include "data/LogLines.h"
#include "data/Units.h"
#include "data/WorkFile.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "power/PowerSetupDialog.h"
#include "power/PowerSetupRules.h"
#include "power/PowerTexts.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "viewers/DataSet.h"
#include "viewers/PowerViewLimits.h"
#include "viewers/ViewerStability.h"
#include "viewers/ViewerValues.h"
#include "widgets/LogWindowParts.h"
#include "widgets/SurfaceWidget.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinZoomPoints = 15;

bool IsRatio(const PowerViewProfile& p) {
    return p.Combine == PowerCombine::Ratio;
}

// The nearest whole bar position (halves to even) within the bar's range.
int WholeBar(double value, const QScrollBar* bar) {
    if (!std::isfinite(value)) return value > 0 ? bar->maximum() : bar->minimum();
    return int(std::nearbyint(std::clamp(value, double(bar->minimum()), double(bar->maximum()))));
}

}  // namespace

PowerViewer::PowerViewer(const PowerViewProfile& profile, QWidget* parent)
    : QWidget(parent), Profile(profile), Data(profile.Combine) {
    setObjectName(profile.ObjectName);
    setWindowTitle(profile.Caption);
    BuildControls();
    Picture1->Resized = [this] { form_Resize(); };
    Picture1->MouseDown = [this](Qt::MouseButton b, QPointF at) { Picture1_MouseDown(b, at); };
    Picture1->MouseMove = [this](Qt::MouseButtons b, QPointF at) { Picture1_MouseMove(b, at); };
    Picture1->MouseUp = [this](Qt::MouseButton b, QPointF at) { Picture1_MouseUp(b, at); };
    Picture1->HoverText = [this](QPointF at) { return CursorTextAt(Chart, at.x(), at.y()); };
    ResetStatistics();
    butZoomOut->hide();
}

void PowerViewer::BuildControls() {
    Picture1 = new widgets::SurfaceWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->setMinimumSize(320, 200);
    lblZoomHelpLine =
        new QLabel("To zoom, press left mouse button, drag over desired area, and release.", this);
    lblZoomHelpLine->setObjectName("lblZoomHelpLine");
    butZoomOut = new QPushButton("Zoom &Out", this);
    butZoomOut->setObjectName("butZoomOut");
    connect(butZoomOut, &QPushButton::clicked, this, [this] { Picture1_MouseDown(Qt::RightButton, {}); });

    QLabel** stats[] = {&lblMinPower,   &lblMaxPower,    &lblAvrPower,
                        &lblStDevPower, &lblTotalPoints, &lblPointsOverrange};
    const char* statNames[] = {"lblMinPower",   "lblMaxPower",    "lblAvrPower",
                               "lblStDevPower", "lblTotalPoints", "lblPointsOverrange"};
    auto* statColumn = new QVBoxLayout;
    for (size_t i = 0; i < 6; ++i) {
        *stats[i] = MakeStatLabel(this, statNames[i]);
        statColumn->addWidget(*stats[i]);
    }

    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(lblZoomHelpLine, 1);
    zoomRow->addWidget(butZoomOut);
    auto* butStability = new QPushButton("Stabilit&y", this);
    butStability->setObjectName("butStability");
    connect(butStability, &QPushButton::clicked, this, [this] { ShowViewerStability(*this); });
    zoomRow->addWidget(butStability);
    auto* chartColumn = new QVBoxLayout;
    chartColumn->addLayout(zoomRow);
    chartColumn->addWidget(Picture1, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(BuildLimitFrame());
    side->addLayout(statColumn);
    side->addStretch(1);
    auto* all = new QHBoxLayout(this);
    all->setContentsMargins(6, 6, 6, 6);
    all->addLayout(chartColumn, 1);
    all->addLayout(side);
    resize(900, 560);
}

QWidget* PowerViewer::BuildLimitFrame() {
    const LimitControls limits = MakeLimitControls(this, kGraphLimitNames);
    Frame1 = limits.Frame;
    Frame1->setObjectName("Frame1");
    graph_limits = limits.Bars;
    txt_power = limits.Boxes;
    cmbPowerUnits = limits.Units;
    cmbPowerCoeff = limits.Scale;
    auto* grid = static_cast<QGridLayout*>(Frame1->layout());

    graph_exp = MakeSetupBar(Frame1, kExponentMin, kExponentMax, "graph_exp");
    txt_exp = MakeLimitBox(Frame1, "txt_exp");
    txt_exp->installEventFilter(this);
    auto* expCaption = new QLabel("Exponent", Frame1);
    grid->addWidget(expCaption, 3, 0);
    grid->addWidget(graph_exp, 3, 1);
    grid->addWidget(txt_exp, 3, 2);

    if (IsRatio(Profile)) {
        for (QScrollBar* bar : graph_limits) bar->setRange(0, kRatioBarMax);
        cmbPowerUnits->hide();
        cmbPowerCoeff->hide();
        for (QLabel* l : Frame1->findChildren<QLabel*>())
            if (l->text() == "Units" || l->text() == "Scale") l->hide();
    } else {
        graph_exp->hide();
        txt_exp->hide();
        expCaption->hide();
        if (Profile.Combine == PowerCombine::Difference)
            for (QScrollBar* bar : graph_limits) bar->setRange(kDifferenceBarMin, kLimitBarMax);
    }

    cmbDirection = new QComboBox(Frame1);
    cmbDirection->setObjectName(Profile.DirectionList ? Profile.DirectionList : "cmbDirection");
    if (Profile.DirectionList) {
        cmbDirection->addItems({Profile.DirectionTexts[0], Profile.DirectionTexts[1]});
        grid->addWidget(cmbDirection, 4, 0, 1, 3);
    } else {
        cmbDirection->hide();
    }

    butApply = new QPushButton("&Apply", Frame1);
    butApply->setObjectName("butApply");
    butCancel = new QPushButton("&Cancel", Frame1);
    butCancel->setObjectName("butCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(butApply);
    buttons->addWidget(butCancel);
    grid->addLayout(buttons, 5, 0, 1, 3);

    for (int i = 0; i < 2; ++i) {
        connect(graph_limits[i], &QScrollBar::valueChanged, this, [this, i] { graph_limits_Change(i); });
        connect(txt_power[i], &QLineEdit::textEdited, this, [this, i] { CutLimitText(txt_power[i]); });
    }
    connect(txt_exp, &QLineEdit::textEdited, this, [this] { CutLimitText(txt_exp); });
    connect(graph_exp, &QScrollBar::valueChanged, this, [this](int v) {
        if (!Setting) SetTextQuietly(txt_exp, QString::number(v));
    });
    connect(cmbPowerUnits, &QComboBox::currentIndexChanged, this, [this] { cmbPowerUnits_Click(); });
    connect(cmbPowerCoeff, &QComboBox::currentIndexChanged, this, [this] { cmbPowerCoeff_Click(); });
    connect(cmbDirection, &QComboBox::currentIndexChanged, this, [this] { cmbDirection_Click(); });
    connect(butApply, &QPushButton::clicked, this, [this] { butApply_Click(); });
    connect(butCancel, &QPushButton::clicked, this, [this] { SetupGraph(); });
    return Frame1;
}

// ---- Load protocol

void PowerViewer::Load(int step, const QString& text) {
    if (step == -1) {
        ForgetHeadText();
        setWindowTitle(QString::fromLatin1(Profile.Caption) + " - " + text);
        App().ViewerKind = Profile.Kind;
        Data.Clear();
        ResetStatistics();
        Loading = true;
        Incomplete = true;
        Zoomed = false;
        butZoomOut->hide();
        Units = DescribedDataSet().Units;
        FileHeads = DescribedDataSet().Heads;
        Chart.Units = Units;
        Setting = true;
        cmbPowerUnits->clear();
        for (int i = 0; i < kListedPowerUnits; ++i) cmbPowerUnits->addItem(Units.PowerUnit(i));
        SetIndexQuietly(cmbDirection, ViewDirection);
        Setting = false;
    } else if (step == 0) {
        Data.AddLine(text);
    } else if (step == 1) {
        Loading = false;
        Unload();
    }
}

void PowerViewer::ShowData() {
    Incomplete = false;
    Chart = ChartSettings{};
    Chart.Units = Units;
    Chart.YLabelMode = IsRatio(Profile) ? 0 : 1;
    Chart.YTitle = IsRatio(Profile) ? QStringLiteral("Ratio ") + Profile.DirectionTexts[size_t(ViewDirection)]
                                    : QString();
    Chart.GridStyle = CurrentSettings().Power.GraphGrid;
    Chart.MaxPoints = 1000;
    ChooseLimitsAtLoad();
    SetupGraph();
    ShowStatistics();
    Loading = false;
    ZoomOut();
    MdiFrame(this)->show();
    show();
}

void PowerViewer::ChooseLimitsAtLoad() {
    const RunningStats& s = Data.Stats(ViewDirection);
    const double mn = s.Empty() ? 0 : s.Min, mx = s.Empty() ? 0 : s.Max;
    ViewLimits v;
    switch (Profile.Combine) {
        case PowerCombine::Single:
            v = PowerLimitsAtLoad(mn, mx);
            break;
        case PowerCombine::Ratio:
            v = RatioLimitsAtLoad(mn, mx);
            break;
        case PowerCombine::Difference:
            v = DifferenceLimitsAtLoad(mn, mx);
            break;
    }
    UnitIndex = AppliedUnit = v.UnitIndex;
    ScaleExponent = AppliedScale = v.ScaleExponent;
    ViewExponent = AppliedExponent = v.ViewExponent;
    LowValue = AppliedLow = v.Low;
    HighValue = AppliedHigh = v.High;
    Chart.YMin = v.YMin;
    Chart.YMax = v.YMax;
}

void PowerViewer::ApplyRange() {
    if (IsRatio(Profile))
        RatioRangeOf(LowValue, HighValue, ViewExponent, Chart.YMin, Chart.YMax);
    else
        PowerRangeOf(LowValue, HighValue, ScaleExponent, UnitScale::PowerFactors[size_t(UnitIndex)],
                     Chart.YMin, Chart.YMax);
}

// ---- Limits

void PowerViewer::SetupGraph() {
    Setting = true;
    ScaleExponent = AppliedScale;
    UnitIndex = AppliedUnit;
    SetIndexQuietly(cmbPowerCoeff, ScaleExponent);
    LowValue = AppliedLow;
    HighValue = AppliedHigh;
    ShowBars();
    SetIndexQuietly(cmbPowerUnits, UnitIndex);
    ViewExponent = AppliedExponent;
    SetBarQuietly(graph_exp, AppliedExponent);
    SetTextQuietly(txt_exp, QString::number(AppliedExponent));
    Setting = false;
}

void PowerViewer::ShowBars() {
    SetBarQuietly(graph_limits[0], WholeBar(LowValue, graph_limits[0]));
    SetBarQuietly(graph_limits[1], WholeBar(HighValue, graph_limits[1]));
    // The boxes keep the decimals a limit was typed with.
    SetTextQuietly(txt_power[0], LimitText(LowValue));
    SetTextQuietly(txt_power[1], LimitText(HighValue));
}

bool PowerViewer::TakeTypedLimit(int index) {
    double& value = index == 0 ? LowValue : HighValue;
    double most = graph_limits[index]->maximum();
    // Only the single-channel viewer keeps the 30 kW ceiling.
    if (index == 1 && Profile.Combine == PowerCombine::Single)
        most = CeilingInUnit(ScaleExponent, UnitScale::PowerFactors[size_t(UnitIndex)], kPowerCeiling);
    return TakeLimitValue(txt_power[index], graph_limits[index], value, most);
}

void PowerViewer::graph_limits_Change(int index) {
    if (Setting) return;
    const int bar = graph_limits[index]->value();
    if (index == 0)
        LowValue = bar;
    else if (Profile.Combine == PowerCombine::Single)
        HighValue = HighAfterMove(bar, LowValue, ScaleExponent, UnitScale::PowerFactors[size_t(UnitIndex)]);
    else
        HighValue = bar;
    ShowBars();
}

void PowerViewer::cmbPowerUnits_Click() {
    if (Setting || cmbPowerUnits->currentIndex() < 0) return;
    UnitIndex = int16_t(cmbPowerUnits->currentIndex());
    // Only the single-channel viewer keeps the 30 kW ceiling.
    if (Profile.Combine == PowerCombine::Single) {
        UnitIndex = FitUnit(UnitIndex, graph_limits[1]->value(), ScaleExponent, UnitScale::PowerFactors);
        SetIndexQuietly(cmbPowerUnits, UnitIndex);
    }
}

void PowerViewer::cmbPowerCoeff_Click() {
    if (Setting || cmbPowerCoeff->currentIndex() < 0) return;
    ScaleExponent = int16_t(cmbPowerCoeff->currentIndex());
    if (Profile.Combine == PowerCombine::Single) {
        ScaleExponent = FitCoefficient(ScaleExponent, graph_limits[1]->value(),
                                       UnitScale::PowerFactors[size_t(UnitIndex)]);
        SetIndexQuietly(cmbPowerCoeff, ScaleExponent);
    }
}

void PowerViewer::cmbDirection_Click() {
    if (Setting || cmbDirection->currentIndex() < 0) return;
    ViewDirection = int16_t(cmbDirection->currentIndex());
    if (IsRatio(Profile))
        Chart.YTitle = QStringLiteral("Ratio ") + Profile.DirectionTexts[size_t(ViewDirection)];
    ShowStatistics();
    butApply_Click();
}

void PowerViewer::butApply_Click() {
    SetBusyCursor(true);
    // What is still being typed (Enter reaches Apply without leaving the box);
    // both texts first, as moving one bar rewrites the other box.
    bool refused = false;
    for (int i = 0; i < 2; ++i)
        if (txt_power[i]->text() != LimitText(i == 0 ? LowValue : HighValue) && !TakeTypedLimit(i))
            refused = true;
    if (txt_exp->text() != QString::number(graph_exp->value())) TakeLimitText(txt_exp, graph_exp);
    // A refused limit (beeped and marked) is corrected first: nothing changes.
    if (refused) {
        SetBusyCursor(false);
        return;
    }
    const LimitValuePair limits = OrderLimitValues(LowValue, HighValue, graph_limits[0]->minimum());
    LowValue = AppliedLow = limits.Low;
    HighValue = AppliedHigh = limits.High;
    Setting = true;
    ShowBars();
    Setting = false;
    if (IsRatio(Profile)) {
        ViewExponent = AppliedExponent = int16_t(std::clamp(graph_exp->value(), kExponentMin, kExponentMax));
    } else {
        ScaleExponent = AppliedScale = int16_t(std::max(0, cmbPowerCoeff->currentIndex()));
        UnitIndex = AppliedUnit = int16_t(std::max(0, cmbPowerUnits->currentIndex()));
    }
    ApplyRange();
    form_Resize();
    SetBusyCursor(false);
}

// ---- Statistics

void PowerViewer::ResetStatistics() {
    for (QLabel* l :
         {lblMinPower, lblMaxPower, lblAvrPower, lblStDevPower, lblTotalPoints, lblPointsOverrange})
        l->hide();
}

void PowerViewer::ShowStatistics() {
    const RunningStats& s = Data.Stats(ViewDirection);
    const auto text = [this](const QString& prefix, double v) {
        return IsRatio(Profile) ? prefix + FormatScientific(v) : StatisticsText(prefix, v, Units);
    };
    lblMinPower->setText(text(kMinPrefix, s.Min));
    lblMaxPower->setText(text(kMaxPrefix, s.Max));
    lblAvrPower->setText(text(kAveragePrefix, s.Average()));
    lblStDevPower->setText(text(kStDevPrefix, s.StdDev()));
    // Points with a value or over range; a ratio of two zeros has neither.
    lblTotalPoints->setText(QStringLiteral("Total Points:  ") +
                            QString::number(s.Count + Data.OverCount(ViewDirection)));
    lblPointsOverrange->setText(QString::fromLatin1(Profile.OverPrefix) +
                                QString::number(Data.OverCount(ViewDirection)));
    for (QLabel* l :
         {lblMinPower, lblMaxPower, lblAvrPower, lblStDevPower, lblTotalPoints, lblPointsOverrange})
        l->show();
}

// ---- Drawing and zoom

void PowerViewer::PlotShown(const std::function<void(const ChartPoint&)>& addPoint) {
    Data.ForEachPlotted(ZoomFirst, ZoomLast, ViewDirection, [&](const PlottedPoint& p) {
        addPoint({p.Time, p.Value, p.Index == 0 ? 0 : 1, {p.Low, p.High}});
    });
}

void PowerViewer::DrawInterval(platform::Surface& surface) {
    DrawChart(0, Chart, surface, float(ZoomStart), float(ZoomEnd - ZoomStart));
    PlotShown([&](const ChartPoint& p) { DrawChartPoint(Chart, surface, p); });
}

void PowerViewer::form_Resize() {
    if (Loading) return;
    FitChartToPixels(Chart, Picture1->size());
    DrawInterval(Picture1->Surface());
}

void PowerViewer::ZoomOut() {
    SetBusyCursor(true);
    const int64_t n = Data.Count();
    ZoomFirst = 0;
    ZoomLast = n - 1;
    ZoomStart = n > 0 ? Data.Time(0) : 0;
    ZoomEnd = n > 0 ? Data.Time(n - 1) : 0;
    Zoomed = false;
    form_Resize();
    butZoomOut->hide();
    SetBusyCursor(false);
}

QPointF PowerViewer::ClampToPlot(QPointF at) const {
    double left = 0, top = 0, right = 0, bottom = 0;
    GetPlotArea(Chart, left, top, right, bottom);
    return {std::clamp(at.x(), left, std::max(left, right)), std::clamp(at.y(), top, std::max(top, bottom))};
}

void PowerViewer::Picture1_MouseDown(Qt::MouseButton button, QPointF at) {
    if (button == Qt::RightButton) {
        Dragging = false;
        Picture1->SetBand(std::nullopt);
        ZoomOut();
    } else if (button == Qt::LeftButton && Data.Count() > 0) {
        dragStartX_ = ClampToPlot(at).x();
        Dragging = true;
    }
}

void PowerViewer::Picture1_MouseMove(Qt::MouseButtons buttons, QPointF at) {
    if (!Dragging || !(buttons & Qt::LeftButton)) return;
    const ChartGeometry& g = Chart.Screen;
    const double x = ClampToPlot(at).x();
    // The band spans the full plot height, whatever the pointer's height.
    Picture1->SetBand(
        QRectF(QPointF(std::min(dragStartX_, x), g.PlotTop), QPointF(std::max(dragStartX_, x), g.PlotBottom)),
        4);
}

void PowerViewer::Picture1_MouseUp(Qt::MouseButton button, QPointF at) {
    if (button != Qt::LeftButton || !Dragging) return;
    Dragging = false;
    Picture1->SetBand(std::nullopt);
    ZoomTo(dragStartX_, ClampToPlot(at).x());
}

void PowerViewer::ZoomTo(double x1, double x2) {
    double t1 = 0, t2 = 0;
    TimesFromPlotX(Chart, x1, x2, t1, t2);
    int64_t first = 0, last = 0;
    Data.ZoomIndexes(t1, t2, first, last);
    if (last - first < kMinZoomPoints) {
        platform::prompts().Beep();
        return;
    }
    SetBusyCursor(true);
    ZoomStart = Data.Time(first);
    ZoomEnd = Data.Time(last);
    ZoomFirst = first;
    ZoomLast = last;
    Zoomed = true;
    form_Resize();
    butZoomOut->show();
    SetBusyCursor(false);
}

// ---- Save and print

QString PowerViewer::HeadPart() const {
    return HeadTextOf(windowTitle());
}

void PowerViewer::DataSave(const QString& fileName) {
    if (Data.Count() == 0 || RefuseIncomplete(Incomplete)) return;
    const QString header =
        Profile.Combine == PowerCombine::Single
            ? QStringLiteral("Power, in ") + UnitLongName(Units.BaseUnit) +
                  QStringLiteral(" \t Time, in Seconds \t") + HeadPart()
            : QStringLiteral("Power, ") + Units.BaseUnit +
                  QStringLiteral(" Channel A\t Channel B \t Time, in Seconds \t Head A: ") + FileHeads.aName +
                  FileHeads.aSerial + QStringLiteral("\t Head B: ") + FileHeads.bName + FileHeads.bSerial;
    SaveLoggedData(
        fileName, false, QString(), header, [] { Notes().SaveNotesBox(); },
        [this] { Data.ForEachFileLine([](const QString& line) { WorkFile(3, line); }); });
}

void PowerViewer::PrintTexts(platform::Surface& page) const {
    page.SetForeColor(0);
    const QLabel* lines[] = {lblMinPower,   lblMaxPower,    lblAvrPower,
                             lblStDevPower, lblTotalPoints, lblPointsOverrange};
    for (int i = 0; i < 6; ++i) {
        page.SetCurrentX(0);
        page.SetCurrentY(5 + 5 * i);
        page.Print(lines[i]->text());
    }
    page.SetCurrentX(0);
    page.SetCurrentY(40);
    page.Print(HeadPart());
    if (Zoomed) {
        page.SetCurrentX(95);
        page.SetCurrentY(50);
        page.Print(QStringLiteral("ZOOMED VIEW"));
    }
}

void PowerViewer::Print() {
    if (RefuseIncomplete(Incomplete)) return;
    platform::Printer& printer = platform::printer();
    const float start = float(ZoomStart), span = float(ZoomEnd - ZoomStart);
    if (!PrintChart(0, Chart, printer, start, span,
                    [](platform::Surface& page) { Notes().PrintNotesBox(page); }))
        return ThrowIfPrintFailed(printer);
    PrintTexts(printer.Page());
    // The page gets what the screen shows: at most about 1000 plotted points.
    PlotShown([&](const ChartPoint& p) { PrintChartPoint(Chart, printer, p); });
    PrintChart(2, Chart, printer, start, span);
    ThrowIfPrintFailed(printer);
}

// ---- Window

bool PowerViewer::eventFilter(QObject* watched, QEvent* event) {
    if (const int i = LimitBoxLeft(txt_power, watched, event); i >= 0) TakeTypedLimit(i);
    if (watched == txt_exp && LimitBoxLeft({txt_exp, txt_exp}, watched, event) >= 0)
        TakeLimitText(txt_exp, graph_exp);
    return QWidget::eventFilter(watched, event);
}

void PowerViewer::Unload() {
    Data.Clear();
    ResetStatistics();
    ZoomFirst = 0;
    ZoomLast = -1;
    if (App().ViewerKind == Profile.Kind) App().ViewerKind = -1;
    MdiFrame(this)->hide();
}

void PowerViewer::closeEvent(QCloseEvent* e) {
    Unload();
    e->ignore();
}
