#include "auxiliary/StabilityWindow.h"

#include "analysis/StabilityText.h"
#include "charts/ChartGeometry.h"
#include "charts/SurfaceText.h"
#include "platform/Clipboard.h"
#include "platform/Printer.h"
#include "widgets/SurfaceWidget.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr double kPixelsPerUnit = 4.0;  // chart units, as the strip charts use
constexpr double kScreenFont = 8.25, kPaperFont = 9.0;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<analysis::FigureRow> RowsOf(const StabilitySnapshot& s) {
    const std::string unit = s.Unit.toStdString();
    if (s.Power) return analysis::PowerRows(*s.Power, unit);
    if (s.Energy) return analysis::EnergyRows(*s.Energy, unit);
    return {};
}

}  // namespace

StabilityWindow::StabilityWindow(Source source, std::function<bool()> due, const AllanChartColors& colors,
                                 QWidget* parent)
    : QDialog(parent), source_(std::move(source)), due_(std::move(due)), colors_(colors) {
    setObjectName(QStringLiteral("StabilityWindow"));
    setWindowTitle(QStringLiteral("Stability"));
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setWordWrap(true);
    Figures = new QTableWidget(0, 2, this);
    Figures->setObjectName(QStringLiteral("Figures"));
    Figures->horizontalHeader()->hide();
    Figures->verticalHeader()->hide();
    Figures->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Figures->horizontalHeader()->setStretchLastSection(true);
    Figures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Figures->setMinimumWidth(330);
    Picture1 = new widgets::SurfaceWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setMinimumSize(320, 240);
    butPrint = new QPushButton(QStringLiteral("&Print"), this);
    butCopy = new QPushButton(QStringLiteral("&Copy"), this);
    butClose = new QPushButton(QStringLiteral("Close"), this);
    butCopy->setToolTip(QStringLiteral("Copy the figures to the clipboard, tab-separated."));

    auto* top = new QHBoxLayout;
    top->addWidget(Figures, 0);
    top->addWidget(Picture1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(butCopy);
    buttons->addWidget(butPrint);
    buttons->addWidget(butClose);
    auto* all = new QVBoxLayout(this);
    all->addWidget(lblTitle);
    all->addLayout(top, 1);
    all->addLayout(buttons);
    resize(760, 420);

    connect(butClose, &QPushButton::clicked, this, &QDialog::close);
    connect(butCopy, &QPushButton::clicked, this, [this] { platform::SetClipboardText(TabText()); });
    connect(butPrint, &QPushButton::clicked, this, [this] { PrintFigures(); });
    Picture1->Resized = [this] { Redraw(); };
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &StabilityWindow::Tick);
    timer_.start();
}

StabilityWindow* StabilityWindow::ShowFor(QWidget* owner, Source source, std::function<bool()> due,
                                          const AllanChartColors& colors) {
    auto* w =
        owner->findChild<StabilityWindow*>(QStringLiteral("StabilityWindow"), Qt::FindDirectChildrenOnly);
    if (!w) {
        w = new StabilityWindow(std::move(source), std::move(due), colors, owner);
        w->setWindowFlag(Qt::Window);
        w->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        w->source_ = std::move(source);
        w->due_ = std::move(due);
    }
    w->Refresh();
    w->show();
    w->raise();
    return w;
}

void StabilityWindow::Tick() {
    if (due_ && due_()) Refresh();
}

void StabilityWindow::Refresh() {
    if (source_) shown_ = source_();
    lblTitle->setText(shown_.Title);
    const std::vector<analysis::FigureRow> rows = RowsOf(shown_);
    Figures->setRowCount(int(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* label = new QTableWidgetItem(Text(rows[i].Label));
        auto* value = new QTableWidgetItem(Text(rows[i].Value));
        label->setToolTip(Text(rows[i].Formula));
        value->setToolTip(Text(rows[i].Formula));
        Figures->setItem(int(i), 0, label);
        Figures->setItem(int(i), 1, value);
    }
    Picture1->setVisible(shown_.Power.has_value());
    Picture1->setToolTip(Text(analysis::kAllanFormula));
    Redraw();
}

QString StabilityWindow::TabText() const {
    const std::string unit = shown_.Unit.toStdString();
    return Text(analysis::TabText(RowsOf(shown_), shown_.Power ? &*shown_.Power : nullptr, unit));
}

void StabilityWindow::DrawChart(platform::Surface& surface, double left, double top, double width,
                                double height, double fontPoints) const {
    static const std::vector<analysis::AllanPoint> none;
    DrawAllanChart(surface, left, top, width, height, shown_.Power ? shown_.Power->Allan : none, shown_.Unit,
                   colors_, fontPoints);
}

void StabilityWindow::Redraw() {
    platform::Surface& s = Picture1->Surface();
    const double w = Picture1->width() / kPixelsPerUnit, h = Picture1->height() / kPixelsPerUnit;
    s.SetScale(0, 0, w, h);
    s.Clear(colors_.Back);
    DrawChart(s, 0, 0, w, h, kScreenFont);
    Picture1->update();
}

bool StabilityWindow::PrintFigures() {
    platform::Printer& printer = platform::printer();
    if (!printer.BeginDoc()) return false;
    platform::Surface& page = printer.Page();
    const double width = page.ScaleWidth(), height = page.ScaleHeight();
    page.SetScale(0, 0, width, height);
    page.SetFontSize(12);
    page.SetFontBold(true);
    PrintAt(page, 10, 10, QStringLiteral("Stability"));
    page.SetFontSize(kPaperFont);
    page.SetFontBold(false);
    page.SetForeColor(0);
    page.SetCurrentX(10);
    for (const QString& line : shown_.Title.split(QLatin1Char('\n'))) page.Print(line);
    page.Print(QString());
    const std::vector<analysis::FigureRow> rows = RowsOf(shown_);
    const double labelWidth = page.TextWidth(QStringLiteral("Relative standard deviation:  "));
    double y = page.CurrentY();
    for (const analysis::FigureRow& r : rows) {
        PrintAt(page, 10, y, Text(r.Label) + QLatin1Char(':'));
        PrintAt(page, 10 + labelWidth, y, Text(r.Value));
        y = page.CurrentY();
    }
    if (shown_.Power) {
        const AllanChartColors paper{15, PaperColor(colors_.Axis), PaperColor(colors_.Trace),
                                     PaperColor(colors_.Grid)};
        const double chartTop = y + 5, chartHeight = std::min(120.0, height - chartTop - 10);
        DrawAllanChart(page, 10, chartTop, std::min(170.0, width - 20), chartHeight, shown_.Power->Allan,
                       shown_.Unit, paper, kPaperFont);
        y = chartTop + chartHeight + 3;
        page.SetFontSize(kPaperFont);
        page.SetForeColor(0);
        PrintAt(page, 10, y, QStringLiteral("tau (s)"));
        PrintAt(page, 40, y, QStringLiteral("Allan deviation"));
        PrintAt(page, 80, y, QStringLiteral("relative"));
        for (const analysis::AllanPoint& p : shown_.Power->Allan) {
            y = page.CurrentY();
            if (y > height - 10) break;
            PrintAt(page, 10, y, Text(analysis::FigureText(p.Tau)));
            PrintAt(page, 40, y, Text(analysis::FigureText(p.Deviation)));
            PrintAt(page, 80, y, Text(analysis::FigureText(p.Relative)));
        }
    }
    return printer.EndDoc();
}
