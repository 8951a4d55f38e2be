#include "platform/PortTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

using platform::PortTable;

TEST(PortTable, defaultsAndOverrideFileLines) {
    // clang-format off
    const struct { const char* text; int port; const char* expected; /* nullptr: the default stays */ } cases[] = {
        {"", 1, "/dev/ttyS0"}, {"", 4, "/dev/ttyS3"}, {"", 5, "/dev/ttyUSB0"}, {"", 12, "/dev/ttyUSB7"},
        {"", 13, "/dev/ttyACM0"}, {"", 16, "/dev/ttyACM3"}, {"", 0, ""}, {"", 17, ""},
        {"COM3 /dev/pts/7", 3, "/dev/pts/7"},  {"com2 /dev/pts/1", 2, "/dev/pts/1"},
        {"COM5 \t  /dev/serial/by-id/usb-meter-if00", 5, "/dev/serial/by-id/usb-meter-if00"},
        {"COM7 /dev/pts/3   # the simulator", 7, "/dev/pts/3"}, {"   COM16 /dev/pts/9\r\n", 16, "/dev/pts/9"},
        {"COM1 /dev/a\n\nbad line\nCOM1 /dev/b", 1, "/dev/b"},  {"# COM3 /dev/pts/7", 3, nullptr},
        {"COM0 /dev/pts/7\nCOM17 /dev/pts/7", 1, nullptr},       {"COM4", 4, nullptr},
        {"COM4/dev/pts/7", 4, nullptr}, {"COMx /dev/pts/7", 4, nullptr}, {"\x01\x02\xff", 4, nullptr}};
    // clang-format on
    for (const auto& c : cases) {
        PortTable t;
        t.Override(QString::fromLatin1(c.text));
        EXPECT_EQ(t.Device(c.port), c.expected ? QString(c.expected) : PortTable().Device(c.port)) << c.text;
        EXPECT_EQ(t.Device(8), PortTable().Device(8));
    }
}

#ifndef Q_OS_WIN
// The ports file of the current directory applies; a stable name is a symbolic link
// to the node the adapter has today: the port exists while the link leads somewhere.
TEST(PortTable, portsFileAppliesAndStableNamesAreFollowedToTheirDevice) {
    TempDir dir;
    dir.Write("ttyUSB3", "");
    QDir(dir.Path()).mkpath("serial/by-id");
    const QString byId = dir.Path("serial/by-id/usb-Meter_Co_LPM_0042-if00-port0");
    ASSERT_TRUE(QFile::link(dir.Path("ttyUSB3"), byId));
    ASSERT_TRUE(QFile::link(dir.Path("gone"), dir.Path("serial/by-id/usb-Old-if00")));
    dir.Write("kelvaro.ports",
              ("# test ports\nCOM2 " + byId + "\nCOM6 " + dir.Path("serial/by-id/usb-Old-if00") + "\nCOM9 " +
               dir.Path("ttyUSB3") + "\nCOM10 " + dir.Path("absent-tty") + "\n")
                  .toUtf8());
    PortTable t = PortTable::FromCurrentDirectory();
    EXPECT_EQ(std::pair(t.Device(2), t.Device(9)), std::pair(byId, dir.Path("ttyUSB3")));
    EXPECT_TRUE(t.Exists(2) && t.Exists(9) && !t.Exists(10) && !t.Exists(17));
    EXPECT_FALSE(t.Exists(6)) << "a link whose device is unplugged";
    t.SetDevice(6, dir.Path("ttyUSB3"));
    EXPECT_TRUE(t.Exists(6));
}
#endif
