#include "MeterLogHarness.h"
#include "meterlogs/frmLSfilesList.h"
#include "support/Screenshot.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Each way out of the selection window: the second file or no file at all.
TEST_F(MeterLogTest, selectionWindowOpensTheChosenFileOrLeavesTheView) {
    UseChunks();
    const QString temp = SelectionLine({"Temp", "25", "Power", "3A", "123456"});
    const QString third = SelectionLine({"3", "12.5", "Energy", "Dual-Channel", "---"});
    using Act = std::function<void(frmLSfilesList&)>;
    const Act enter = [](frmLSfilesList& w) { QTest::keyClick(w.LogFilesList, Qt::Key_Return); };
    const Act doubleClick = [](frmLSfilesList& w) {
        emit w.LogFilesList->itemDoubleClicked(w.LogFilesList->currentItem());
    };
    const struct {
        int16_t device;
        QString caption;
        Act act;
        QByteArray sent;  // empty: the view is left
    } cases[] = {
        {2, "Meridel Log File Selection", [](frmLSfilesList& w) { w.butOpen->click(); }, "$LF  3\r"},
        {3, "Talon2 Log File Selection", enter, "$LF  3\r"},
        {8, "Sirka Log File Selection", doubleClick, "$LF  3\r"},
        {1, "Meridel Log File Selection", [](frmLSfilesList& w) { w.butCancel->click(); }, ""},
        {3, "Talon2 Log File Selection", [](frmLSfilesList& w) { QTest::keyClick(&w, Qt::Key_Escape); }, ""},
        {8, "Sirka Log File Selection", [](frmLSfilesList& w) { w.close(); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        chunks.written.clear();
        switchedTo.clear();
        App().DeviceType = c.device;
        Transfer().LogList[0] = temp;
        Transfer().LogList[3] = third;
        Transfer().RetrieveStep = 4;
        frmLSfilesList w;
        QString caption, heading;
        QTimer::singleShot(0, &w, [&] {
            caption = w.windowTitle();
            heading = w.List1->item(0)->text();
            w.LogFilesList->setCurrentRow(1);
            SaveScreenshot(&w, "meterlogs-selection");
            c.act(w);
        });
        w.GetFileInx({temp, third});
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(heading,
                  "Name      Size           Type                Head                          S/N            "
                  "     ");
        EXPECT_EQ(chunks.written, c.sent);
        EXPECT_EQ(switchedTo, c.sent.isEmpty() ? std::vector<int16_t>{ModeNone} : std::vector<int16_t>{});
    }
}
