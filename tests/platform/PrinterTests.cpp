#include "platform/Printer.h"
#include "platform/QtPrompts.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

namespace {

class PrinterTest : public ::testing::Test {
protected:
    void TearDown() override {
        p.EndDoc();
        p.ForcePdf(QString());
        p.AssumeSystemPrinter(std::nullopt);
        p.Device().setPageOrientation(QPageLayout::Portrait);
    }
    TempDir dir;
    ScriptedPrompts prompts;
    platform::Printer& p = platform::printer();
};

}  // namespace

// A cancelled PDF name prints nothing and is no failure; an output that fails to open or take all bytes is.
TEST_F(PrinterTest, pdfNameIsAskedWithoutASystemPrinterAndFailuresAreTold) {
    p.AssumeSystemPrinter(false);
    prompts.fileAnswers = {"", dir.Path("named.pdf"), dir.Path("no/such/folder/out.pdf")};
    // clang-format off
    const struct { QString forced; bool begins, ends, failed; } cases[] = {
        {"", false, false, false}, {"", true, true, false}, {"", false, false, true}, {"/dev/full", true, false, true}};
    // clang-format on
    for (const auto& c : cases) {
        p.ForcePdf(c.forced);
        EXPECT_EQ(p.BeginDoc(), c.begins) << prompts.fileRequests.size();
        EXPECT_EQ(c.begins && p.EndDoc(), c.ends) << prompts.fileRequests.size();
        EXPECT_EQ(std::pair(p.Failed(), p.IsPrinting()), std::pair(c.failed, false))
            << prompts.fileRequests.size();
    }
    ASSERT_EQ(prompts.fileRequests.size(), 3u);
    EXPECT_EQ(prompts.fileRequests[0].filter, "PDF files (*.pdf)|*.pdf");
    EXPECT_FALSE(dir.Read("named.pdf").isEmpty());
}

// The dialog sets up the printer that prints; its page is measured in mm of the printable area.
TEST_F(PrinterTest, printerSetupDialogWorksOnThePrinterThatPrints) {
    p.AssumeSystemPrinter(true);
    QPrintDialog* dialog = nullptr;
    QTimer::singleShot(0, [&] {
        dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->printer(), &p.Device());
        EXPECT_EQ(dialog->windowTitle(), "Printer Setup");
        dialog->reject();
    });
    int copies = 1;
    platform::QtPrompts().PrintDialog(copies);
    EXPECT_NE(dialog, nullptr);

    p.ForcePdf(dir.Path("page.pdf"));
    ASSERT_TRUE(p.BeginDoc());
    EXPECT_TRUE(p.BeginDoc());  // already open: the same document
    platform::Surface& page = p.Page();
    // A4 (210 x 297) or Letter (216 x 279) less 6 mm margins.
    EXPECT_NEAR(page.ScaleWidth(), 200, 8);
    EXPECT_NEAR(page.ScaleHeight(), 280, 10);
    page.SetFontSize(10);
    EXPECT_NEAR(page.TextHeight("X"), 10 * 25.4 / 72, 2.0);  // about one line of 10 pt
    EXPECT_TRUE(p.NewPage() && p.EndDoc() && !p.IsPrinting());
    p.Device().setPageOrientation(QPageLayout::Landscape);
    p.ForcePdf(dir.Path("landscape.pdf"));
    ASSERT_TRUE(p.BeginDoc());
    EXPECT_GT(p.Page().ScaleWidth(), p.Page().ScaleHeight());
}
