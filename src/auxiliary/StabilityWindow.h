#pragma once

#include "analysis/Stability.h"
#include "charts/AllanChart.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;
namespace platform {
class Surface;
}  // namespace platform
namespace widgets {
class SurfaceWidget;
}

// What a logging window or viewer hands over: the record's figures now.
struct StabilitySnapshot {
    QString Title;  // what the figures are of: the run so far, a viewer's interval
    QString Unit;   // base unit of the values; empty for a ratio
    std::optional<analysis::PowerFigures> Power;
    std::optional<analysis::EnergyFigures> Energy;
};

// "Stability": the figures of a record in a table (each with its formula as
// a tooltip) and the Allan deviation as a log-log chart; Print and Copy (the
// figures tab-separated). It asks its source again once a second when
// `due` says the record changed (a run going on, a zoom), never more often.
class StabilityWindow : public QDialog {
public:
    using Source = std::function<StabilitySnapshot()>;
    StabilityWindow(Source source, std::function<bool()> due, const AllanChartColors& colors,
                    QWidget* parent = nullptr);

    // Asks the source and shows its figures.
    void Refresh();
    // The once-a-second look: refreshes when the record changed.
    void Tick();
    // The figures as tab-separated text, as Copy puts them on the clipboard.
    QString TabText() const;
    // The printout: title, figures and chart on one page. False when
    // nothing was printed.
    bool PrintFigures();
    // Draws the chart on a surface, in its user units.
    void DrawChart(platform::Surface& surface, double left, double top, double width, double height,
                   double fontPoints) const;

    QLabel* lblTitle;
    QTableWidget* Figures;
    widgets::SurfaceWidget* Picture1;
    QPushButton* butPrint;
    QPushButton* butCopy;
    QPushButton* butClose;

    // Opens (or raises and refreshes) the one stability window of `owner`.
    static StabilityWindow* ShowFor(QWidget* owner, Source source, std::function<bool()> due,
                                    const AllanChartColors& colors);

private:
    void Redraw();
    Source source_;
    std::function<bool()> due_;
    AllanChartColors colors_;
    StabilitySnapshot shown_;
    QTimer timer_;
};
