#include "platform/QtPrompts.h"
#include "support/ScriptedPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTimer>
#include <gtest/gtest.h>

using platform::DialogFilters;
using platform::FilterIndex;
using platform::Icon;
using platform::QtPrompts;

namespace {

TEST(DialogFilters, translatesPairsIntoQtFilters) {
    const struct {
        const char* name;
        const char* in;
        QStringList out;
    } cases[] = {
        {"two pairs", "Power data|*.pwr|Energy data|*.nrg", {"Power data (*.pwr)", "Energy data (*.nrg)"}},
        {"pattern already shown", "Power data (*.pwr)|*.pwr", {"Power data (*.pwr)"}},
        {"several patterns", "Data|*.pwr;*.nrg", {"Data (*.pwr *.nrg)"}},
        {"all files", "All files|*.*", {"All files (*.*)"}},
        {"missing pattern of last pair dropped", "Power data|*.pwr|Other", {"Power data (*.pwr)"}},
        {"empty pattern means everything", "Any|", {"Any (*)"}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(DialogFilters(c.in), c.out) << c.name;
}

TEST(DialogFilters, chosenFilterMapsBackToItsOneBasedIndex) {
    const QStringList f = DialogFilters("Power|*.pwr|Energy|*.nrg|Dual power|*.dpw");
    EXPECT_EQ(FilterIndex(f, "Power (*.pwr)"), 1);
    EXPECT_EQ(FilterIndex(f, "Dual power (*.dpw)"), 3);
    EXPECT_EQ(FilterIndex(f, "Something else"), 1);
}

// Acts on the message box once it is up: records it and presses `button`.
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
    QtPrompts qt;
    platform::Prompts& p = qt;
    const struct {
        Icon icon;
        QMessageBox::Icon expected;
    } cases[] = {
        {Icon::None, QMessageBox::NoIcon},           {Icon::Information, QMessageBox::Information},
        {Icon::Exclamation, QMessageBox::Warning},   {Icon::Critical, QMessageBox::Critical},
        {Icon::Question, QMessageBox::Question},
    };
    for (const auto& c : cases) {
        BoxSeen seen;
        PressWhenShown(seen, QMessageBox::Ok);
        p.Message("Log file save failed.", "Kelvaro32 title", c.icon);
        EXPECT_EQ(seen.text, "Log file save failed.");
        EXPECT_EQ(seen.title, "Kelvaro32 title");
        EXPECT_EQ(seen.icon, c.expected);
    }
}

TEST(QtPrompts, messageWithoutTitleCarriesTheProgramName) {
    QtPrompts qt;
    platform::Prompts& p = qt;
    BoxSeen seen;
    PressWhenShown(seen, QMessageBox::Ok);
    p.Message("File open failed");
    EXPECT_FALSE(seen.title.isEmpty());
}

TEST(QtPrompts, askYesNoReturnsTheButtonPressed) {
    QtPrompts qt;
    platform::Prompts& p = qt;
    for (auto [button, expected] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        BoxSeen seen;
        PressWhenShown(seen, button);
        EXPECT_EQ(p.AskYesNo("The logged data has not been saved. Save it now?", "Reminder."), expected);
        EXPECT_EQ(seen.title, "Reminder.");
        EXPECT_EQ(seen.icon, QMessageBox::Question);
    }
}

TEST(QtPrompts, busyPointerIsSetOnceAndRestoredOnce) {
    QtPrompts qt;
    platform::Prompts& p = qt;
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    p.SetBusy(true);
    p.SetBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    p.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    p.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtPrompts, withoutAnyPrinterThePrintDialogIsSkippedAndCopiesKept) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    QtPrompts qt;
    platform::Prompts& p = qt;
    int copies = 3;
    EXPECT_TRUE(p.PrintDialog(copies));
    EXPECT_EQ(copies, 3);
    EXPECT_TRUE(p.PrinterSetupDialog());
    EXPECT_EQ(platform::SelectedPrinter(), nullptr);
}

TEST(PromptsSeam, anInstalledDoubleIsUsedUntilItIsRemoved) {
    platform::Prompts* qt = &platform::prompts();
    {
        ScriptedPrompts scripted;
        platform::prompts().Message("hello");
        EXPECT_EQ(&platform::prompts(), &scripted);
        EXPECT_EQ(scripted.Texts(), QStringList{"hello"});
    }
    EXPECT_EQ(&platform::prompts(), qt);
}

}  // namespace
