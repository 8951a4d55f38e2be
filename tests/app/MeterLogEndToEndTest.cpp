// Device-file view over a pseudo-terminal to the simulator program: Mode >
// Show Device-File, a file picked in the selection window, the viewer fed,
// File > Save. Until the viewers are on main, recording viewers stand in.

#include "EndToEnd.h"
#include "meterlogs/MeterLogHarness.h"
#include "meterlogs/frmLSfilesList.h"
#include "support/Screenshot.h"
#include "viewers/frmDataLoad.h"

#include <QListWidget>
#include <QTimer>

namespace {

QVector<int> StoredReadings() {
    QVector<int> m;
    for (int i = 0; i < 300; ++i) m << 100 + (i * 7) % 900;
    return m;
}

QString ValuesOption(const QVector<int>& m) {
    QStringList words;
    for (int v : m) words << QString::number(v);
    return "file=3,unit=mW,values=" + words.join(':');
}

struct MeterLogEndToEndTest : EndToEndTest {
    MeterLogEndToEndTest()
        : EndToEndTest({"--model", "meridel1", "--log", "file=0,values=5:6", "--log",
                        ValuesOption(StoredReadings()), "--exit-when-idle", "30"}) {}
};

TEST_F(MeterLogEndToEndTest, aPickedFileIsShownAndSavedWithTheMetersReadings) {
    ASSERT_TRUE(StartConnected("mnuMode_Log")) << Log();
    RecordingViewer viewer(ViewPower);
    SetViewerFactory(ViewPower, [&] { return &viewer; });
    const std::unique_ptr<void, void (*)(void*)> forget(&viewer, [](void*) { ForgetViewers(); });
    // The user picks the second line; the loading window is caught half way.
    QString picked, loadCaption;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* list = form->findChild<frmLSfilesList*>();
        if (list && list->isVisible()) {
            list->LogFilesList->setCurrentRow(1);
            picked = list->LogFilesList->currentItem()->text();
            list->butOpen->click();
        }
        if (DataLoadShowing() && loadCaption.isEmpty() && DataLoadForm().Picture1->DrawnWidth() > 100) {
            loadCaption = DataLoadForm().windowTitle();
            SaveScreenshot(&DataLoadForm(), "meterlogs-loading");
        }
    });
    user.start(5);
    form->action("mnuMode_Log")->trigger();
    ASSERT_TRUE(RunUntil([&] { return viewer.shows == 1; }, 20000)) << Log();
    EXPECT_TRUE(picked.startsWith("3         300            Power")) << picked.toStdString();
    EXPECT_EQ(loadCaption, "Channel 'A'. Head type: 3A: s/n: 123456");
    EXPECT_EQ(viewer.title, "File 3; Head: 3A; s/n: 123456");
    EXPECT_FALSE(DataLoadShowing());
    EXPECT_TRUE(form->mnuConnect->isEnabled());

    const QStringList saved = QString::fromLatin1(Save("log.pwr")).split("\r\n", Qt::SkipEmptyParts);
    const QVector<int> stored = StoredReadings();
    ASSERT_EQ(saved.size(), stored.size());
    for (qsizetype i = 0; i < saved.size(); ++i)
        ASSERT_FLOAT_EQ(saved[i].section(' ', 0, 0).toFloat(), stored[i] * 1e-3f) << "line " << i + 1;
    EXPECT_TRUE(prompts.Texts().isEmpty()) << Log();
}

}  // namespace
