#include "platform/SerialPort.h"

#include "platform/QtSerialPort.h"

namespace platform {

namespace {
SerialPort* g_override = nullptr;

SerialPort& RealPort() {
    // Never destroyed: the port may outlive the application object.
    static SerialPort* real = new QtSerialPort;
    return *real;
}
}  // namespace

SerialPort& serialPort() {
    return g_override ? *g_override : RealPort();
}

void setSerialPort(SerialPort* p) {
    g_override = p;
}

}  // namespace platform
