// Mode > Show Device-File over a pseudo-terminal to the simulator program: a
// file picked in the selection window feeds the viewer; File > Save writes
// its readings. Until the viewers are on main, a recording viewer stands in.

#include "EndToEnd.h"
#include "meterlogs/MeterLogHarness.h"
#include "meterlogs/frmLSfilesList.h"
#include "support/Screenshot.h"
#include "viewers/frmDataLoad.h"

#include <QListWidget>
#include <QTimer>

namespace {

const QVector<int> kStored = [] {
    QVector<int> m;
    for (int i = 0; i < 300; ++i) m << 100 + (i * 7) % 900;
    return m;
}();
const QString kValues = [] {
    QStringList words;
    for (int m : kStored) words << QString::number(m);
    return words.join(':');
}();

struct MeterLogEndToEndTest : EndToEndTest {
    MeterLogEndToEndTest()
        : EndToEndTest({"--model", "meridel1", "--log", "file=0,values=5:6", "--log",
                        "file=3,values=" + kValues, "--exit-when-idle", "30"}) {}
};

TEST_F(MeterLogEndToEndTest, aPickedFileIsShownAndSavedWithTheMetersReadings) {
    ASSERT_TRUE(StartConnected("mnuMode_Log")) << Log();
    RecordingViewer viewer(ViewPower);
    SetViewerFactory(ViewPower, [&] { return &viewer; });
    const std::unique_ptr<void, void (*)(void*)> forget(&viewer, [](void*) { ForgetViewers(); });
    bool halfWay = false;
    QTimer user;  // picks the second file; looks at the loading window half way
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* list = form->findChild<frmLSfilesList*>();
        if (list && list->isVisible()) {
            list->LogFilesList->setCurrentRow(1);
            list->butOpen->click();
        }
        if (DataLoadShowing() && DataLoadForm().Picture1->DrawnWidth() > 100)
            halfWay = !SaveScreenshot(&DataLoadForm(), "meterlogs-loading").isEmpty();
    });
    user.start(5);
    form->action("mnuMode_Log")->trigger();
    ASSERT_TRUE(RunUntil([&] { return viewer.shows == 1; }, 20000)) << Log();
    EXPECT_EQ(viewer.title, "File 3; Head: 3A; s/n: 123456");
    EXPECT_TRUE(halfWay);  // the bar was seen part filled
    EXPECT_FALSE(DataLoadShowing());
    EXPECT_TRUE(form->mnuConnect->isEnabled());

    const QStringList saved = QString::fromLatin1(Save("log.pwr")).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(saved.size(), kStored.size());
    for (qsizetype i = 0; i < saved.size(); ++i)
        ASSERT_FLOAT_EQ(saved[i].section(' ', 0, 0).toFloat(), kStored[i] * 1e-3f) << "line " << i + 1;
    EXPECT_TRUE(prompts.Texts().isEmpty()) << Log();
}

}  // namespace
