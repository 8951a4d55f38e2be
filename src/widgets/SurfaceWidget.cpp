#include "widgets/SurfaceWidget.h"

#include "platform/Palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QToolTip>

namespace widgets {

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // for the hover read-out
    surface_.Changed = [this](const QRect& r) { update(r); };
}

void SurfaceWidget::Rebuild() {
    surface_.Resize(size(), devicePixelRatioF());
    update();
    if (Resized) Resized();
}

void SurfaceWidget::resizeEvent(QResizeEvent*) {
    Rebuild();
}

void SurfaceWidget::paintEvent(QPaintEvent* e) {
    // Moved to a screen with another pixel ratio: draw afresh at the new one.
    if (surface_.DevicePixelRatio() != devicePixelRatioF() || surface_.LogicalSize() != size()) Rebuild();
    QPainter p(this);
    p.drawImage(e->rect(), surface_.Image(),
                QRectF(QPointF(e->rect().topLeft()) * surface_.DevicePixelRatio(),
                       QSizeF(e->rect().size()) * surface_.DevicePixelRatio()));
    if (band_) {
        p.setPen(QPen(platform::PaletteColor(bandColor_), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(BandPixels());
    }
}

QRectF SurfaceWidget::BandPixels() const {
    if (!band_) return {};
    return QRectF(surface_.ToPainter(band_->left(), band_->top()),
                  surface_.ToPainter(band_->right(), band_->bottom()))
        .normalized();
}

void SurfaceWidget::SetBand(std::optional<QRectF> band, int color) {
    if (band_) update(BandPixels().toAlignedRect().adjusted(-2, -2, 2, 2));
    band_ = band;
    bandColor_ = color;
    if (band_) update(BandPixels().toAlignedRect().adjusted(-2, -2, 2, 2));
}

void SurfaceWidget::mousePressEvent(QMouseEvent* e) {
    if (MouseDown) MouseDown(e->button(), surface_.ToUser(e->position()));
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPointF at = surface_.ToUser(e->position());
    // Moves without a button only feed the read-out, as before tracking was on.
    if (MouseMove && e->buttons() != Qt::NoButton) MouseMove(e->buttons(), at);
    if (!HoverText) return;
    const QString text = HoverText(at);
    if (text == hoverText_) return;
    hoverText_ = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(e->globalPosition().toPoint(), text, this);
}

void SurfaceWidget::leaveEvent(QEvent*) {
    if (hoverText_.isEmpty()) return;
    hoverText_.clear();
    QToolTip::hideText();
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (MouseUp) MouseUp(e->button(), surface_.ToUser(e->position()));
}

}  // namespace widgets
