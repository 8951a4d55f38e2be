#include "platform/ImageSurface.h"

#include <cmath>

namespace platform {

ImageSurface::ImageSurface(QSize logicalSize, double devicePixelRatio) {
    SetScale(0, 0, 1, 1);
    Resize(logicalSize, devicePixelRatio);
    // Pixels until the owner chooses units.
    SetScale(0, 0, logical_.width(), logical_.height());
}

ImageSurface::~ImageSurface() {
    if (painter_) painter_->end();
}

void ImageSurface::Resize(QSize logicalSize, double devicePixelRatio) {
    if (painter_) painter_->end();
    painter_.reset();
    logical_ = QSize(std::max(1, logicalSize.width()), std::max(1, logicalSize.height()));
    dpr_ = (devicePixelRatio > 0 && std::isfinite(devicePixelRatio)) ? devicePixelRatio : 1.0;
    QSize device(std::max(1, int(std::ceil(logical_.width() * dpr_))),
                 std::max(1, int(std::ceil(logical_.height() * dpr_))));
    image_ = QImage(device, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(dpr_);
    // 96 dots per inch in logical pixels: font points map to pixels the same
    // way on every machine, so the chart layout does not depend on the host.
    image_.setDotsPerMeterX(3780);
    image_.setDotsPerMeterY(3780);
    image_.fill(Qt::white);
    painter_ = std::make_unique<QPainter>(&image_);
    Attach(painter_.get(), &image_, QRectF(QPointF(0, 0), QSizeF(logical_)), 1.0, dpr_);
    dirty_ = QRect(QPoint(0, 0), logical_);
}

QRect ImageSurface::TakeDirty() {
    QRect r = dirty_;
    dirty_ = QRect();
    return r;
}

void ImageSurface::Touched(const QRectF& r) {
    QRect area = r.toAlignedRect().intersected(QRect(QPoint(0, 0), logical_));
    if (area.isEmpty()) return;
    dirty_ = dirty_.united(area);
    if (Changed) Changed(area);
}

}  // namespace platform
