// A logged power run saved, opened again as a PC file and saved from the
// viewer: the program as a user drives it, on the simulator over a
// pseudo-terminal.

#include "EndToEnd.h"
#include "viewers/PowerViewer.h"

namespace {

struct ViewerEndToEndTest : EndToEndTest {
    ViewerEndToEndTest() : EndToEndTest(kScatteringThermopile) {}
};

TEST_F(ViewerEndToEndTest, savedRunOpensInThePowerViewerAndSavesAgainUnchanged) {
    ASSERT_TRUE(StartConnected("mnuMode_Power")) << Log();
    form->mnuLogFile_Off->trigger();
    PowerWindow* logger = StartPowerLogging();
    ASSERT_NE(logger, nullptr);
    RunUntil([] { return false; }, 1000);
    logger->butStartStop->click();
    RunUntil([] { return false; }, 100);  // the reply still on its way is ignored
    const QStringList logged = QString::fromLatin1(Save("run.pwr")).split("\r\n");
    ASSERT_GE(logged.size(), 50);  // header, readings, and the empty rest after the last CR LF

    ASSERT_TRUE(form->action("mnuFile_Open")->isEnabled());
    prompts.fileAnswers.push_back(dir.Path("run.pwr"));
    form->action("mnuFile_Open")->trigger();
    auto* viewer = form->findChild<PowerViewer*>("PowerViewer");
    ASSERT_NE(viewer, nullptr) << Log();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Data.Count(), logged.size() - 2);
    EXPECT_EQ(viewer->windowTitle(), "Power Data - " + dir.Path("run.pwr") + "; Head: XLP12; s/n4711");

    const QStringList saved = QString::fromLatin1(Save("again.pwr")).split("\r\n");
    // The viewer's header takes the caption from its "Head", without the blank the logger writes.
    EXPECT_EQ(saved.first(), "Power, in Watts \t Time, in Seconds \tHead: XLP12; s/n4711");
    EXPECT_EQ(saved.mid(1), logged.mid(1));
    EXPECT_TRUE(prompts.Texts().isEmpty()) << Log();
}

}  // namespace
