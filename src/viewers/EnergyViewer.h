#pragma once

#include "viewers/EnergyViewData.h"
#include "viewers/PulseViewerWindow.h"
#include "viewers/ViewerStability.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;

// "Energy Data": single-channel energies loaded from a PC file or a meter
// log, as a histogram with statistics; the limits, unit, scale and number
// of bins are edited and applied, the data saved again and printed.
class EnergyViewer : public PulseViewerWindow {
    Q_OBJECT
public:
    explicit EnergyViewer(QWidget* parent = nullptr);

    EnergyViewData Data;

    std::array<QScrollBar*, 2> histogram_limits{};
    std::array<QLineEdit*, 2> txt_energy{};
    QComboBox* cmbEnergyUnits;
    QComboBox* cmbEnergyCoeff;
    QScrollBar* bins_count;
    QLabel* txt_bins;
    QLabel* lblMinEnergy;
    QLabel* lblMaxEnergy;
    QLabel* lblAvrEnergy;
    QLabel* lblStDevEnergy;
    QLabel* lblTotalPulses;
    QLabel* lblPulsesOverrange;
    QLabel* lblMissingPulses;

private:
    void BeginRecord(const QString& title) override;
    void AddLine(const QString& text) override { Data.Add(text); }
    void ChooseLimits() override { Data.ChooseLimits(); }
    void ShowApplied() override;
    void ApplyShown() override;
    void Redraw() override;  // form_Resize
    Texts StatisticsTexts() const override { return Data.StatisticsTexts(); }
    bool MissingShown() const override { return Data.MissingPulseDetection; }
    bool HasData() const override { return !Data.Values.empty(); }
    QString HeaderLine() const override { return Data.HeaderLine(HeadTextOf(windowTitle())); }
    void WriteDataLines(BlockLines& lines) const override;
    bool PrintChart(platform::Printer& printer) override;
    void PrintContents(platform::Printer& printer) override;
    double PaperTop() const override { return Data.ViewHist.Paper.Top; }
    QString PrintTitle() const override;
    void DropRecord() override { Data.Clear(); }
    void ShowStability() override { ShowViewerStability(*this); }
};
