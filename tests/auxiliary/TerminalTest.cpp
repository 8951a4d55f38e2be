#include "auxiliary/TerminalEditor.h"
#include "auxiliary/TerminalWindow.h"
#include "link/LinkHarness.h"

#include <gtest/gtest.h>
#include <QTest>

namespace {

TEST(TerminalEnter, sendsEchoesOrRefuses) {
    // clang-format off
    const struct {
        const char* what;
        QString text;
        int caret, selected;  // caret -1: at the end
        QString last, command, textAfter;
        bool beep;
    } cases[] = {
        {"typed command", "VE", -1, 0, "", "VE", "VE\n", false},
        {"typed after a reply", "VE\n\t*1.23\nSP", -1, 0, "VE", "SP", "VE\n\t*1.23\nSP\n", false},
        {"empty line repeats the last", "VE\n\t*1.23\n", -1, 0, "VE", "VE", "VE\n\t*1.23\nVE\n", false},
        {"empty text sends nothing", "", -1, 0, "VE", "", "", false},
        {"earlier line sent and echoed", "VE\n\t*1.23\n", 1, 0, "SP", "VE", "VE\n\t*1.23\nVE\n", false},
        {"reply line beeps", "VE\n\t*1.23\n", 5, 0, "VE", "", "VE\n\t*1.23\n", true},
        {"selection beeps and sends nothing", "VE\nSP", 1, 2, "VE", "", "VE\nSP", true},
        {"empty earlier line sends nothing", "VE\n\nSP", 3, 0, "VE", "", "VE\n\nSP", false}};
    // clang-format on
    for (const auto& c : cases) {
        const int caret = c.caret < 0 ? c.text.size() : c.caret;
        const TerminalEdit e = TerminalEnter(c.text, caret, c.selected, c.last);
        EXPECT_EQ(std::tuple(e.command, e.text, e.beep), std::tuple(c.command, c.textAfter, c.beep))
            << c.what;
        EXPECT_TRUE(c.selected != 0 || c.beep || e.caret == e.text.size()) << c.what;
    }
}

TEST(TerminalText, longTextIsHalvedToALineBeginningAndBreaksCountTwice) {
    const QString text = QString("SP\n\t*0.001234\n").repeated(643);  // 9002 characters
    const QString cut = CutTerminalText(text);
    EXPECT_TRUE(cut.size() > 4000 && cut.size() <= 4500) << cut.size();
    EXPECT_TRUE(text.endsWith(cut) && text.at(text.size() - cut.size() - 1) == QChar('\n'));
    // Line breaks count as CR LF: 2698 one-character lines make 8094 characters; two more
    // stay (8096), three more are cut.
    for (const int more : {2, 3}) {
        const QString x = QString("x\n").repeated(2698) + QString(more, 'x');
        EXPECT_EQ(CutTerminalText(x) == x, more == 2) << more;
    }
}

// The terminal on a connected in-memory meter; keys go in through QTest.
class TerminalWindowTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ASSERT_TRUE(ConnectTo({}));
        App().ActiveMode = ModeTerminal;
        modes[ModeTerminal].Entry = [this](int op, QString& t) { term.Terminal(op, t); };
        TerminalMode([this]() -> TerminalWindow& { return term; }).Begin();
    }
    // Lets the meter answer: time passes until the terminal takes keys again.
    void AwaitReply() {
        for (int i = 0; i < 2000 && !Link().TerminalReady; ++i) Tick();
    }
    void Type(const QString& text, bool enter = false) {
        QTest::keyClicks(term.Text1, text);
        if (enter) QTest::keyClick(term.Text1, Qt::Key_Return);
    }
    QString Text() const { return term.Text1->toPlainText(); }

    TerminalWindow term;
};

// The line rules are pinned above; this shows the window sending through
// the link and taking its replies.
TEST_F(TerminalWindowTest, commandIsSentItsReplyShownAfterATabAndKeysWaitForIt) {
    Type("VE", true);  // sent: the meter's reply follows
    EXPECT_EQ(std::pair(Link().ReplyTimeout, Link().TerminalReady), std::pair(7.0, false));
    AwaitReply();
    EXPECT_EQ(Text(), "VE\n\t*329\n");
    Type("", true);  // the empty line repeats it
    AwaitReply();
    EXPECT_EQ(Text(), "VE\n\t*329\nVE\n\t*329\n");
    EXPECT_EQ(meter->CommandsReceived().count("VE"), 3);  // the probe's, then two

    // Keys wait for the reply, except Escape.
    Type("SP", true);
    Type("XYZ");  // reply still outstanding
    EXPECT_FALSE(Text().contains("XYZ"));
    AwaitReply();
    Type("AB");
    EXPECT_TRUE(Text().endsWith("AB"));
    QTest::keyClick(term.Text1, Qt::Key_Escape);
    EXPECT_TRUE(switchedTo == std::vector<int16_t>{ModeNone} && Text().isEmpty());
}

}  // namespace
