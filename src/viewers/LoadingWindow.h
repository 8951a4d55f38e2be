#pragma once

#include <QDialog>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;

// What the progress bar shows; colours are indexes of the 16-colour palette.
struct ProgressRecord {
    int BackColor = 7;   // light grey
    int BarColor = 1;    // blue for PC files, green for meter logs
    float Fraction = 0;  // done, 0..1
};

// The progress bar (`Picture1`): the background, and a filled bar from the
// left edge over Fraction x width. It asks for a repaint only when the bar's
// width in pixels changes, so a load may report every line.
class ProgressBox : public QWidget {
public:
    explicit ProgressBox(QWidget* parent = nullptr);
    void SetRecord(const ProgressRecord& record);
    int DrawnWidth() const { return drawnWidth_; }
    int Repaints() const { return repaints_; }  // repaints asked for since made

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    int WidthFor(float fraction) const;
    ProgressRecord record_;
    int drawnWidth_ = 0;
    int repaints_ = 0;
};

// The loading window shown while a PC file loads or a meter log downloads.
// Not modal: the main window's menus stay usable. Its Cancel button, Escape
// and closing it abort the transfer (DataLoadCancel) and leave the mode.
class LoadingWindow : public QDialog {
public:
    explicit LoadingWindow(QWidget* parent = nullptr);

    QLabel* lblDataLogTitle;
    ProgressBox* Picture1;
    QPushButton* butCancel;

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void butCancel_Click();
};

// Transfer sources: 1 Talon2, 2 TALON, 3 PC file, 4 Meridel, 5 Sirka.
inline constexpr int16_t kSourcePcFile = 3;

// The one loading window, made on first use as a child of the window given
// to SetDataLoadParent (the main window), which it is placed over.
LoadingWindow& SharedLoadingWindow();
void SetDataLoadParent(QWidget* mainWindow);

// The routine that aborts the transfer of a source; DataLoadCancel calls it.
// The PC-file loader registers source 3 itself; the meter-log download
// registers 1, 2, 4 and 5 (each calls its download with "cancel retrieve").
void SetDataLoadCancel(int16_t source, std::function<void()> cancel);

// Shows the window without blocking: `title` as caption, `text` in the label,
// remembering `source`, placed by DataLoadPlacement over the main window.
void DataLoadFormShow(int16_t source, const QString& title, const QString& text);
// Hides the window and clears caption and label: the transfer is over.
void DataLoadFormHide();
// While a transfer is shown: calls the remembered source's cancel routine
// and hides the window. Without one (hidden) it does nothing.
void DataLoadCancel();
// A transfer is shown (between DataLoadFormShow and DataLoadFormHide).
bool DataLoadShowing();

// The window's top left within the main window: top = max(0, (main height -
// own height) / 2), left = max(0, (main width - own width) / 3).
QPoint DataLoadPlacement(QSize mainWindow, QSize own);

// The progress bar of the loading window: phase -1 prepares it (background,
// bar for the current fraction, visible), 0 updates the bar, 1 completes it
// (hides the bar).
void DrawProgress(int phase, const ProgressRecord& record);
