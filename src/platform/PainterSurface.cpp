#include "platform/PainterSurface.h"

#include "platform/Palette.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <cmath>

namespace platform {

PainterSurface::PainterSurface() : metrics_(font_) {
    UpdateFont();
}

PainterSurface::~PainterSurface() = default;

void PainterSurface::Attach(QPainter* painter, QPaintDevice* metricsDevice, const QRectF& target,
                            double penWidth, double snapRatio) {
    painter_ = painter;
    metricsDevice_ = metricsDevice;
    target_ = target;
    penWidth_ = penWidth;
    snapRatio_ = snapRatio;
    if (painter_) painter_->setRenderHint(QPainter::Antialiasing, true);
    if (painter_) painter_->setRenderHint(QPainter::TextAntialiasing, true);
    UpdateMapping();
    UpdateFont();
}

void PainterSurface::SetScale(double left, double top, double right, double bottom) {
    left_ = left;
    top_ = top;
    width_ = right - left;
    height_ = bottom - top;
    UpdateMapping();
}

void PainterSurface::UpdateMapping() {
    // A zero-sized scale maps everything onto the corner instead of dividing by zero.
    sx_ = (width_ != 0 && std::isfinite(width_)) ? target_.width() / width_ : 0.0;
    sy_ = (height_ != 0 && std::isfinite(height_)) ? target_.height() / height_ : 0.0;
}

QPointF PainterSurface::ToPainter(double x, double y) const {
    return {target_.left() + (x - left_) * sx_, target_.top() + (y - top_) * sy_};
}

QPointF PainterSurface::FromPainter(QPointF p) const {
    double x = sx_ != 0 ? (p.x() - target_.left()) / sx_ + left_ : left_;
    double y = sy_ != 0 ? (p.y() - target_.top()) / sy_ + top_ : top_;
    return {x, y};
}

double PainterSurface::SnapCoord(double v) const {
    if (snapRatio_ <= 0) return v;
    // Odd widths in device pixels sit on pixel centres, even ones on pixel edges.
    long widthPx = std::max(1L, std::lround(penWidth_ * snapRatio_));
    double d = v * snapRatio_;
    d = (widthPx % 2) ? std::floor(d) + 0.5 : std::round(d);
    return d / snapRatio_;
}

void PainterSurface::UsePen(int color) {
    QPen pen(PaletteColor(color));
    double w = penWidth_;
    if (snapRatio_ > 0) w = std::max(1L, std::lround(penWidth_ * snapRatio_)) / snapRatio_;
    pen.setWidthF(w);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
}

static bool Finite(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

void PainterSurface::Clear(int backColor) {
    currentX_ = left_;
    currentY_ = top_;
    if (!painter_) return;  // clearing needs no scale
    painter_->fillRect(target_, PaletteColor(backColor));
    Touched(target_);
}

void PainterSurface::SetForeColor(int color) {
    foreColor_ = color;
}

void PainterSurface::Line(double x1, double y1, double x2, double y2, int color) {
    currentX_ = x2;
    currentY_ = y2;
    if (!Drawable() || !Finite(x1, y1, x2, y2)) return;
    QPointF a = ToPainter(x1, y1), b = ToPainter(x2, y2);
    if (a == b) {
        Dot(x1, y1, color);
        return;
    }
    if (a.y() == b.y()) a.ry() = b.ry() = SnapCoord(a.y());
    if (a.x() == b.x()) a.rx() = b.rx() = SnapCoord(a.x());
    UsePen(color);
    painter_->drawLine(a, b);
    Touched(QRectF(a, b).normalized().adjusted(-2 * penWidth_, -2 * penWidth_, 2 * penWidth_, 2 * penWidth_));
}

void PainterSurface::Box(double x1, double y1, double x2, double y2, int color) {
    currentX_ = x2;
    currentY_ = y2;
    if (!Drawable() || !Finite(x1, y1, x2, y2)) return;
    QPointF a = ToPainter(x1, y1), b = ToPainter(x2, y2);
    QRectF r(QPointF(SnapCoord(a.x()), SnapCoord(a.y())), QPointF(SnapCoord(b.x()), SnapCoord(b.y())));
    UsePen(color);
    painter_->drawRect(r.normalized());
    Touched(r.normalized().adjusted(-2 * penWidth_, -2 * penWidth_, 2 * penWidth_, 2 * penWidth_));
}

void PainterSurface::FillBox(double x1, double y1, double x2, double y2, int color) {
    currentX_ = x2;
    currentY_ = y2;
    if (!Drawable() || !Finite(x1, y1, x2, y2)) return;
    QRectF r = QRectF(ToPainter(x1, y1), ToPainter(x2, y2)).normalized();
    // Whole device pixels: a solid fill, not the smoothing path's coverage of
    // fractional edges (a chart's thousand band columns a redraw).
    const QRect pixels = painter_->deviceTransform().mapRect(r).toAlignedRect();
    painter_->save();
    painter_->resetTransform();
    painter_->fillRect(pixels, PaletteColor(color));
    painter_->restore();
    Touched(r);
}

void PainterSurface::Dot(double x, double y, int color) {
    currentX_ = x;
    currentY_ = y;
    if (!Drawable() || !std::isfinite(x) || !std::isfinite(y)) return;
    QPointF p = ToPainter(x, y);
    double r = penWidth_ * 0.8;
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(PaletteColor(color));
    painter_->drawEllipse(p, r, r);
    Touched(QRectF(p.x() - 2 * r - 1, p.y() - 2 * r - 1, 4 * r + 2, 4 * r + 2));
}

void PainterSurface::SetFontSize(double points) {
    if (!(points > 0) || !std::isfinite(points)) return;
    fontPoints_ = points;
    UpdateFont();
}

void PainterSurface::SetFontBold(bool bold) {
    fontBold_ = bold;
    UpdateFont();
}

void PainterSurface::UpdateFont() {
    font_ = QFont();
    font_.setPointSizeF(fontPoints_);
    font_.setBold(fontBold_);
    metrics_ = metricsDevice_ ? QFontMetricsF(font_, metricsDevice_) : QFontMetricsF(font_);
}

double PainterSurface::TextWidth(const QString& text) const {
    return sx_ != 0 ? metrics_.horizontalAdvance(text) / std::fabs(sx_) : 0.0;
}

double PainterSurface::TextHeight(const QString&) const {
    return sy_ != 0 ? metrics_.height() / std::fabs(sy_) : 0.0;
}

void PainterSurface::Print(const QString& text) {
    double x = currentX_, y = currentY_;
    currentY_ = y + TextHeight(text);
    if (!Drawable() || !std::isfinite(x) || !std::isfinite(y)) return;
    QPointF p = ToPainter(x, y);
    painter_->setFont(font_);
    painter_->setPen(PaletteColor(foreColor_));
    painter_->drawText(QPointF(p.x(), p.y() + metrics_.ascent()), text);
    Touched(QRectF(p.x() - 1, p.y() - 1, metrics_.horizontalAdvance(text) + 2, metrics_.height() + 2));
}

}  // namespace platform
