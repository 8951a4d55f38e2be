#include "auxiliary/SetupControls.h"

#include "data/LimitBars.h"
#include "data/NumberFormat.h"
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
#include <algorithm>
#include <cmath>

LimitControls MakeLimitControls(QWidget* dialog, const LimitNames& names) {
    LimitControls c;
    c.Frame = new QGroupBox(names.Title, dialog);
    auto* grid = new QGridLayout(c.Frame);
    for (int i = 0; i < 2; ++i) {
        c.Bars[i] = MakeSetupBar(c.Frame, names.Minimum, names.Maximum, names.Bars[i]);
        c.Boxes[i] = MakeLimitBox(c.Frame, names.Boxes[i]);
        c.Boxes[i]->installEventFilter(dialog);
        grid->addWidget(new QLabel(names.Captions[i], c.Frame), i, 0);
        grid->addWidget(c.Bars[i], i, 1);
        grid->addWidget(c.Boxes[i], i, 2);
    }
    if (!names.Units) return c;
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
    const double values[] = {low, high};
    for (int i = 0; i < 2; ++i) {
        const double lowest = bars[i]->minimum(), highest = bars[i]->maximum();
        const double v = values[i];
        // Halves to even, as whole-number controls always did.
        const double position = std::isfinite(v) ? std::nearbyint(std::clamp(v, lowest, highest))
                                : v > 0          ? highest
                                                 : lowest;
        SetBarQuietly(bars[i], int(position));
    }
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
    MarkRefused(box, false);
    box->setText(text);
    box->setCursorPosition(int(text.size()));
}

void SetIndexQuietly(QComboBox* list, int index) {
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

void CutLimitText(QLineEdit* box) {
    const QString text = box->text();
    const int most = kLimitTextMax + (text.startsWith(QLatin1Char('-')) ? 1 : 0);
    const QString separator = DecimalSeparator();
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0 && !separator.isEmpty()) point = text.indexOf(separator);
    // Whole digits up to the limit, then up to two decimals: 122.55 stays.
    const qsizetype allowed = point >= 0 && point <= most ? point + 3 : most;
    if (text.size() <= allowed) return;
    platform::prompts().Beep();
    SetTextQuietly(box, text.left(allowed));
}

void TakeLimitText(QLineEdit* box, QScrollBar* bar) {
    const QString text = box->text();
    const bool negative = text.startsWith(QLatin1Char('-')) && bar->minimum() < 0;
    const auto typed =
        negative ? TypedWholeNumber(text.mid(1), -bar->minimum()) : TypedWholeNumber(text, bar->maximum());
    if (typed)
        bar->setValue(negative ? -*typed : *typed);
    else
        platform::prompts().Beep();
    SetTextQuietly(box, QString::number(bar->value()));
}

void MarkRefused(QLineEdit* box, bool refused) {
    if (box->property("refused").toBool() == refused) return;
    box->setProperty("refused", refused);
    box->setStyleSheet(refused ? QStringLiteral("QLineEdit { background: #ffb0b0; }") : QString());
}

bool IsRefused(const QLineEdit* box) {
    return box->property("refused").toBool();
}

bool TakeLimitValue(QLineEdit* box, QScrollBar* bar, double& value) {
    return TakeLimitValue(box, bar, value, bar->maximum());
}

bool TakeLimitValue(QLineEdit* box, QScrollBar* bar, double& value, double maximum) {
    const auto typed =
        TypedLimitValue(box->text(), bar->minimum(), std::min(maximum, double(bar->maximum())));
    if (!typed) {
        platform::prompts().Beep();
        MarkRefused(box, true);
        return false;
    }
    value = *typed;
    SetBarQuietly(bar, int(std::nearbyint(value)));
    SetTextQuietly(box, LimitText(value));
    MarkRefused(box, false);
    return true;
}

void TakePendingLimits(const std::array<QLineEdit*, 2>& boxes, const std::array<QScrollBar*, 2>& bars) {
    // Taking one limit rewrites both boxes: read both first.
    const QString typed[] = {boxes[0]->text(), boxes[1]->text()};
    for (int i = 0; i < 2; ++i) {
        if (typed[i] == QString::number(bars[i]->value())) continue;
        SetTextQuietly(boxes[i], typed[i]);
        TakeLimitText(boxes[i], bars[i]);
    }
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
