#include "viewers/ViewModeDialog.h"

#include "state/StateReset.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

ViewModeDialog* g_dialog = nullptr;
std::function<int16_t(int16_t, const QString&)> g_answer;
int16_t g_viewMode = -1;  // -1 none or cancelled, 0 A, 1 B, 2 ratio, 3 difference
const ResetWithProgramState kReset{&ForgetDualViewMode};

}  // namespace

ViewModeDialog::ViewModeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("ViewModeDialog");
    setModal(true);
    setMinimumWidth(300);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Frame1 = new QGroupBox("Specify a view mode", this);
    Frame1->setObjectName("Frame1");
    const char* captions[] = {"Channel \"&A\" only", "Channel \"&B\" only", "&Ratio \"A\" && \"B\"",
                              "&Difference \"A\" && \"B\""};
    auto* options = new QVBoxLayout(Frame1);
    for (int i = 0; i < 4; ++i) {
        optViewMode[size_t(i)] = new QRadioButton(captions[i], Frame1);
        optViewMode[size_t(i)]->setObjectName(QString("optViewMode_%1").arg(i));
        options->addWidget(optViewMode[size_t(i)]);
    }
    butOK = new QPushButton("OK", this);
    butOK->setObjectName("butOK");
    butOK->setDefault(true);
    butCancel = new QPushButton("&Cancel", this);
    butCancel->setObjectName("butCancel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Frame1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(butOK);
    row->addWidget(butCancel);
    layout->addLayout(row);
    connect(butOK, &QPushButton::clicked, this, [this] {
        g_viewMode = SelectedMode();
        accept();
    });
    // Cancel, Escape and closing the window all answer -1.
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [] { g_viewMode = -1; });
}

void ViewModeDialog::Prepare(int16_t kind, const QString& title) {
    const bool power = kind == 0;
    setWindowTitle(title);
    Label1->setText(power ? "This is a dual-channel Power data-file."
                          : "This is a dual-channel Energy data-file.");
    optViewMode[3]->setVisible(power);
    // A choice this data set does not offer (the difference of energies)
    // falls back to channel A, as no choice does.
    int16_t mode = g_viewMode;
    if (mode < 0 || mode > 3 || !optViewMode[size_t(mode)]->isVisibleTo(this)) mode = 0;
    optViewMode[size_t(mode)]->setChecked(true);
    adjustSize();
}

int16_t ViewModeDialog::SelectedMode() const {
    for (int i = 0; i < 4; ++i)
        if (optViewMode[size_t(i)]->isChecked()) return int16_t(i);
    return -1;
}

ViewModeDialog& SharedViewModeDialog() {
    if (!g_dialog) {
        g_dialog = new ViewModeDialog(QApplication::activeWindow());
        QObject::connect(g_dialog, &QObject::destroyed, [] { g_dialog = nullptr; });
    }
    return *g_dialog;
}

int16_t GetDualViewMode(int16_t kind, const QString& title) {
    if (g_answer) {
        const int16_t mode = g_answer(kind, title);
        g_viewMode = mode >= 0 && mode <= (kind == 0 ? 3 : 2) ? mode : int16_t(-1);
        return g_viewMode;
    }
    ViewModeDialog& d = SharedViewModeDialog();
    d.Prepare(kind, title);
    d.exec();
    return g_viewMode;
}

int16_t LastDualViewMode() {
    return g_viewMode;
}

void ForgetDualViewMode() {
    g_viewMode = -1;
}

void SetViewModeAnswer(std::function<int16_t(int16_t kind, const QString& title)> answer) {
    g_answer = std::move(answer);
}
