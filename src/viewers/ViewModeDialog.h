#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Asks how a dual-channel data set is shown: channel A alone, channel B
// alone, the ratio, or (power only) the difference. Hidden, not destroyed,
// after each answer.
class ViewModeDialog : public QDialog {
public:
    explicit ViewModeDialog(QWidget* parent = nullptr);

    // Caption, label, the Difference option (power only) and the
    // preselected option for a data set of `kind` (LoadKind: 0 power, 1 or 2
    // energy).
    void Prepare(int16_t kind, const QString& title);
    // The first selected option, -1 when none is.
    int16_t SelectedMode() const;

    QLabel* Label1;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 4> optViewMode;
    QPushButton* butOK;
    QPushButton* butCancel;
};

// Shows the dialog modally and returns the choice, which it also keeps (see
// LastDualViewMode): 0 channel A, 1 channel B, 2 ratio, 3 difference, -1
// cancelled. `title` is the caption (the file name, or the device name +
// " File").
int16_t GetDualViewMode(int16_t kind, const QString& title);

// The last answer: preselected the next time, and the view mode of the
// record being loaded. -1 after ForgetDualViewMode (a new PC file).
int16_t LastDualViewMode();
void ForgetDualViewMode();

// The one dialog, made on first use.
ViewModeDialog& SharedViewModeDialog();

// Answers in place of the dialog (fuzz targets, benchmarks); an empty
// function restores the dialog. The answer is still kept as the last one.
void SetViewModeAnswer(std::function<int16_t(int16_t kind, const QString& title)> answer);
