#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/Screenshot.h"
#include "viewers/ViewModeDialog.h"

#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

TEST(ViewModeDialog, offersTheDualChoicesPreselectsTheLastAndAnswersWhatIsChosen) {
    const QString power = "This is a dual-channel Power data-file.";
    const QString energy = "This is a dual-channel Energy data-file.";
    struct Case {
        int16_t before, kind;
        int pressed;  // option clicked before OK, -1 none; -2 Cancel
        int16_t preselected, answer;
        QString label;
    } cases[] = {
        {-1, 0, -1, 0, 0, power},  // after a cancel the first option
        {2, 0, -1, 2, 2, power},  {3, 0, 1, 3, 1, power}, {1, 1, 2, 1, 2, energy},
        {3, 2, -1, 0, 0, energy},  // the difference is not offered for energy: channel A instead
        {2, 0, -2, 2, -1, power},
    };
    for (const Case& c : cases) {
        FreshProgramState();
        SetViewModeAnswer([&c](int16_t, const QString&) { return c.before; });
        GetDualViewMode(0, "before");  // the answer the dialog remembers
        SetViewModeAnswer({});
        int16_t preselected = -9;
        bool modal = false;
        QStringList shown;
        QTimer::singleShot(0, [&] {
            ViewModeDialog& d = SharedViewModeDialog();
            modal = d.isModal() && d.isVisible();
            shown << d.windowTitle() << d.Label1->text() << d.Frame1->title();
            for (QRadioButton* o : d.optViewMode)
                if (o->isVisible()) shown << o->text();
            preselected = d.SelectedMode();
            if (c.kind == 0) SaveScreenshot(&d, "view-mode-dialog-power");
            if (c.pressed >= 0) d.optViewMode[size_t(c.pressed)]->click();
            (c.pressed == -2 ? d.butCancel : d.butOK)->click();
        });
        const int16_t answer = GetDualViewMode(c.kind, "run7.dpw");
        const QString expected =
            "run7.dpw|" + c.label +
            "|Specify a view mode|Channel \"&A\" only|Channel \"&B\" only|&Ratio \"A\" && \"B\"" +
            (c.kind == 0 ? "|&Difference \"A\" && \"B\"" : "");
        EXPECT_TRUE(modal);
        EXPECT_EQ(shown.join('|'), expected);
        EXPECT_EQ(preselected, c.preselected) << c.before << " kind " << c.kind;
        EXPECT_EQ(answer, c.answer) << c.before << " kind " << c.kind;
        EXPECT_EQ(LastDualViewMode(), c.answer);
        EXPECT_FALSE(SharedViewModeDialog().isVisible());
    }
}
