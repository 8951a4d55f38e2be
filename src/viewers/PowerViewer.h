#pragma once

#include "charts/StripChart.h"
#include "data/PcFileFormat.h"
#include "data/Units.h"
#include "viewers/PowerViewData.h"
#include "viewers/StoredDataViewer.h"

#include <QWidget>
#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace platform {
class Surface;
}  // namespace platform
namespace widgets {
class SurfaceWidget;
}

// What differs between the three power viewers.
struct PowerViewProfile {
    const char* ObjectName;  // PowerViewer, PowerRatioViewer, PowerDifferenceViewer
    const char* Caption;     // "Power Data", "Power Ratio", "Power Difference"
    int16_t Kind;            // ViewerKind
    PowerCombine Combine;
    const char* DirectionList;                  // cmbRatioMode, cmbDifferenceMode; nullptr: none
    std::array<const char*, 2> DirectionTexts;  // "A/B", "B/A" ...
    const char* OverPrefix;                     // "Points Overrange:  " or "Out of Range:  "
};

// A stored power record as a strip chart with statistics, the "Graph
// Limits" frame, zoom by dragging over the chart, re-save and print. One
// window class for the single-channel, ratio and difference viewers.
class PowerViewer : public QWidget, public StoredDataViewer {
public:
    explicit PowerViewer(const PowerViewProfile& profile, QWidget* parent = nullptr);

    // PowerLoad, ShowPowerData, PowerDataSave, PowerPrint.
    void Load(int step, const QString& text) override;
    bool LoadBytes(std::string_view line) override { return Data.AddBytes(line); }
    void ShowData() override;
    void DataSave(const QString& fileName) override;
    void Print() override;

    void SetupGraph();
    void ResetStatistics();
    // Draws the shown interval on a surface (the window's picture).
    void DrawInterval(platform::Surface& surface);
    void form_Resize();

    const PowerViewProfile& Profile;
    PowerViewData Data;
    ChartSettings Chart;
    // The record's unit and, for ratio and difference, its heads: as it was
    // described when it began (DescribeDataSet).
    UnitScale Units;
    DualHeads FileHeads;

    // Shown interval.
    double ZoomStart = 0, ZoomEnd = 0;
    int64_t ZoomFirst = 0, ZoomLast = -1;
    bool Zoomed = false;

    // Limits, as the bars show them.
    int16_t UnitIndex = 4, ScaleExponent = 0, ViewExponent = 0;
    double LowValue = 0, HighValue = 1;
    double AppliedLow = 0, AppliedHigh = 1;
    int16_t AppliedExponent = 0;
    int16_t AppliedUnit = 4, AppliedScale = 0;  // what Cancel restores
    int16_t ViewDirection = 0;
    bool Loading = false;
    bool Incomplete = false;  // from the start of a load until it is shown

    widgets::SurfaceWidget* Picture1;
    QLabel* lblZoomHelpLine;
    QPushButton* butZoomOut;
    QGroupBox* Frame1;
    std::array<QScrollBar*, 2> graph_limits{};
    std::array<QLineEdit*, 2> txt_power{};
    QComboBox* cmbPowerUnits;
    QComboBox* cmbPowerCoeff;
    QScrollBar* graph_exp;
    QLineEdit* txt_exp;
    QComboBox* cmbDirection;  // cmbRatioMode or cmbDifferenceMode
    QPushButton* butApply;
    QPushButton* butCancel;
    QLabel* lblMinPower;
    QLabel* lblMaxPower;
    QLabel* lblAvrPower;
    QLabel* lblStDevPower;
    QLabel* lblTotalPoints;
    QLabel* lblPointsOverrange;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildControls();
    QWidget* BuildLimitFrame();
    void ShowStatistics();
    // Sets each plotted point of the shown interval into Chart and adds it.
    void PlotShown(const std::function<void(const ChartPoint&)>& addPoint);
    void ChooseLimitsAtLoad();
    void ShowBars();
    // Takes a typed limit (false when refused) and sets the chart range
    // from the limits.
    bool TakeTypedLimit(int index);
    void ApplyRange();
    void butApply_Click();
    void ZoomOut();
    void ZoomTo(double x1, double x2);
    void Picture1_MouseDown(Qt::MouseButton button, QPointF at);
    void Picture1_MouseMove(Qt::MouseButtons buttons, QPointF at);
    void Picture1_MouseUp(Qt::MouseButton button, QPointF at);
    QPointF ClampToPlot(QPointF at) const;
    void graph_limits_Change(int index);
    void cmbPowerUnits_Click();
    void cmbPowerCoeff_Click();
    void cmbDirection_Click();
    void Unload();
    void PrintTexts(platform::Surface& page) const;
    QString HeadPart() const;

    bool Setting = false;
    bool Dragging = false;
    double dragStartX_ = 0;
};
