#include "auxiliary/AboutBox.h"

#include "auxiliary/Pictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About Kelvaro32");
    picIcon = new QLabel(this);
    picIcon->setPixmap(ApplicationIcon().pixmap(48, 48));
    Label1 = new QLabel("Kelvaro32 Application", this);
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    Label1->setFont(big);
    Label2 = new QLabel("Version 3.20", this);
    Label3 = new QLabel("www.kelvaro.example", this);
    Label4 = new QLabel("USA: support-us@kelvaro.example", this);
    Label5 = new QLabel("Other countries: support@kelvaro.example", this);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);

    auto* g = new QGridLayout(this);
    g->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    g->addWidget(Label1, 0, 1);
    g->addWidget(Label2, 1, 1);
    g->addWidget(Label3, 2, 1);
    g->addWidget(Label4, 3, 1);
    g->addWidget(Label5, 4, 1);
    g->addWidget(cmdOK, 5, 1, Qt::AlignRight);
    g->setHorizontalSpacing(16);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}
