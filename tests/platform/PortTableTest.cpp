#include "platform/PortTable.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

using platform::PortTable;

namespace {

#ifndef Q_OS_WIN
TEST(PortTable, defaultsMapComPortsToSerialUsbAndAcmDevices) {
    const PortTable t;
    const std::pair<int, const char*> cases[] = {
        {1, "/dev/ttyS0"},   {4, "/dev/ttyS3"},    {5, "/dev/ttyUSB0"}, {12, "/dev/ttyUSB7"},
        {13, "/dev/ttyACM0"}, {16, "/dev/ttyACM3"},
    };
    for (const auto& [n, device] : cases) EXPECT_EQ(t.Device(n), QString(device)) << "COM" << n;
}
#endif

TEST(PortTable, numbersOutsideOneToSixteenHaveNoDeviceAndDoNotExist) {
    const PortTable t;
    for (int n : {-1, 0, 17, 1000}) {
        EXPECT_TRUE(t.Device(n).isEmpty()) << n;
        EXPECT_FALSE(t.Exists(n)) << n;
    }
}

TEST(PortTable, overrideFileLines) {
    struct Case {
        const char* name;
        const char* text;
        int port;
        const char* expected;  // nullptr: the default stays
    };
    const Case cases[] = {
        {"plain", "COM3 /dev/pts/7", 3, "/dev/pts/7"},
        {"several blanks and tab", "COM5 \t  /dev/serial/by-id/usb-meter-if00", 5, "/dev/serial/by-id/usb-meter-if00"},
        {"lower case", "com2 /dev/pts/1", 2, "/dev/pts/1"},
        {"trailing comment", "COM7 /dev/pts/3   # the simulator", 7, "/dev/pts/3"},
        {"leading blanks", "   COM16 /dev/pts/9", 16, "/dev/pts/9"},
        {"CR LF line end", "COM1 /dev/pts/2\r\n", 1, "/dev/pts/2"},
        {"comment line", "# COM3 /dev/pts/7", 3, nullptr},
        {"port zero", "COM0 /dev/pts/7", 0, nullptr},
        {"port seventeen", "COM17 /dev/pts/7", 1, nullptr},
        {"no device", "COM4", 4, nullptr},
        {"no blank", "COM4/dev/pts/7", 4, nullptr},
        {"not a number", "COMx /dev/pts/7", 4, nullptr},
        {"garbage", "\x01\x02\xff", 4, nullptr},
    };
    for (const Case& c : cases) {
        PortTable t;
        const QString before = t.Device(c.port);
        t.Override(QString::fromLatin1(c.text));
        EXPECT_EQ(t.Device(c.port), c.expected ? QString(c.expected) : before) << c.name;
    }
}

TEST(PortTable, laterLinesWinAndOtherPortsKeepTheirDefaults) {
    PortTable t;
    const QString com2 = t.Device(2);
    t.Override("COM1 /dev/a\n\nbad line\nCOM1 /dev/b\n");
    EXPECT_EQ(t.Device(1), "/dev/b");
    EXPECT_EQ(t.Device(2), com2);
}

TEST(PortTable, fromCurrentDirectoryAppliesThePortsFileThere) {
    TempDir dir;
    dir.Write("kelvaro.ports", "# test ports\nCOM9 " + dir.Path("fake-tty").toUtf8() + "\n");
    const PortTable t = PortTable::FromCurrentDirectory();
    EXPECT_EQ(t.Device(9), dir.Path("fake-tty"));
    EXPECT_EQ(t.Device(10), PortTable().Device(10));
}

#ifndef Q_OS_WIN
TEST(PortTable, aPortExistsExactlyWhenItsDeviceExists) {
    TempDir dir;
    PortTable t;
    t.Override("COM6 " + dir.Path("tty-present") + "\nCOM7 " + dir.Path("tty-absent"));
    dir.Write("tty-present", "");
    EXPECT_TRUE(t.Exists(6));
    EXPECT_FALSE(t.Exists(7));
}
#endif

}  // namespace
