#pragma once

#include "platform/SerialPort.h"

#include <array>
#include <cstdint>

inline constexpr std::array<int, 5> kProbeRates{19200, 9600, 4800, 1200, 300};

// The platform's answer for "COM" + n (1..16); false outside that range.
bool PortExists(int n);

// The port table from the defaults, kelvaro.ports and the command line.
void ReloadPortTable();

// Reloads the port table, returns which of COM1..16 exist (index 0 is never
// set), moves CommPort to the first existing port when its own does not
// exist (0 when none does) and saves the configuration. The main window
// shows the items that exist.
std::array<bool, 17> BuildPortMenu();

// Opens `port` as COM n and probes the baud rates with "$VE" until the
// meter answers; false with the port closed when no rate answered.
bool OpenCommPort(platform::SerialPort& port, int n);

// Opens CommPort (CurrentSettings().CommPort) on platform::serialPort() and
// marks the port item; false after the user was told.
bool Connect();

// Closes the port and writes the traffic log; nothing unless connected.
void Disconnect();

// The serial port's event handler; OpenCommPort installs it as OnComm.
void MSComm1_OnComm(int code);

// The connected device went away: the connection ends as at a disconnect
// (the traffic log is written), the main window is told and the user sees
// why (from the event loop). What the mode logged stays there, and its run
// waits for the device's return (WatchLostPort).
void LinkLost();

// After a loss: once the port's device (or its stable name) is there again,
// connects by itself, without a word when the device does not answer yet
// (tried again a few seconds later); true when it connected. The caller
// then identifies the meter and calls ResumeAfterCut. Called every second
// by the main window.
bool WatchLostPort();

// A connection was lost and WatchLostPort waits for the device's return.
bool WaitingForLostPort();

// While connected: the port closed and probed afresh, without a word; false
// when nothing answers (the connection then counts as lost).
bool ProbeAgain();

// The connection for the status strip: port, device, line speed and model
// while connected (and when it came back after a loss), "Not connected"
// otherwise (with what became of a lost port).
QString PortStatusText();
