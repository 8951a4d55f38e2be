#pragma once

#include "platform/Surface.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QRectF>

class QPainter;
class QPaintDevice;

namespace platform {

// The drawing operations of a Surface over a QPainter. The derived surface
// says where the painter draws (the target rectangle in painter units) and
// which device the fonts are measured on; user coordinates from SetScale are
// mapped onto the target. Without a painter every drawing call is ignored,
// so a surface whose device is gone never crashes its caller.
class PainterSurface : public Surface {
public:
    PainterSurface();
    ~PainterSurface() override;

    void SetScale(double left, double top, double right, double bottom) override;
    double ScaleLeft() const override { return left_; }
    double ScaleTop() const override { return top_; }
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }

    void Clear(int backColor) override;
    void SetForeColor(int color) override;
    void Line(double x1, double y1, double x2, double y2, int color) override;
    void Box(double x1, double y1, double x2, double y2, int color) override;
    void FillBox(double x1, double y1, double x2, double y2, int color) override;
    void Dot(double x, double y, int color) override;

    void SetFontSize(double points) override;
    void SetFontBold(bool bold) override;
    double TextWidth(const QString& text) const override;
    double TextHeight(const QString& text) const override;
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void Print(const QString& text) override;

    // User coordinates to painter units and back.
    QPointF ToPainter(double x, double y) const;
    QPointF FromPainter(QPointF p) const;

protected:
    // painter may be null (nothing is drawn). snapRatio > 0 puts horizontal
    // and vertical lines on whole device pixels (device pixels per painter
    // unit) so that thin axis lines stay sharp under antialiasing.
    void Attach(QPainter* painter, QPaintDevice* metricsDevice, const QRectF& target, double penWidth,
                double snapRatio);
    QPainter* Painter() const { return painter_; }
    const QRectF& Target() const { return target_; }
    // Called with the painter-unit rectangle each drawing call touched.
    virtual void Touched(const QRectF&) {}

private:
    void UpdateMapping();
    void UpdateFont();
    double SnapCoord(double v) const;
    void UsePen(int color);
    // A painter and a scale with extent: a zero-sized scale draws nothing.
    bool Drawable() const { return painter_ && sx_ != 0 && sy_ != 0; }

    QPainter* painter_ = nullptr;
    QPaintDevice* metricsDevice_ = nullptr;
    QRectF target_;
    double penWidth_ = 1.0;
    double snapRatio_ = 0.0;

    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
    double sx_ = 1, sy_ = 1;  // painter units per user unit
    double currentX_ = 0, currentY_ = 0;
    int foreColor_ = 0;
    double fontPoints_ = 8.25;
    bool fontBold_ = false;
    QFont font_;
    QFontMetricsF metrics_;
};

}  // namespace platform
