#include "platform/ConnectionDoctor.h"
#include "support/FakeSystemView.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

const QString kById = "/dev/serial/by-id/usb-Meter_Co_LPM_0042-if00-port0";

TEST(ConnectionDoctor, eachSituationGetsItsFindingAndRemedy) {
    using S = FakeSystemView;
    using T = platform::PortTrouble;
    // clang-format off
    const struct { const char* situation; T trouble; std::function<void(S&)> arrange; QString expected; } rows[] = {
        {"missing, others present", T::OpenFailed, [](S& s) { s.present.clear(); s.devices = {{"/dev/ttyS0", ""}, {"/dev/ttyUSB1", kById}}; }, "The device /dev/ttyUSB0 does not exist. Serial devices on this computer: /dev/ttyS0, /dev/ttyUSB1 (" + kById + "). Plug the meter in, or choose its port under Configuration, Comm. Port."},
        {"missing, none present", T::OpenFailed, [](S& s) { s.present.clear(); }, "The device /dev/ttyUSB0 does not exist, and this computer shows no serial devices. Plug the meter in and check its cable."},
        {"no port leads anywhere", T::OpenFailed, [](S& s) { s.devices = {{"/dev/ttyUSB9", kById}}; }, "None of the ports COM1 to COM16 leads to a device. Serial devices on this computer: /dev/ttyUSB9 (" + kById + "). Name the meter's device in kelvaro.ports, or start the program with --port and its path."},
        {"no permission", T::OpenFailed, [](S& s) { s.readWrite.clear(); }, "You may not read and write /dev/ttyUSB0. It belongs to the group dialout: join that group (sudo adduser alice dialout), then log out and in again."},
        {"joined, not logged in again", T::OpenFailed, [](S& s) { s.readWrite.clear(); s.listed = true; }, "You may not read and write /dev/ttyUSB0 yet. It belongs to the group dialout, which you joined after logging in: log out and in again."},
        {"in use by one program", T::InUse, [](S& s) { s.holders = {{4242, "minicom"}}; }, "/dev/ttyUSB0 is held by minicom (process 4242). Close that program, then choose Connect again."},
        {"in use by two, one unreadable", T::InUse, [](S& s) { s.holders = {{77, "screen"}, {91, ""}}; }, "/dev/ttyUSB0 is held by screen (process 77) and process 91. Close those programs, then choose Connect again."},
        {"in use, holder hidden", T::InUse, [](S&) {}, "/dev/ttyUSB0 is held by another program that could not be identified. Close any other program that uses the meter, then choose Connect again."},
        {"open failed, nothing found", T::OpenFailed, [](S&) {}, "/dev/ttyUSB0 exists but could not be opened as a serial port. Check that it is the meter's device."},
        {"no answer at any speed", T::NoAnswer, [](S&) {}, "/dev/ttyUSB0 opened, but nothing answered at 19200, 9600, 4800, 1200 or 300 baud. Check that the meter is switched on, that its cable is plugged in at both ends, and that the meter's own baud rate is one of these."},
        {"unplugged while connected", T::Removed, [](S& s) { s.present.clear(); }, "COM5 (/dev/ttyUSB0) was removed. What was logged stays in its window and can be saved. When the device is back, the program connects again by itself and a run that was logging goes on."},
    };
    // clang-format on
    for (const auto& row : rows) {
        S system;
        system.present = system.readWrite = {"/dev/ttyUSB0"};
        row.arrange(system);
        const bool noPort = QString(row.situation).startsWith("no port");  // COM0: no port led to a device
        const QString found =
            platform::Diagnose(row.trouble, noPort ? 0 : 5, noPort ? "" : "/dev/ttyUSB0", system);
        EXPECT_EQ(found.toStdString(), row.expected.toStdString()) << row.situation;
    }
    EXPECT_TRUE(platform::Diagnose(T::NoAnswer, 5, "", S{}).isEmpty()) << "a port of no device";
}

#ifdef KELVARO_DOCTOR_PROBE
// The permission case for real: a device only root and its group may use, seen by the user nobody.
TEST(ConnectionDoctorOnThisSystem, anotherUserIsToldToJoinTheDevicesGroup) {
    const QString runuser = QStandardPaths::findExecutable("runuser");
    if (runuser.isEmpty()) GTEST_SKIP() << "runuser is not installed: no second user to check as";
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyMeter");
    if (QProcess::execute("sh", {"-c", "chmod 755 \"$0\" && install -m 660 -g dialout /dev/null \"$1\"",
                                 dir.path(), device}))
        GTEST_SKIP() << "cannot give the test device to the group dialout (not root, or no such group)";
    QProcess probe;
    probe.start(runuser, {"-u", "nobody", "--", KELVARO_DOCTOR_PROBE, device});
    ASSERT_TRUE(probe.waitForFinished(20000));
    const QString out = QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
    if (probe.exitCode() != 0 || out.isEmpty())
        GTEST_SKIP() << "this machine does not let the test run a program as nobody: "
                     << probe.readAllStandardError().toStdString();
    EXPECT_EQ(out, "You may not read and write " + device +
                       ". It belongs to the group dialout: join that group (sudo adduser nobody dialout), "
                       "then log out and in again.");
}
#endif
