#include "platform/PrinterSurface.h"

#include <QPrinter>

namespace platform {

PrinterSurface::PrinterSurface() = default;

PrinterSurface::~PrinterSurface() {
    End();
}

bool PrinterSurface::Begin(QPrinter& printer) {
    End();
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer)) return false;
    printer_ = &printer;
    painter_ = std::move(painter);
    QRectF mm = printer.pageRect(QPrinter::Millimeter);
    QRectF px = printer.pageRect(QPrinter::DevicePixel);
    pageWidthMm_ = mm.width();
    pageHeightMm_ = mm.height();
    // Lines a quarter of a millimetre wide; the resolution is high enough
    // that no pixel snapping is needed.
    double pxPerMm = px.width() / (mm.width() > 0 ? mm.width() : 1.0);
    Attach(painter_.get(), &printer, QRectF(QPointF(0, 0), px.size()), 0.25 * pxPerMm, 0.0);
    SetScale(0, 0, pageWidthMm_, pageHeightMm_);
    SetCurrentX(0);
    SetCurrentY(0);
    return true;
}

bool PrinterSurface::NewPage() {
    if (!painter_ || !printer_) return false;
    return printer_->newPage();
}

bool PrinterSurface::End() {
    if (!painter_) return true;
    bool ok = painter_->end();
    painter_.reset();
    printer_ = nullptr;
    Attach(nullptr, nullptr, Target(), 1.0, 0.0);
    return ok;
}

}  // namespace platform
