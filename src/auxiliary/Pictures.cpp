#include "auxiliary/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap Blank(int size) {
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    return p;
}

// A plug (left) and a socket (right); `gap` pulls them apart.
QPixmap Plug(int size, double gap, const QColor& color) {
    QPixmap pm = Blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    p.setPen(QPen(color, 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(color);
    const double shift = gap / 2;
    // cable and plug body
    p.drawLine(QPointF(4, 50), QPointF(28 - shift, 50));
    p.drawRoundedRect(QRectF(28 - shift, 36, 16, 28), 3, 3);
    p.drawLine(QPointF(44 - shift, 42), QPointF(54 - shift, 42));
    p.drawLine(QPointF(44 - shift, 58), QPointF(54 - shift, 58));
    // socket and its cable
    p.drawRoundedRect(QRectF(56 + shift, 34, 16, 32), 3, 3);
    p.drawLine(QPointF(72 + shift, 50), QPointF(96, 50));
    return pm;
}

}  // namespace

QPixmap ConnectedPicture(int size) {
    return Plug(size, 0, QColor(0, 128, 0));
}
QPixmap DisconnectedPicture(int size) {
    return Plug(size, 18, QColor(160, 0, 0));
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pm = Blank(size);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        // A meter face with a laser beam reaching its sensor.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(32, 48, 96));
        p.drawRoundedRect(QRectF(4, 8, 56, 48), 8, 8);
        p.setBrush(QColor(250, 250, 240));
        p.drawEllipse(QPointF(36, 32), 16, 16);
        p.setPen(QPen(QColor(220, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 32), QPointF(28, 32));
        p.setPen(QPen(QColor(32, 48, 96), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(36, 32), QPointF(44, 22));
        icon.addPixmap(pm);
    }
    return icon;
}
