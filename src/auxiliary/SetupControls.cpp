#include "auxiliary/SetupControls.h"

#include "data/LimitBars.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWindow>

LimitControls MakeLimitControls(QDialog* dialog, const LimitNames& names) {
    LimitControls c;
    c.Frame = new QGroupBox(names.Title, dialog);
    auto* grid = new QGridLayout(c.Frame);
    for (int i = 0; i < 2; ++i) {
        c.Bars[i] = MakeSetupBar(c.Frame, 0, kLimitBarMax, names.Bars[i]);
        c.Boxes[i] = MakeLimitBox(c.Frame, names.Boxes[i]);
        c.Boxes[i]->installEventFilter(dialog);
        grid->addWidget(new QLabel(names.Captions[i], c.Frame), i, 0);
        grid->addWidget(c.Bars[i], i, 1);
        grid->addWidget(c.Boxes[i], i, 2);
    }
    c.Units = new QComboBox(c.Frame);
    c.Units->setObjectName(names.Units);
    c.Units->setMinimumContentsLength(3);
    c.Scale = new QComboBox(c.Frame);
    c.Scale->setObjectName(names.Scale);
    c.Scale->addItems(ScaleTexts());
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(new QLabel("Units", c.Frame));
    unitRow->addWidget(c.Units);
    unitRow->addSpacing(12);
    unitRow->addWidget(new QLabel("Scale", c.Frame));
    unitRow->addWidget(c.Scale);
    unitRow->addStretch();
    grid->addLayout(unitRow, 2, 0, 1, 3);
    return c;
}

void ShowLimitBars(const std::array<QScrollBar*, 2>& bars, const std::array<QLineEdit*, 2>& boxes, double low,
                   double high) {
    SetBarQuietly(bars[0], BarFromValue(low));
    SetBarQuietly(bars[1], BarFromValue(high));
    for (int i = 0; i < 2; ++i) SetTextQuietly(boxes[i], QString::number(bars[i]->value()));
}

QScrollBar* MakeSetupBar(QWidget* parent, int minimum, int maximum, const char* name) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(maximum >= 100 ? 10 : 5);
    bar->setMinimumWidth(150);
    return bar;
}

QLineEdit* MakeLimitBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(46);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLabel* MakeReminder(QWidget* parent) {
    auto* reminder = new QLabel(
        "Grayed out controls will be activated only after pressing \"Reset\" in the main screen.", parent);
    reminder->setObjectName("lblReminder");
    reminder->setWordWrap(true);
    return reminder;
}

void SetBarQuietly(QScrollBar* bar, int value) {
    const QSignalBlocker block(bar);
    bar->setValue(value);
}

void SetTextQuietly(QLineEdit* box, const QString& text) {
    const QSignalBlocker block(box);
    box->setText(text);
    box->setCursorPosition(int(text.size()));
}

void SetIndexQuietly(QComboBox* list, int index) {
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

void CutLimitText(QLineEdit* box) {
    if (box->text().size() <= kLimitTextMax) return;
    platform::prompts().Beep();
    SetTextQuietly(box, box->text().left(kLimitTextMax));
}

void TakeLimitText(QLineEdit* box, QScrollBar* bar) {
    if (const auto typed = TypedWholeNumber(box->text(), bar->maximum()))
        bar->setValue(*typed);
    else
        platform::prompts().Beep();
    SetTextQuietly(box, QString::number(bar->value()));
}

void TakePendingLimits(const std::array<QLineEdit*, 2>& boxes, const std::array<QScrollBar*, 2>& bars) {
    for (int i = 0; i < 2; ++i)
        if (boxes[i]->text() != QString::number(bars[i]->value())) TakeLimitText(boxes[i], bars[i]);
}

int LimitBoxLeft(const std::array<QLineEdit*, 2>& boxes, const QObject* watched, const QEvent* event) {
    if (event->type() != QEvent::FocusOut) return -1;
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return -1;
    for (int i = 0; i < 2; ++i)
        if (watched == boxes[i]) return i;
    return -1;
}

// A dialog without a parent widget would go behind the main window; the
// window that opens it carries it without owning it.
static void KeepAboveCaller(QDialog* dialog) {
    QWidget* caller = QApplication::activeWindow();
    if (dialog->parentWidget() || !caller || caller->window() == dialog) return;
    dialog->winId();
    QWindow* callerWindow = caller->window()->windowHandle();
    if (dialog->windowHandle() && callerWindow) dialog->windowHandle()->setTransientParent(callerWindow);
}

void SetupLifecycle::Show(QDialog* dialog, bool runActive) {
    open_ = runActive;
    wasActive_ = false;
    KeepAboveCaller(dialog);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

bool SetupLifecycle::Hide(QDialog* dialog) {
    open_ = false;
    wasActive_ = false;  // hiding an active dialog deactivates it: no second cancel
    const bool wasShown = dialog->isVisible();
    dialog->hide();
    return wasShown;
}

bool SetupLifecycle::LostFocus(const QWidget* dialog, const QEvent* event) {
    if (event->type() != QEvent::ActivationChange || !dialog->isVisible()) return false;
    if (dialog->isActiveWindow()) {
        wasActive_ = true;
        return false;
    }
    const bool lost = wasActive_;
    wasActive_ = false;
    return lost;
}
