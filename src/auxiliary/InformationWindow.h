#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

// What the last identification found: model and version, and the head on
// each channel. Built anew each time it is opened.
class InformationWindow : public QDialog {
    Q_OBJECT
public:
    explicit InformationWindow(QWidget* parent = nullptr);

    QLabel *PictConnect, *PictDisc;
    QGroupBox *FramDevice, *FramHead1, *FramHead2;
    QLabel *LblDeviceType, *LblDeviceVersion, *LblPort;
    QLabel *LblHeadType1, *LblSerialNum1, *LblHeadName1;
    QLabel *LblHeadType2, *LblSerialNum2, *LblHeadName2;
    QGroupBox* FramFolders;  // where the settings, traffic log and working files go
    QLabel* LblFolders;
    QPushButton* OKButton;

private:
    void Form_Load();
};
