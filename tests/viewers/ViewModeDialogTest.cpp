#include "state/AppState.h"
#include "support/Screenshot.h"
#include "viewers/frmViewModeDialog.h"

#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// Runs `act` on the view-mode dialog once it is shown modally.
int16_t AnswerViewMode(int16_t kind, const QString& title, std::function<void(frmViewModeDialog&)> act) {
    QTimer::singleShot(0, [act] { act(ViewModeDialog()); });
    return GetDualViewMode(kind, title);
}

}  // namespace

TEST(ViewModeDialog, showsTheDualChannelChoicesWithDifferenceForPowerOnly) {
    ResetAppState();
    QString label, caption;
    std::array<QString, 4> texts;
    bool modal = false;
    for (const int16_t kind : {0, 2}) {
        AnswerViewMode(kind, kind == 0 ? "run7.dpw" : "Meridel File", [&](frmViewModeDialog& d) {
            modal = d.isModal() && d.isVisible();
            caption = d.windowTitle();
            label = d.Label1->text();
            for (size_t i = 0; i < 4; ++i)
                texts[i] = d.optViewMode[i]->isVisible() ? d.optViewMode[i]->text() : "";
            if (kind == 0) SaveScreenshot(&d, "view_mode_dialog_power");
            d.butOK->click();
        });
        EXPECT_TRUE(modal);
        EXPECT_EQ(ViewModeDialog().Frame1->title(), "Specify a view mode");
        if (kind == 0) {
            EXPECT_EQ(caption, "run7.dpw");
            EXPECT_EQ(label, "This is a dual-channel Power data-file.");
            EXPECT_EQ(texts, (std::array<QString, 4>{"Channel \"&A\" only", "Channel \"&B\" only",
                                                     "&Ratio \"A\" && \"B\"", "&Difference \"A\" && \"B\""}));
        } else {
            EXPECT_EQ(caption, "Meridel File");
            EXPECT_EQ(label, "This is a dual-channel Energy data-file.");
            EXPECT_EQ(texts[3], "") << "no difference of energies";
        }
    }
}

TEST(ViewModeDialog, preselectsTheLastChoiceAndAnswersWhatIsChosen) {
    struct Case {
        int16_t before, kind;
        int pressed;  // option clicked before OK, -1 none; -2 Cancel
        int16_t preselected, answer;
    } cases[] = {
        {-1, 0, -1, 0, 0},  // after a cancel the first option
        {2, 0, -1, 2, 2},  {3, 0, 1, 3, 1},
        {1, 1, 2, 1, 2},   {3, 2, -1, 0, 0},  // the difference is not offered for energy: channel A instead
        {2, 0, -2, 2, -1},
    };
    for (const Case& c : cases) {
        ResetAppState();
        App().DualViewMode = c.before;
        int16_t preselected = -9;
        const int16_t answer = AnswerViewMode(c.kind, "f", [&](frmViewModeDialog& d) {
            preselected = d.SelectedMode();
            if (c.pressed >= 0) d.optViewMode[size_t(c.pressed)]->click();
            (c.pressed == -2 ? d.butCancel : d.butOK)->click();
        });
        EXPECT_EQ(preselected, c.preselected) << c.before << " kind " << c.kind;
        EXPECT_EQ(answer, c.answer) << c.before << " kind " << c.kind;
        EXPECT_EQ(App().DualViewMode, c.answer);
        EXPECT_FALSE(ViewModeDialog().isVisible());
    }
}
