#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn rather than shipped as files.
QIcon ApplicationIcon();
QPixmap ConnectedPicture(int size);     // plug in its socket
QPixmap DisconnectedPicture(int size);  // plug pulled out
