#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *picIcon;
    QPushButton* cmdOK;
};
