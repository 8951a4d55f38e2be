#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// The selection of one log file stored in the meter: a heading line and one
// line per file with data, in a fixed-pitch font.
class MeterLogList : public QDialog {
public:
    explicit MeterLogList(QWidget* parent = nullptr);

    // Shows the lines modally with the first one selected; then hands the
    // choice to RetrieveLogs(0, line), or RetrieveLogs(1, "") when the window
    // was closed without one (Cancel, Escape, the window frame).
    void GetFileInx(const QStringList& choices);

    QListWidget* List1;
    QListWidget* LogFilesList;
    QPushButton* butOpen;
    QPushButton* butCancel;
};
