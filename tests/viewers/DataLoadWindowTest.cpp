#include "state/AppState.h"
#include "support/ProgramState.h"
#include "viewers/LoadingWindow.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>

TEST(DataLoadWindow, placedAThirdAcrossAndHalfWayDownTheMainWindow) {
    EXPECT_EQ(DataLoadPlacement({900, 640}, {420, 130}), QPoint(160, 255));
    EXPECT_EQ(DataLoadPlacement({300, 100}, {420, 130}), QPoint(0, 0));
}

TEST(DataLoadWindow, cancelAndCloseAbortTheSourcesTransferAndLeaveTheMode) {
    FreshProgramState();
    std::vector<int16_t> modes;
    App().Shell.SwitchMode = [&](int16_t m) { modes.push_back(m); };
    for (const bool byClose : {false, true}) {
        for (const int16_t source : {1, 2, 3, 4, 5}) {
            std::vector<int16_t> cancelled;
            for (int16_t s = 1; s <= 5; ++s)
                SetDataLoadCancel(s, [&cancelled, s] { cancelled.push_back(s); });
            modes.clear();
            DataLoadFormShow(source, "40 data points", "Collecting Logged Data from the TALON");
            LoadingWindow& f = SharedLoadingWindow();
            EXPECT_EQ(f.windowTitle(), "40 data points");
            EXPECT_EQ(f.lblDataLogTitle->text(), "Collecting Logged Data from the TALON");
            ASSERT_TRUE(f.isVisible());
            if (byClose)
                f.close();
            else
                f.butCancel->click();
            EXPECT_EQ(cancelled, std::vector<int16_t>{source});
            EXPECT_EQ(modes, std::vector<int16_t>{ModeNone});
            EXPECT_FALSE(f.isVisible());
            EXPECT_EQ(f.windowTitle(), "");
            EXPECT_EQ(f.lblDataLogTitle->text(), "");
            DataLoadCancel();  // nothing is running now
            EXPECT_EQ(cancelled.size(), 1u);
        }
    }
    for (int16_t s = 1; s <= 5; ++s) SetDataLoadCancel(s, {});
}

TEST(DataLoadWindow, progressBarRepaintsOnlyWhenItsWidthChangesAndStopsAtFullWidth) {
    DataLoadFormShow(kSourcePcFile, "a.pwr", "Loading Data Stored in PC File");
    ProgressBox& box = *SharedLoadingWindow().Picture1;
    ProgressRecord r;
    r.Fraction = 0;
    DrawProgress(-1, r);
    EXPECT_TRUE(box.isVisible());
    const int width = box.width();
    ASSERT_GT(width, 100);
    const int before = box.Repaints();
    for (int n = 1; n <= 100000; ++n) {
        r.Fraction = float(n) / 100000;
        DrawProgress(0, r);
        if (n == 50000) {
            EXPECT_EQ(box.DrawnWidth(), width / 2);
        }
    }
    EXPECT_EQ(box.Repaints() - before, width) << "one repaint per pixel column, not per line";
    r.Fraction = 1.7f;
    DrawProgress(0, r);
    EXPECT_EQ(box.DrawnWidth(), width);
    DrawProgress(1, r);
    EXPECT_FALSE(box.isVisible());
    DataLoadFormHide();
}
