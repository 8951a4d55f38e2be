#include "auxiliary/TerminalEditor.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalEnter, sendsEchoesOrRefuses) {
    // clang-format off
    const struct {
        const char* what;
        QString text;
        int caret;  // -1: at the end
        int selected;
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
        EXPECT_EQ(e.command, c.command) << c.what;
        EXPECT_EQ(e.text, c.textAfter) << c.what;
        EXPECT_EQ(e.beep, c.beep) << c.what;
        if (c.selected == 0 && !c.beep) {
            EXPECT_EQ(e.caret, e.text.size()) << c.what;
        }
    }
}

TEST(TerminalText, longTextIsHalvedToALineBeginningAndBreaksCountTwice) {
    QString text;
    while (text.size() < 9000) text += "SP\n\t*0.001234\n";
    QString cut = CutTerminalText(text);
    EXPECT_LE(cut.size(), 4500);
    EXPECT_GT(cut.size(), 4000);
    EXPECT_TRUE(text.endsWith(cut));
    EXPECT_TRUE(cut.startsWith("SP\n") || cut.startsWith("\t*"));
    EXPECT_EQ(text.at(text.size() - cut.size() - 1), QChar('\n'));
    // Line breaks count as CR LF: 2699 one-character lines make 8097 characters.
    QString over = QString("x\n").repeated(2699);
    EXPECT_NE(CutTerminalText(over), over);
    QString under = QString("x\n").repeated(2698);  // 8094
    EXPECT_EQ(CutTerminalText(under), under);
}

}  // namespace
