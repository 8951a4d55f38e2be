#include "viewers/PulseViewerWindow.h"

#include "auxiliary/NotesWindow.h"
#include "charts/SurfaceText.h"
#include "data/DataFileSave.h"
#include "data/WorkFile.h"
#include "platform/Printer.h"
#include "state/AppState.h"
#include "viewers/EnergyLimitEditor.h"
#include "viewers/EnergyViewData.h"
#include "viewers/ViewerValues.h"
#include "widgets/LogWindowParts.h"
#include "widgets/SurfaceWidget.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

PulseViewerWindow::PulseViewerWindow(QWidget* parent, const Names& names, const LimitNames& limits,
                                     const std::array<const char*, 7>& labelNames, const Texts& prefixes)
    : QWidget(parent), kind_(names.ViewerKind), prefixes_(prefixes) {
    setObjectName(names.Window);
    setWindowTitle(names.Caption);
    Picture1 = new widgets::SurfaceWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->setMinimumSize(320, 220);
    Picture1->Resized = [this] { Redraw(); };
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setMaximumHeight(90);
    Limits = new EnergyLimitEditor(this, limits);
    butApply = new QPushButton("&Apply", Limits->Controls.Frame);
    butApply->setObjectName("butApply");
    butCancel = new QPushButton("&Cancel", Limits->Controls.Frame);
    butCancel->setObjectName("butCancel");
    for (size_t i = 0; i < 7; ++i) StatLabels[i] = MakeStatLabel(this, labelNames[i]);
    connect(butApply, &QPushButton::clicked, this, [this] { butApply_Click(); });
    connect(butCancel, &QPushButton::clicked, this, [this] { butCancel_Click(); });
    ResetStatistics();
}

QGridLayout* PulseViewerWindow::LimitGrid() const {
    return static_cast<QGridLayout*>(Limits->Controls.Frame->layout());
}

void PulseViewerWindow::Arrange(QLayout* above) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(butApply);
    buttons->addWidget(butCancel);
    LimitGrid()->addLayout(buttons, LimitGrid()->rowCount(), 0, 1, 3);
    auto* stats = new QGridLayout;
    stats->setHorizontalSpacing(16);
    for (int i = 0; i < 7; ++i) stats->addWidget(StatLabels[size_t(i)], i % 4, i / 4);
    auto* right = new QVBoxLayout;
    if (above) right->addLayout(above);
    right->addWidget(Limits->Controls.Frame);
    right->addLayout(stats);
    auto* butStability = new QPushButton("Stabilit&y", this);
    butStability->setObjectName("butStability");
    connect(butStability, &QPushButton::clicked, this, [this] { ShowStability(); });
    right->addWidget(butStability, 0, Qt::AlignLeft);
    right->addWidget(Text1);
    right->addStretch();
    auto* all = new QHBoxLayout(this);
    all->setContentsMargins(6, 6, 6, 6);
    all->addWidget(Picture1, 1);
    all->addLayout(right);
}

void PulseViewerWindow::ResetStatistics() {
    for (size_t i = 0; i < 7; ++i) StatLabels[i]->setText(prefixes_[i]);
}

void PulseViewerWindow::ShowStatistics() {
    const Texts texts = StatisticsTexts();
    for (size_t i = 0; i < 7; ++i) {
        StatLabels[i]->setText(texts[i]);
        StatLabels[i]->setVisible(i < 6 || MissingShown());
    }
}

void PulseViewerWindow::EnergyLoad(int step, const QString& text) {
    if (step == -1) {
        ForgetHeadText();
        App().ViewerKind = kind_;
        Incomplete = true;
        BeginRecord(text);
        ResetStatistics();
    } else if (step == 0) {
        AddLine(text);
    } else if (step == 1) {
        Unload();
        MdiFrame(this)->hide();
    }
}

void PulseViewerWindow::ShowEnergyData() {
    Incomplete = false;
    ChooseLimits();
    ShowApplied();
    ShowStatistics();
    Text1->setPlainText(Notes().NotesText());
    MdiFrame(this)->show();
    show();
    Redraw();
}

void PulseViewerWindow::butApply_Click() {
    SetBusyCursor(true);
    Limits->TakePending();
    ApplyShown();
    ShowApplied();
    Redraw();
    SetBusyCursor(false);
}

void PulseViewerWindow::butCancel_Click() {
    ShowApplied();
}

void PulseViewerWindow::EnergyDataSave(const QString& fileName) {
    if (!HasData() || RefuseIncomplete(Incomplete)) return;
    SaveLoggedData(
        fileName, false, QString(), HeaderLine(), [] { Notes().SaveNotesBox(); },
        [this] {
            BlockLines lines;
            WriteDataLines(lines);
        });
}

void PulseViewerWindow::EnergyPrint() {
    if (RefuseIncomplete(Incomplete)) return;
    platform::Printer& printer = platform::printer();
    if (!PrintChart(printer)) return ThrowIfPrintFailed(printer);
    platform::Surface& page = printer.Page();
    page.SetForeColor(0);
    PrintAt(page, 0, 5, HeadTextOf(windowTitle()));
    PrintAt(page, 0, 12, PrintTitle());
    const Texts texts = StatisticsTexts();
    for (size_t i = 0; i < (MissingShown() ? 7u : 6u); ++i)
        PrintAt(page, 0, PaperTop() + 6.0 * double(i), texts[i]);
    PrintContents(printer);
    ThrowIfPrintFailed(printer);
}

void PulseViewerWindow::Unload() {
    DropRecord();
    if (App().ViewerKind == kind_) App().ViewerKind = -1;
}

void PulseViewerWindow::closeEvent(QCloseEvent* e) {
    Unload();
    e->accept();
}
