#include "viewers/LoadingWindow.h"

#include "platform/Palette.h"
#include "state/AppState.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

QWidget* g_parent = nullptr;
LoadingWindow* g_form = nullptr;
int16_t g_source = 0;
bool g_showing = false;

std::array<std::function<void()>, 6>& CancelRoutines() {
    static std::array<std::function<void()>, 6> table;
    return table;
}

}  // namespace

ProgressBox::ProgressBox(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture1");
    setMinimumHeight(22);
}

int ProgressBox::WidthFor(float fraction) const {
    if (!(fraction > 0)) return 0;  // NaN too
    return int(std::floor(std::min(fraction, 1.0f) * float(width())));
}

void ProgressBox::SetRecord(const ProgressRecord& record) {
    const bool coloursChanged = record.BackColor != record_.BackColor || record.BarColor != record_.BarColor;
    record_ = record;
    const int w = WidthFor(record.Fraction);
    if (w == drawnWidth_ && !coloursChanged) return;
    drawnWidth_ = w;
    ++repaints_;
    update();
}

void ProgressBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), platform::PaletteColor(record_.BackColor));
    p.fillRect(QRect(0, 0, drawnWidth_, height()), platform::PaletteColor(record_.BarColor));
    p.setPen(platform::PaletteColor(8));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ProgressBox::resizeEvent(QResizeEvent*) {
    drawnWidth_ = WidthFor(record_.Fraction);
}

LoadingWindow::LoadingWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("LoadingWindow");
    setModal(false);
    lblDataLogTitle = new QLabel(this);
    lblDataLogTitle->setObjectName("lblDataLogTitle");
    lblDataLogTitle->setAlignment(Qt::AlignCenter);
    Picture1 = new ProgressBox(this);
    butCancel = new QPushButton("Cancel", this);
    butCancel->setObjectName("butCancel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDataLogTitle);
    layout->addWidget(Picture1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(butCancel);
    row->addStretch();
    layout->addLayout(row);
    setFixedSize(420, 130);
    connect(butCancel, &QPushButton::clicked, this, &LoadingWindow::butCancel_Click);
}

// Cancel ends the transfer and the mode it belongs to.
void LoadingWindow::butCancel_Click() {
    DataLoadCancel();
    if (App().Shell.SwitchMode) App().Shell.SwitchMode(ModeNone);
}

void LoadingWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    if (g_showing) butCancel_Click();
}

void LoadingWindow::reject() {
    if (g_showing)
        butCancel_Click();
    else
        QDialog::reject();
}

LoadingWindow& SharedLoadingWindow() {
    if (!g_form) {
        g_form = new LoadingWindow(g_parent);
        // A parent that goes takes the window with it.
        QObject::connect(g_form, &QObject::destroyed, [] {
            g_form = nullptr;
            g_showing = false;
        });
    }
    return *g_form;
}

void SetDataLoadParent(QWidget* mainWindow) {
    if (g_parent == mainWindow) return;
    delete g_form;
    g_parent = mainWindow;
    if (mainWindow) QObject::connect(mainWindow, &QObject::destroyed, [] { g_parent = nullptr; });
}

void SetDataLoadCancel(int16_t source, std::function<void()> cancel) {
    if (source < 0 || size_t(source) >= CancelRoutines().size()) return;
    CancelRoutines()[size_t(source)] = std::move(cancel);
}

QPoint DataLoadPlacement(QSize mainWindow, QSize own) {
    return QPoint(std::max(0, (mainWindow.width() - own.width()) / 3),
                  std::max(0, (mainWindow.height() - own.height()) / 2));
}

void DataLoadFormShow(int16_t source, const QString& title, const QString& text) {
    LoadingWindow& f = SharedLoadingWindow();
    g_source = source;
    g_showing = true;
    f.setWindowTitle(title);
    f.lblDataLogTitle->setText(text);
    if (QWidget* main = f.parentWidget()) {
        const QRect area = main->geometry();
        f.move(area.topLeft() + DataLoadPlacement(area.size(), f.frameGeometry().size()));
    }
    f.show();
}

void DataLoadFormHide() {
    g_showing = false;
    if (!g_form) return;
    g_form->hide();
    g_form->setWindowTitle(QString());
    g_form->lblDataLogTitle->clear();
}

void DataLoadCancel() {
    if (!g_showing) return;
    const auto& cancel = CancelRoutines()[size_t(std::clamp<int16_t>(g_source, 0, 5))];
    if (cancel) cancel();
    DataLoadFormHide();
}

bool DataLoadShowing() {
    return g_showing;
}

void DrawProgress(int phase, const ProgressRecord& record) {
    ProgressBox& box = *SharedLoadingWindow().Picture1;
    switch (phase) {
        case -1:
            box.SetRecord(record);
            box.show();
            break;
        case 0:
            box.SetRecord(record);
            break;
        default:
            box.hide();
            break;
    }
}
