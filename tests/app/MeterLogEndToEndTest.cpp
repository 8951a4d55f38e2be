// Mode > Show Device-File over a pseudo-terminal to the simulator program, as
// a user does: a file picked in the selection window (and, for a two-channel
// log, "Ratio" in the view-mode dialog) is shown by the program's own viewer,
// and File > Save writes the meter's readings.

#include "EndToEnd.h"
#include "meterlogs/MeterLogList.h"
#include "support/Screenshot.h"
#include "viewers/LoadingWindow.h"
#include "viewers/PowerViewer.h"
#include "viewers/ViewModeDialog.h"

#include <QListWidget>
#include <QRadioButton>
#include <QTimer>
#include <cmath>

namespace {

// 150 readings a channel, alternating A, B: A a slow wave, B a small
// sawtooth, so that their ratio draws a curve.
const QString kDual = [] {
    QStringList m;
    for (int i = 0; i < 150; ++i)
        m << QString::number(600 + std::lround(300 * std::sin(i / 12.0)))
          << QString::number(480 + (i * 7) % 40);
    return "values=" + m.join(':');
}();

// Files 0 and 3 single-channel at 1 s; file 4 two-channel at 0.5 s with
// channel A one decade above channel B.
struct MeterLogEndToEndTest : EndToEndTest {
    MeterLogEndToEndTest()
        : EndToEndTest(
              {"--model", "meridel2", "--log", "file=0,values=5:6", "--log", "file=3,count=300", "--log",
               "file=4,dual,exp=1,expb=0,interval=15,heada=XLP12,seriala=4711,headb=UP19,serialb=815," +
                   kDual,
               "--exit-when-idle", "30"}) {}
};

TEST_F(MeterLogEndToEndTest, aPickedFileIsShownByItsViewerAndSavedWithTheMetersReadings) {
    // The line picked in the selection window, the option of the view-mode dialog (-1: not asked), the
    // window that shows the log, its ViewerKind and caption, and screenshots of the loading window and
    // the viewer.
    const struct {
        int pick, viewMode;
        const char* viewer;
        int kind;
        const char *caption, *loadShot, *viewShot;
    } rows[] = {
        {1, -1, "PowerViewer", 0, "Power Data - File 3; Head: 3A; s/n: 123456", "meterlogs-loading", nullptr},
        {2, 2, "PowerRatioViewer", 1,
         "Power Ratio - File 4; Head A: XLP12; s/n: 4711; Head B: UP19; s/n: 815", nullptr,
         "meterlogs-dual-ratio-viewer"},
    };
    ASSERT_TRUE(StartConnected("mnuMode_Log")) << Log();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.viewer);
        bool halfWay = false, asked = false;
        QTimer user;  // picks the file, answers the view mode, looks at the loading window half way
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* list = form->findChild<MeterLogList*>();
            if (list && list->isVisible()) {
                list->LogFilesList->setCurrentRow(r.pick);
                list->butOpen->click();
            }
            ViewModeDialog& dialog = SharedViewModeDialog();
            if (dialog.isVisible()) {
                asked = true;
                dialog.optViewMode[size_t(r.viewMode)]->setChecked(true);
                dialog.butOK->click();
            }
            if (DataLoadShowing() && SharedLoadingWindow().Picture1->DrawnWidth() > 100) {
                halfWay = true;
                if (r.loadShot) {
                    EXPECT_FALSE(SaveScreenshot(&SharedLoadingWindow(), r.loadShot).isEmpty());
                }
            }
        });
        user.start(5);
        form->action("mnuMode_Log")->trigger();
        auto* viewer = form->findChild<PowerViewer*>(r.viewer);
        ASSERT_TRUE(RunUntil(
            [&] { return (viewer = form->findChild<PowerViewer*>(r.viewer)) && viewer->isVisible(); }, 20000))
            << Log();
        user.stop();
        EXPECT_EQ(std::tuple(viewer->windowTitle(), App().ViewerKind, asked),
                  std::tuple(QString(r.caption), r.kind, r.viewMode >= 0));
        EXPECT_TRUE(halfWay);  // the bar was seen part filled
        EXPECT_TRUE(!DataLoadShowing() && form->mnuConnect->isEnabled());
        if (r.viewShot) {
            EXPECT_FALSE(SaveScreenshot(viewer, r.viewShot).isEmpty());
        }

        // Reading = mantissa × 10^(exponent code − 3), a two-channel log's A and B in turn, one
        // line each interval, and the heads the header names: pinned by the meter-log and viewer
        // tests; here the viewer's file holds them all.
        const bool dual = r.viewMode >= 0;
        const auto data = ReadDataFile(Save(QString(r.viewer) + ".pwr"), true, dual).second;
        EXPECT_EQ(data.size(), dual ? 150u : 300u);
    }
    EXPECT_TRUE(prompts.Texts().isEmpty()) << Log();
}

}  // namespace
