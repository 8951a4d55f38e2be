#pragma once

#include <QString>

namespace platform {

// A drawing surface with a user coordinate system, as the charts and the
// notes printout use it: a window's picture or a printer page in millimetres.
// Colours are indexes 0..15 of the standard 16-colour palette.
class Surface {
public:
    virtual ~Surface() = default;

    // Coordinate system: (left, top) to (right, bottom) in user units.
    virtual void SetScale(double left, double top, double right, double bottom) = 0;
    virtual double ScaleLeft() const = 0;
    virtual double ScaleTop() const = 0;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;

    virtual void Clear(int backColor) = 0;
    virtual void SetForeColor(int color) = 0;
    virtual void Line(double x1, double y1, double x2, double y2, int color) = 0;
    virtual void Box(double x1, double y1, double x2, double y2, int color) = 0;      // outline
    virtual void FillBox(double x1, double y1, double x2, double y2, int color) = 0;  // filled
    // A single point, as the first point of a trace.
    virtual void Dot(double x, double y, int color) { Line(x, y, x, y, color); }

    // Text at the current position; Print moves CurrentY down one line and
    // CurrentX back to where it was set.
    virtual void SetFontSize(double points) = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual double TextWidth(const QString& text) const = 0;
    virtual double TextHeight(const QString& text) const = 0;
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;
    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;
    virtual void Print(const QString& text) = 0;
};

}  // namespace platform
