#pragma once

#include "link/MeterIdentity.h"

#include <QString>

// What the information window shows, worked out from the last identification.
struct InfoTexts {
    bool connected = false;
    bool twoHeads = false;  // the taller window with both head frames
    QString head1Caption;   // "Head" or "Head Channel 'A'"
    QString deviceType, deviceVersion;
    QString port;  // "Port: COM3 (/dev/ttyUSB0)": the configured port and its device
    QString headType1, serial1, name1;
    QString headType2, serial2, name2;
};

InfoTexts BuildInfoTexts(const MeterIdentity& meter, int16_t commPort, const QString& versionReply,
                         const QString& portDevice = {});
