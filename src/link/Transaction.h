#pragma once

#include "platform/SerialPort.h"

#include <QString>

// Frames "$" + command + CR, writes it and starts its reply clock; does not
// wait. An empty command repeats the last one with its own time-out.
// Nothing happens unless connected.
void SendCommand(platform::SerialPort& port, const QString& command, double timeout, bool logIt);

// The receive event: reads the port, logs, assembles lines and hands each
// complete line (a chunk ending with LF) to DispatchLine once.
void ReceiveEvent();

// The 10 ms reply time-out watch: dummy command, retries, give-up.
void Timer2_Timer();

// The wait of every routine that needs its reply: processes events while
// `flag` is set, a reply is outstanding and the port is connected. The flag
// is clear when it returns, so a reply that never came cannot route later
// lines to the routine that gave up.
void WaitForFlag(bool& flag);

// The link waits for an answer of its own (identification, a mode's command,
// a query) and runs the program's events meanwhile: whatever talks to the
// meter now would send its commands across the waiting ones.
bool LinkBusy();

// One round of events: the main window's ProcessEvents hook, or the event
// loop plus the time-out watch when no hook is installed.
void ProcessEventsOnce();
