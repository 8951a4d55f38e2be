#include "platform/Printer.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class PrinterTest : public ::testing::Test {
protected:
    void TearDown() override {
        platform::printer().EndDoc();
        platform::printer().ForcePdf(QString());
        platform::printer().AssumeSystemPrinter(std::nullopt);
    }
    TempDir dir;
    ScriptedPrompts prompts;
};

}  // namespace

TEST_F(PrinterTest, pageIsMeasuredInMillimetresOfThePrintableArea) {
    auto& p = platform::printer();
    p.ForcePdf(dir.Path("page.pdf"));
    ASSERT_TRUE(p.BeginDoc());
    EXPECT_TRUE(p.BeginDoc());  // already open: the same document
    platform::Surface& page = p.Page();
    // A4 (210 x 297) or Letter (216 x 279) less 6 mm margins.
    EXPECT_NEAR(page.ScaleWidth(), 200, 8);
    EXPECT_NEAR(page.ScaleHeight(), 280, 10);
    page.SetFontSize(10);
    EXPECT_NEAR(page.TextHeight("X"), 10 * 25.4 / 72, 2.0);  // about one line of 10 pt
    page.SetCurrentX(0);
    page.SetCurrentY(5);
    page.Print("Head: TH-1 12345");
    page.Box(25, 60, 150, 240, 0);
    EXPECT_TRUE(p.NewPage());
    page.Line(0, 0, 100, 100, 4);
    EXPECT_TRUE(p.EndDoc());
    EXPECT_FALSE(p.IsPrinting());
    EXPECT_TRUE(dir.Read("page.pdf").startsWith("%PDF"));
}

TEST_F(PrinterTest, unwritablePdfFailsTheDocument) {
    auto& p = platform::printer();
    p.ForcePdf(dir.Path("no/such/folder/out.pdf"));
    EXPECT_FALSE(p.BeginDoc());
    EXPECT_FALSE(p.IsPrinting());
    EXPECT_TRUE(p.LastPdf().isEmpty());
}

TEST_F(PrinterTest, pdfNameIsAskedOnlyWithoutASystemPrinter) {
    auto& p = platform::printer();
    p.AssumeSystemPrinter(false);
    prompts.fileAnswers.push_back(dir.Path("named.pdf"));
    ASSERT_TRUE(p.BeginDoc());
    EXPECT_TRUE(p.EndDoc());
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].filter, "PDF files (*.pdf)|*.pdf");
    EXPECT_EQ(p.LastPdf(), dir.Path("named.pdf"));
    EXPECT_FALSE(dir.Read("named.pdf").isEmpty());
}
