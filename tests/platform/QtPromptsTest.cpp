#include "platform/QtPrompts.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTimer>

using platform::Icon;

TEST(DialogFilters, translatesPairsIntoQtFiltersAndTheChoiceBackToItsIndex) {
    // clang-format off
    const std::pair<const char*, QStringList> cases[] = {
        {"Power data|*.pwr|Energy data|*.nrg", {"Power data (*.pwr)", "Energy data (*.nrg)"}},
        {"Power data (*.pwr)|*.pwr", {"Power data (*.pwr)"}}, {"Data|*.pwr;*.nrg", {"Data (*.pwr *.nrg)"}},
        {"Power data|*.pwr|Other", {"Power data (*.pwr)"}}, {"Any|", {"Any (*)"}}, {"", {}}};
    // clang-format on
    for (const auto& [in, out] : cases) EXPECT_EQ(platform::DialogFilters(in), out) << in;
    const QStringList f = platform::DialogFilters("Power|*.pwr|Energy|*.nrg|Dual power|*.dpw");
    EXPECT_EQ(platform::FilterIndex(f, "Dual power (*.dpw)"), 3);
    EXPECT_EQ(platform::FilterIndex(f, "Something else"), 1);
}

// Once the modal box is up: note its text, title and icon, and press `button`.
static void PressWhenShown(QString& seen, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->text() + "|" + box->windowTitle() + "|" + QString::number(box->icon());
        box->button(button)->click();
    });
}

TEST(QtPrompts, boxesShowTextTitleAndIconAndAnswerWithTheButtonPressed) {
    platform::QtPrompts qt;
    platform::Prompts& p = qt;
    // clang-format off
    const std::pair<Icon, QMessageBox::Icon> cases[] = {
        {Icon::None, QMessageBox::NoIcon}, {Icon::Information, QMessageBox::Information},
        {Icon::Exclamation, QMessageBox::Warning}, {Icon::Critical, QMessageBox::Critical},
        {Icon::Question, QMessageBox::Question}};
    // clang-format on
    QString seen;
    for (const auto& [icon, expected] : cases) {
        PressWhenShown(seen, QMessageBox::Ok);
        p.Message("Log file save failed.", "A title", icon);
        EXPECT_EQ(seen, "Log file save failed.|A title|" + QString::number(expected));
    }
    PressWhenShown(seen, QMessageBox::Ok);
    p.Message("File open failed");
    EXPECT_FALSE(seen.section('|', 1, 1).isEmpty()) << "a title of its own";
    for (auto [button, expected] : {std::pair{QMessageBox::Yes, true}, {QMessageBox::No, false}}) {
        PressWhenShown(seen, button);
        EXPECT_EQ(p.AskYesNo("Save it now?", "Reminder.", Icon::Question), expected);
        EXPECT_TRUE(seen.startsWith("Save it now?|Reminder.|"));
    }
    using A = platform::Answer;
    for (auto [button, expected] :
         {std::pair{QMessageBox::Yes, A::Yes}, {QMessageBox::No, A::No}, {QMessageBox::Cancel, A::Cancel}}) {
        PressWhenShown(seen, button);
        EXPECT_EQ(p.AskYesNoCancel("Save it now?", "Reminder.", Icon::Question), expected);
    }
}

TEST(QtPrompts, withoutAnyPrinterThePrintDialogIsSkippedAndCopiesKept) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    platform::QtPrompts qt;
    int copies = 3;
    EXPECT_TRUE(qt.PrintDialog(copies) && copies == 3 && platform::SelectedPrinter() == nullptr);
}
