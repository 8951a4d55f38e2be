#pragma once

#include "viewers/EnergyRatioViewData.h"
#include "viewers/PulseViewerWindow.h"
#include "viewers/ViewerStability.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;

// "Energy Ratio": a dual-channel energy record as the scatter chart of the
// ratio against the channel A energy, in either direction, with the ratio
// statistics; energy and ratio limits edited and applied, the record saved
// again and printed.
class EnergyRatioViewer : public PulseViewerWindow {
    Q_OBJECT
public:
    explicit EnergyRatioViewer(QWidget* parent = nullptr);

    // The controls from the applied limits.
    void SetupChart() { ShowApplied(); }

    EnergyRatioViewData Data;

    QComboBox* cmbRatioMode;
    std::array<QScrollBar*, 2> energy_limits{};
    std::array<QLineEdit*, 2> txt_energy{};
    QComboBox* cmbEnergyUnits;
    QComboBox* cmbEnergyCoeff;
    std::array<QScrollBar*, 2> ratio_limits{};
    std::array<QLineEdit*, 2> txt_ratio{};
    QScrollBar* graph_exp;
    QLineEdit* txt_exp;
    QLabel* lblMinEnergyRatio;
    QLabel* lblMaxEnergyRatio;
    QLabel* lblAvrEnergyRatio;
    QLabel* lblStDevEnergyRatio;
    QLabel* lblTotalPulses;
    QLabel* lblPointsOverrange;
    QLabel* lblMissingPulses;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildRatioLimits(QWidget* frame);
    void cmbRatioMode_Click();
    void ratio_limits_Change(int index);

    void BeginRecord(const QString& title) override;
    void AddLine(const QString& text) override { Data.Add(text); }
    void ChooseLimits() override { Data.ChooseLimits(); }
    void ShowApplied() override;
    void ApplyShown() override;
    void Redraw() override;
    Texts StatisticsTexts() const override { return Data.StatisticsTexts(); }
    bool MissingShown() const override { return Data.MissedCount > 0; }
    bool HasData() const override { return !Data.Points.empty(); }
    QString HeaderLine() const override { return Data.HeaderLine(HeadTextOf(windowTitle())); }
    void WriteDataLines(BlockLines& lines) const override;
    bool PrintChart(platform::Printer& printer) override;
    void PrintContents(platform::Printer& printer) override;
    double PaperTop() const override { return Data.Chart.Paper.Top; }
    QString PrintTitle() const override;
    void DropRecord() override { Data.Clear(); }
    void ShowStability() override { ShowViewerStability(*this); }
};
