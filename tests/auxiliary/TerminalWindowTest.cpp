#include "auxiliary/frmTerminal.h"
#include "link/Link.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/AppState.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QTest>

namespace {

// The terminal on a connected in-memory meter; keys go in through QTest.
class TerminalWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ResetLinkState();
        SetPause([this](double s) { clock.Advance(s); });
        platform::setSerialPort(&port);
        ASSERT_TRUE(OpenCommPort(port, 1));
        App().Connected = true;
        App().Shell.ProcessEvents = [this] { Tick(); };
        App().Shell.SwitchMode = [this](int16_t m) { switchedTo.push_back(m); };
        App().ActiveMode = ModeTerminal;
        App().Shell.ModeEntry[ModeTerminal] = [this](int op, QString& t) { term.Terminal(op, t); };
        QString none;
        term.Terminal(-1, none);
    }
    void TearDown() override {
        platform::setSerialPort(nullptr);
        SetPause({});
        ResetAppState();
        ResetLinkState();
    }
    void Tick() {
        clock.Advance(0.01);
        port.Pump();
        Timer2_Timer();
    }
    // Lets the meter answer: time passes until the terminal takes keys again.
    void AwaitReply() {
        for (int i = 0; i < 2000 && !Link().TerminalReady; ++i) Tick();
    }
    void Type(const QString& text) { QTest::keyClicks(term.Text1, text); }
    void Enter() { QTest::keyClick(term.Text1, Qt::Key_Return); }
    QString Text() const { return term.Text1->toPlainText(); }

    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    sim::Meter meter;
    sim::SimSerialPort port{meter, [this](double s) { clock.Advance(s); }};
    frmTerminal term;
    std::vector<int16_t> switchedTo;
};

TEST_F(TerminalWindowTest, commandIsSentAndItsReplyShownAfterATab) {
    Type("VE");
    Enter();
    EXPECT_TRUE(port.Written().endsWith("$VE\r"));
    EXPECT_FALSE(Link().TerminalReady);
    AwaitReply();
    EXPECT_TRUE(Link().TerminalReady);
    EXPECT_EQ(Text(), "VE\n\t" + Link().VersionReply.prepend('*') + "\n");
}

TEST_F(TerminalWindowTest, enterOnTheEmptyLineRepeatsTheLastCommand) {
    Type("SP");
    Enter();
    AwaitReply();
    const int sent = meter.CommandsReceived().count("SP");
    Enter();
    AwaitReply();
    EXPECT_EQ(meter.CommandsReceived().count("SP"), sent + 1);
    EXPECT_EQ(Text().count("SP\n"), 2) << "the repeat is echoed";
}

TEST_F(TerminalWindowTest, keysWaitForTheReplyExceptEscape) {
    Type("SP");
    Enter();
    Type("XYZ");  // reply still outstanding
    EXPECT_FALSE(Text().contains("XYZ"));
    AwaitReply();
    Type("AB");
    EXPECT_TRUE(Text().endsWith("AB"));
    QTest::keyClick(term.Text1, Qt::Key_Escape);
    EXPECT_EQ(switchedTo, std::vector<int16_t>{ModeNone});
    EXPECT_TRUE(Text().isEmpty());
}

TEST_F(TerminalWindowTest, earlierLinesAreResentButRepliesBeep) {
    Type("VE");
    Enter();
    AwaitReply();
    QTextCursor c = term.Text1->textCursor();
    c.setPosition(1);  // inside "VE"
    term.Text1->setTextCursor(c);
    Enter();
    EXPECT_TRUE(Text().endsWith("VE\n"));
    AwaitReply();
    c = term.Text1->textCursor();
    c.setPosition(4);  // inside the reply line
    term.Text1->setTextCursor(c);
    const int beeps = prompts.beeps;
    const int sent = meter.CommandsReceived().size();
    Enter();
    EXPECT_EQ(prompts.beeps, beeps + 1);
    EXPECT_EQ(meter.CommandsReceived().size(), sent);
}

TEST_F(TerminalWindowTest, silentMeterGivesUpAndTypingResumes) {
    meter.Config().faults.silent = true;
    Type("SP");
    Enter();
    AwaitReply();
    EXPECT_TRUE(Link().TerminalReady);
    EXPECT_TRUE(prompts.Texts().contains("Timeout! Connection Lost!"));
}

}  // namespace
