#include "auxiliary/InfoTexts.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "support/ProgramState.h"

#include <gtest/gtest.h>
#include <QStringList>

TEST(InfoTexts, linesFollowTheConnectionTheModelAndTheHeads) {
    const struct {
        bool connected;
        int16_t device, type;
        const char *name, *serial, *note;
        QStringList shown;  // caption, device, version, head A type, serial, name; then head B when two
    } cases[] = {
        // clang-format off
        {false, 0, 1, "XL30", "; s/n 123456", "",  // what a previous connection left
         {"Head", "Type: None", "Version: None", "Type:Disconnected", "Serial Number: Disconnected", "Name: Disconnected"}},
        {true, 4, 2, "PE25", "0012345678 ", "This KORVEN does not support pyroelectric head",
         {"Head", "Type: KORVEN-TH", "Version: 2.10", "This KORVEN does not support pyroelectric head", "Serial Number: 0012345678", "Name: PE25"}},
        {true, 0, 1, "30A", "; s/n123456", "ignored here",  // the serial words E240 0001
         {"Head", "Type: TALON", "Version: 2.10", "Type: Thermopile head", "Serial Number: 123456", "Name: 30A"}},
        {true, 2, 5, "RP", "; s/n123456", "",
         {"Head Channel 'A'", "Type: Meridel", "Version: 2.10", "Type: Rapid Pulse head", "Serial Number: 123456", "Name: RP",
          "Type: Disconnected", "Serial Number: Disconnected", "Name: Disconnected"}}};
    // clang-format on
    for (const auto& c : cases) {
        ProgramStateScope fresh;
        TestMeter().Connected = c.connected;
        TestMeter().DeviceType = MeterModel(c.device);
        TestMeter().Channels[0] = {HeadKind(c.type), c.name, c.serial, {}, {}, c.note};
        const InfoTexts t = BuildInfoTexts(Meter(), CurrentSettings().CommPort, "2.10");
        QStringList shown{t.head1Caption, t.deviceType, t.deviceVersion, t.headType1, t.serial1, t.name1};
        if (t.twoHeads) shown << t.headType2 << t.serial2 << t.name2;
        EXPECT_EQ(shown, c.shown) << c.device;
    }
}
