#include "platform/QtPrompts.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTimer>

using platform::Icon;

namespace {

TEST(DialogFilters, translatesPairsIntoQtFiltersAndTheChoiceBackToItsIndex) {
    const std::pair<const char*, QStringList> cases[] = {
        {"Power data|*.pwr|Energy data|*.nrg", {"Power data (*.pwr)", "Energy data (*.nrg)"}},
        {"Power data (*.pwr)|*.pwr", {"Power data (*.pwr)"}},
        {"Data|*.pwr;*.nrg", {"Data (*.pwr *.nrg)"}},
        {"Power data|*.pwr|Other", {"Power data (*.pwr)"}},
        {"Any|", {"Any (*)"}},
        {"", {}}};
    for (const auto& [in, out] : cases) EXPECT_EQ(platform::DialogFilters(in), out) << in;
    const QStringList f = platform::DialogFilters("Power|*.pwr|Energy|*.nrg|Dual power|*.dpw");
    EXPECT_EQ(platform::FilterIndex(f, "Dual power (*.dpw)"), 3);
    EXPECT_EQ(platform::FilterIndex(f, "Something else"), 1);
}

// Once the modal box is up: note what it shows and press `button`.
struct BoxSeen {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

void PressWhenShown(BoxSeen& seen, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->text(), box->windowTitle(), box->icon()};
        box->button(button)->click();
    });
}

TEST(QtPrompts, messageShowsTextTitleAndIcon) {
    platform::QtPrompts qt;
    platform::Prompts& p = qt;
    // clang-format off
    const std::pair<Icon, QMessageBox::Icon> cases[] = {
        {Icon::None, QMessageBox::NoIcon}, {Icon::Information, QMessageBox::Information},
        {Icon::Exclamation, QMessageBox::Warning}, {Icon::Critical, QMessageBox::Critical},
        {Icon::Question, QMessageBox::Question}};
    // clang-format on
    for (const auto& [icon, expected] : cases) {
        BoxSeen seen;
        PressWhenShown(seen, QMessageBox::Ok);
        p.Message("Log file save failed.", "A title", icon);
        EXPECT_EQ(seen.text + "|" + seen.title, "Log file save failed.|A title");
        EXPECT_EQ(seen.icon, expected);
    }
    BoxSeen untitled;
    PressWhenShown(untitled, QMessageBox::Ok);
    p.Message("File open failed");
    EXPECT_FALSE(untitled.title.isEmpty());
}

TEST(QtPrompts, askYesNoReturnsTheButtonPressed) {
    platform::QtPrompts qt;
    for (auto [button, expected] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        BoxSeen seen;
        PressWhenShown(seen, button);
        EXPECT_EQ(
            qt.AskYesNo("The logged data has not been saved. Save it now?", "Reminder.", Icon::Question),
            expected);
        EXPECT_EQ(seen.title, "Reminder.");
    }
}

TEST(QtPrompts, withoutAnyPrinterThePrintDialogIsSkippedAndCopiesKept) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    platform::QtPrompts qt;
    int copies = 3;
    EXPECT_TRUE(qt.PrintDialog(copies));
    EXPECT_EQ(copies, 3);
    EXPECT_EQ(platform::SelectedPrinter(), nullptr);
}

}  // namespace
