#pragma once

#include "platform/PainterSurface.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>

namespace platform {

// A Surface that paints into an image for a widget: antialiased, in the
// 16-colour palette, at the screen's device pixel ratio so that it stays
// sharp on high-DPI screens. Coordinates default to logical pixels until
// SetScale sets user units; the scale is kept across Resize.
class ImageSurface : public PainterSurface {
public:
    explicit ImageSurface(QSize logicalSize = QSize(1, 1), double devicePixelRatio = 1.0);
    ~ImageSurface() override;

    // A new blank (white) image of this logical size; sizes below 1 become 1.
    void Resize(QSize logicalSize, double devicePixelRatio);
    QSize LogicalSize() const { return logical_; }
    double DevicePixelRatio() const { return dpr_; }

    // The image as drawn so far, for painting onto a widget. Snapshot()
    // is an independent copy (the live image keeps being drawn on).
    const QImage& Image() const { return image_; }
    QImage Snapshot() const { return image_.copy(); }

    // A widget position (logical pixels) in user units.
    QPointF ToUser(QPointF logical) const { return FromPainter(logical); }

    // The logical-pixel area drawn since the last call.
    QRect TakeDirty();
    // Called after each drawing call with the area it touched (a widget
    // forwards this to update(), which coalesces repaints).
    std::function<void(const QRect&)> Changed;

protected:
    void Touched(const QRectF& r) override;

private:
    QSize logical_;
    double dpr_ = 1.0;
    QImage image_;
    std::unique_ptr<QPainter> painter_;
    QRect dirty_;
};

}  // namespace platform
