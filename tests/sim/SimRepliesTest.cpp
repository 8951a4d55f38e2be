#include "SimTestUtil.h"

// Each row: the simulator's options, then what the program sends and what
// it must read back, in the forms the program parses.
TEST(SimReplies, identificationReadingsModesRefusalsAndStoredLogs) {
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        // Identification by model, firmware and head (more heads: the link's identification tests).
        {"--model talon", "VE>*329|CH B>?|II>?|HT>*TH W"}, {"--model talon --firmware 328", "VE>*328|HT>?"},
        {"--model talon --firmware abc", "HT>?"},
        {"--model meridel1", "VE>*QZ2.45|CH B>*A|HI>*TH 01|HT>*TH W"},
        {"--model meridel1 --firmware 2.41", "HI>*TH 01|HT>?"}, {"--model meridel1 --firmware 1.85", "HI>?"},
        {"--model meridel1 --firmware 2.45 --head-a type=1,rapid", "HI>*TH 11|HT>*RP W"},
        {"--model meridel1 --firmware 1.90 --head-a type=5", "HI>*RP 11"}, {"--model talon2", "VE>*TL1.10|II>?"},
        {"--model talon2 --head-a type=5", "HT>*RP W"},
        {"--model sirka --head-a type=3,unit=A", "VE>*SK1.05|CH A>?|HT>*SI A"},
        {"--model sirka --head-a type=0", "HT>*NO"},
        {"--model korven-th", "VE>*KV1.20|II>*TH|HT>?|RB 22 1>?"},
        // The type word of the selected channel's head memory (a pyroelectric head's, and the name and
        // serial words, are shown by identifying two heads through them).
        {"--model meridel2 --head-b type=0", "CH B>*B|RB 22 1>*0000|CH C>?"},
        {"--model meridel2 --head-b type=3", "CH B>*B|RB 22 1>*4953"},
        {"--model meridel2 --head-b type=4", "CH B>*B|RB 22 1>*4A4E"},
        {"--model meridel2 --head-b type=5", "CH B>*B|RB 22 1>*4854"},
        {"--model talon", "RB 3F 2>?|RB 22 0>?|RB ZZ 1>?|RB 22>?|RB -1 1>?|RB 3F 1>*0000"},
        // A KORVEN's "HI": 5 characters of header, serial, blank, 12-character name (the
        // code of each head kind, and QX450 and UC, are shown by identifying through it).
        {"--model korven-th --head-a type=1,name=3A,serial=123456", "HI>*TH  123456 3A          "},
        // The unit of the readings in the mode, "*X" while none (lux and foot-candles: identification).
        {"--model talon2", "SI>*X|FP>*|SI>*W"},
        {"--model talon2 --head-a type=3,unit=A", "FP>*|SI>*A"},
        {"--model talon2 --head-a type=2", "FP>*|SI>*W|FE>*|SI>*J"},
        {"--model talon2 --head-a type=0", "FP>*|SI>*X"},
        // Readings, modes and refusals.
        {"--model talon --head-a type=1,over=3", "FP>*|SP>*1.234E-03|SP>*1.234E-03|SP>*OVER|SP>*1.234E-03"},
        {"--model talon --head-a type=0", "FP>*|SP>?|SE>?"}, {"--model talon", "SB>?|MD>*"},
        {"--model meridel1", "FC 3 0 0>?"}, {"--model meridel2", "FC 4 0 0>?"},
        {"--model talon2", "FE S>*|FE A>*|FE R>*|FE X>?|FP 1>?|MD>*|ZZ>?"}, {"--model korven-th", "LI>?"},
        {"--model korven-pe", "LF  0>?"},
        {"--model meridel2 --refuse HT --refuse \"CH B\"", "HT>?|CH B>?|CH  b>?|CH A>*A|SP>*1.234E-03"},
        {"--model meridel2 --head-a type=1 --head-b type=1 --strict-modes",
         "SP>?|FP>*|SP>*1.234E-03|SE>?|SB>?|FC 5 0 0>*|SB>*1.234E-03 1.234E-03"},
        // Energy: "EF" flags a new pulse once, "SE" reads it, "ER" is the
        // head's readiness after a pulse.
        {"--model meridel1 --head-a type=1,value=5e-3,rate=10,ready=0.05",
         "@100 FE>*|@100.05 EF>*0|@100.05 SE>*|@100.15 EF>*1|@100.15 SE>*5.000E-03|@100.16 EF>*0|"
         "@100.17 ER>*0|@100.21 ER>*1|@100.21 EF>*1"},
        {"--model sirka --head-a type=2,rate=0", "@10 FE>*|@1000 EF>*0|@1000 SE>*"},
        // Both channels: "N" for a channel without a new value.
        {"--model meridel2 --head-a type=1,value=1e-3 --head-b type=1,value=2e-3",
         "@0 FC 3 0 0>*|@1 SB>*1.000E-03 2.000E-03"},
        {"--model meridel2 --head-a type=1,value=1e-3,over=1 --head-b type=1,value=2e-3",
         "@0 FC 3 0 0>*|@1 SB>*OVER 2.000E-03"},
        {"--model meridel2 --head-a type=1,value=1e-3", "@0 FC 5 0 0>*|@1 SB>*1.000E-03 N"},
        {"--model meridel2 --head-a type=2,value=1e-3,rate=10 --head-b type=2,value=2e-3,rate=4",
         "@0 FC 3 1 1>*|@0.05 SB>*N N|@0.15 SB>*1.000E-03 N|@0.3 SB>*1.000E-03 2.000E-03|@0.32 SB>*N N"},
        // A delayed channel's pulse comes in a reply of its own.
        {"--model meridel2 --head-a type=2,value=1e-3,rate=10 --head-b type=2,value=2e-3,rate=10,delay=0.05",
         "@0 FC 3 1 1>*|@0.12 SB>*1.000E-03 N|@0.13 SB>*N N|@0.16 SB>*N 2.000E-03"},
        // Stored logs listed, described and read in blocks.
        {"--model meridel1 --log file=0,count=25 --log file=3,count=7",
         "LF  0>*0: 25|LF  1>*1: 0|LF  3>*3: 7|LF  10>*10: 0|LF  11>?"},
        // Fields 8 and 11 are 12 characters wide and may hold blanks.
        {"--model meridel2 --log \"file=2,unit=mW,exp=1,interval=15,count=25,heada=3A "
         "P,seriala=4711,fullscale=2000\"",
         "LF  2>*2: 25|LI>* 1 0 0 25 15 mW 0 0 3A P         2000 4711 NONE         1000 0 NONE 0"},
        {"--model meridel2 --log "
         "file=4,unit=J,dual,count=40,headb=PE50,serialb=99,expb=2,fullscaleb=3000,missing",
         "LF  4>*4: 40|LI>* 0 0 0 40 30 J 0 0 3A           1000 123456 PE50         3000 2 99 1"},
        // The TALON keeps one log whatever its number (its interval and blocks: meter-log tests).
        {"--model talon --log file=7,count=11", "LF  0>?|LI>* 0 0 0 11 30"},
        {"--model talon", "LI>* 0 0 0 0 30"},
        // A TALON's bad block lacks a reading (a Meridel's loses a sign: meter-log tests).
        {"--model talon --bad-blocks 1 --log file=0,values=-1:2:3:4:5:6:7:8:9:10:11:12",
         "LR>*|LS>*-1 2 3 4 5 6 7 8 9|LS>*11 12"}};
    // clang-format on
    for (const auto& [options, script] : rows) ExpectConversation(options, script);
}
