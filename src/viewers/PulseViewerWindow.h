#pragma once

#include "viewers/StoredDataViewer.h"

#include <QWidget>
#include <array>
#include <cstdint>

class BlockLines;
class EnergyLimitEditor;
class QGridLayout;
class QLabel;
class QLayout;
class QPlainTextEdit;
class QPushButton;
struct LimitNames;

namespace platform {
class Printer;
}  // namespace platform
namespace widgets {
class SurfaceWidget;
}

// What the two energy viewers share: the chart picture, the frame of
// energy limits with Apply and Cancel, seven statistics lines, the notes,
// the load protocol, the re-save and the printed page around the chart.
// Each viewer supplies its data, its limits and its chart.
class PulseViewerWindow : public QWidget, public StoredDataViewer {
public:
    // -1 begins a record (`text` the title), 0 adds a line, 1 closes.
    void EnergyLoad(int step, const QString& text);
    // After the last line: limits chosen, controls, statistics, notes, chart.
    void ShowEnergyData();
    // Header, notes and every line; nothing when no data is held.
    void EnergyDataSave(const QString& fileName);
    void EnergyPrint();
    void ResetStatistics();
    void butApply_Click();
    void butCancel_Click();

    void Load(int step, const QString& text) override { EnergyLoad(step, text); }
    void ShowData() override { ShowEnergyData(); }
    void DataSave(const QString& fileName) override { EnergyDataSave(fileName); }
    void Print() override { EnergyPrint(); }

    widgets::SurfaceWidget* Picture1;
    QPlainTextEdit* Text1;
    QPushButton* butApply;
    QPushButton* butCancel;

protected:
    using Texts = std::array<QString, 7>;
    // The window's name is its object name and first caption.
    struct Names {
        const char* Window;
        const char* Caption;
        int16_t ViewerKind;
    };
    PulseViewerWindow(QWidget* parent, const Names& names, const LimitNames& limits,
                      const std::array<const char*, 7>& labelNames, const Texts& prefixes);

    // The limit frame's grid: rows from 3 on are the viewer's; call
    // Arrange once they are in (`above` goes over the frame).
    QGridLayout* LimitGrid() const;
    void Arrange(QLayout* above = nullptr);
    void ShowStatistics();

    virtual void BeginRecord(const QString& title) = 0;
    virtual void AddLine(const QString& text) = 0;
    virtual void ChooseLimits() = 0;
    virtual void ShowApplied() = 0;  // controls from the applied limits
    virtual void ApplyShown() = 0;   // the data from the controls
    virtual void Redraw() = 0;
    virtual Texts StatisticsTexts() const = 0;
    // From the start of a load until its record is shown.
    bool Incomplete = false;
    virtual bool MissingShown() const = 0;  // the seventh statistics line
    virtual bool HasData() const = 0;
    virtual QString HeaderLine() const = 0;
    virtual void WriteDataLines(BlockLines& lines) const = 0;
    // The page with the empty chart (false: nothing to print on), and
    // the chart's contents with the end of the job.
    virtual bool PrintChart(platform::Printer& printer) = 0;
    virtual void PrintContents(platform::Printer& printer) = 0;
    virtual double PaperTop() const = 0;
    virtual QString PrintTitle() const = 0;
    virtual void DropRecord() = 0;
    // The stability window of the record (ViewerStability.h).
    virtual void ShowStability() = 0;

    void closeEvent(QCloseEvent* e) override;

    EnergyLimitEditor* Limits;
    std::array<QLabel*, 7> StatLabels{};

private:
    void Unload();

    int16_t kind_;
    Texts prefixes_;
};
