#include "auxiliary/InformationWindow.h"

#include "auxiliary/InfoTexts.h"
#include "auxiliary/Pictures.h"
#include "link/LinkState.h"
#include "platform/PortTable.h"
#include "platform/ProgramFolder.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// 15 twips to the pixel: the window is 2625 or 3840 twips high.
constexpr int kShortHeight = 2625 / 15;
constexpr int kTallHeight = 3840 / 15;

QGroupBox* Frame(const QString& caption, QLabel*& type, QLabel*& serial, QLabel*& name, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    auto* v = new QVBoxLayout(box);
    type = new QLabel(box);
    serial = new QLabel(box);
    name = new QLabel(box);
    for (QLabel* l : {type, serial, name}) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        v->addWidget(l);
    }
    return box;
}

}  // namespace

InformationWindow::InformationWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("InformationWindow");
    setWindowTitle("Information");

    FramDevice = new QGroupBox("Device", this);
    auto* dv = new QVBoxLayout(FramDevice);
    LblDeviceType = new QLabel(FramDevice);
    LblDeviceVersion = new QLabel(FramDevice);
    LblPort = new QLabel(FramDevice);
    LblPort->setObjectName("LblPort");
    LblPort->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dv->addWidget(LblDeviceType);
    dv->addWidget(LblDeviceVersion);
    dv->addWidget(LblPort);

    FramHead1 = Frame("Head", LblHeadType1, LblSerialNum1, LblHeadName1, this);
    FramHead2 = Frame("Head Channel 'B'", LblHeadType2, LblSerialNum2, LblHeadName2, this);

    FramFolders = new QGroupBox("Folders", this);
    FramFolders->setObjectName("FramFolders");
    auto* fv = new QVBoxLayout(FramFolders);
    LblFolders = new QLabel(FramFolders);
    LblFolders->setObjectName("LblFolders");
    LblFolders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fv->addWidget(LblFolders);

    PictConnect = new QLabel(this);
    PictConnect->setPixmap(ConnectedPicture(56));
    PictDisc = new QLabel(this);
    PictDisc->setPixmap(DisconnectedPicture(56));
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);

    auto* g = new QGridLayout(this);
    g->addWidget(FramDevice, 0, 0);
    g->addWidget(FramHead1, 1, 0);
    g->addWidget(FramHead2, 2, 0);
    g->addWidget(FramFolders, 3, 0, 1, 2);
    auto* side = new QVBoxLayout;
    side->addWidget(PictConnect);
    side->addWidget(PictDisc);
    side->addStretch();
    side->addWidget(OKButton);
    g->addLayout(side, 0, 1, 3, 1);
    g->setColumnStretch(0, 1);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    Form_Load();
}

void InformationWindow::Form_Load() {
    const int16_t port = CurrentSettings().CommPort;
    const InfoTexts t =
        BuildInfoTexts(Meter(), port, Link().VersionReply, platform::portTable().Device(port));
    PictConnect->setVisible(t.connected);
    PictDisc->setVisible(!t.connected);
    LblDeviceType->setText(t.deviceType);
    LblDeviceVersion->setText(t.deviceVersion);
    LblPort->setText(t.port);
    FramHead1->setTitle(t.head1Caption);
    LblHeadType1->setText(t.headType1);
    LblSerialNum1->setText(t.serial1);
    LblHeadName1->setText(t.name1);
    FramHead2->setVisible(t.twoHeads);
    LblHeadType2->setText(t.headType2);
    LblSerialNum2->setText(t.serial2);
    LblHeadName2->setText(t.name2);
    LblFolders->setText(platform::FoldersText(platform::programFolders()).trimmed());
    setMinimumWidth(360);
    const int height = t.twoHeads ? kTallHeight : kShortHeight;
    resize(qMax(minimumSizeHint().width(), 360), qMax(height, minimumSizeHint().height()));
}
