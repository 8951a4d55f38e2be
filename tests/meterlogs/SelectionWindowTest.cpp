#include "MeterLogHarness.h"
#include "meterlogs/MeterLogList.h"
#include "support/ProgramState.h"
#include "support/Screenshot.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Each way out of the selection window: the second file, or leaving the view.
TEST_F(MeterLogTest, selectionWindowOpensTheChosenFileOrLeavesTheView) {
    UseChunks();
    const QStringList lines{"Temp      25", "3         12.5"};
    using W = MeterLogList&;
    // clang-format off
    const struct { int16_t device; QString caption; std::function<void(W)> act; bool opens; } cases[] = {
        {2, "Meridel", [](W w) { w.butOpen->click(); }, true},
        {3, "Talon2", [](W w) { QTest::keyClick(w.LogFilesList, Qt::Key_Return); }, true},
        {8, "Sirka", [](W w) { emit w.LogFilesList->itemDoubleClicked(w.LogFilesList->currentItem()); }, true},
        {1, "Meridel", [](W w) { w.butCancel->click(); }, false},
        {3, "Talon2", [](W w) { QTest::keyClick(&w, Qt::Key_Escape); }, false},
        {8, "Sirka", [](W w) { w.close(); }, false}};
    // clang-format on
    for (const auto& c : cases) {
        chunks.written.clear();
        switchedTo.clear();
        TestMeter().DeviceType = MeterModel(c.device);
        Transfer().LogList[0] = lines[0];
        Transfer().LogList[3] = lines[1];
        Transfer().RetrieveStep = 4;
        MeterLogList w;
        QString seen;
        QTimer::singleShot(0, &w, [&] {
            seen = w.windowTitle() + "|" + w.List1->item(0)->text();
            w.LogFilesList->setCurrentRow(1);
            SaveScreenshot(&w, "meterlogs-selection");
            c.act(w);
        });
        w.GetFileInx(lines);
        EXPECT_EQ(seen, c.caption +
                            " Log File Selection|Name      Size           Type                Head       "
                            "                   S/N                 ");
        EXPECT_EQ(chunks.written, c.opens ? "$LF  3\r" : "");
        EXPECT_EQ(switchedTo, c.opens ? std::vector<int16_t>{} : std::vector<int16_t>{ModeNone});
    }
}
