#pragma once

#include "platform/ImageSurface.h"

#include <QRectF>
#include <QWidget>
#include <functional>
#include <optional>

namespace widgets {

// A window's picture area: shows an ImageSurface that the chart code draws
// on, repainting only what changed. When the widget's size or the screen's
// pixel ratio changes the image is rebuilt blank and Resized is called so
// that the owner lays out and redraws. Mouse positions are reported in the
// surface's user units.
class SurfaceWidget : public QWidget {
public:
    explicit SurfaceWidget(QWidget* parent = nullptr);

    platform::ImageSurface& Surface() { return surface_; }

    std::function<void()> Resized;
    std::function<void(Qt::MouseButton, QPointF)> MouseDown;
    std::function<void(Qt::MouseButtons, QPointF)> MouseMove;
    std::function<void(Qt::MouseButton, QPointF)> MouseUp;
    // The read-out shown as a tooltip where the mouse rests (user units in);
    // "" shows none.
    std::function<QString(QPointF)> HoverText;
    QString ShownHoverText() const { return hoverText_; }

    // An outline drawn over the picture (the zoom band), in user units;
    // nullopt removes it. It never touches the image underneath.
    void SetBand(std::optional<QRectF> band, int color = 4);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void Rebuild();
    QRectF BandPixels() const;

    platform::ImageSurface surface_;
    std::optional<QRectF> band_;
    int bandColor_ = 4;
    QString hoverText_;
};

}  // namespace widgets
