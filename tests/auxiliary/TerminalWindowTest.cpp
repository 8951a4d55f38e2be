#include "auxiliary/TerminalWindow.h"
#include "link/LinkHarness.h"

#include <QTest>

namespace {

// The terminal on a connected in-memory meter; keys go in through QTest.
class TerminalWindowTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ASSERT_TRUE(ConnectTo({}));
        App().ActiveMode = ModeTerminal;
        modes[ModeTerminal].Entry = [this](int op, QString& t) { term.Terminal(op, t); };
        QString none;
        term.Terminal(-1, none);
    }
    // Lets the meter answer: time passes until the terminal takes keys again.
    void AwaitReply() {
        for (int i = 0; i < 2000 && !Link().TerminalReady; ++i) Tick();
    }
    void Type(const QString& text) { QTest::keyClicks(term.Text1, text); }
    void Enter() { QTest::keyClick(term.Text1, Qt::Key_Return); }
    QString Text() const { return term.Text1->toPlainText(); }

    TerminalWindow term;
};

// The line rules are pinned in TerminalEditorTest; these show the window
// sending through the link and taking its replies.
TEST_F(TerminalWindowTest, commandIsSentItsReplyShownAfterATabAndKeysWaitForIt) {
    Type("VE");
    Enter();
    EXPECT_TRUE(port->Written().endsWith("$VE\r"));
    EXPECT_DOUBLE_EQ(Link().ReplyTimeout, 7.0);
    EXPECT_FALSE(Link().TerminalReady);
    AwaitReply();
    EXPECT_TRUE(Link().TerminalReady);
    EXPECT_EQ(Text(), "VE\n\t*329\n");
    Enter();  // the empty line repeats it
    AwaitReply();
    EXPECT_EQ(Text(), "VE\n\t*329\nVE\n\t*329\n");
    EXPECT_EQ(meter->CommandsReceived().count("VE"), 3);  // the probe's, then two

    // Keys wait for the reply, except Escape.
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

}  // namespace
