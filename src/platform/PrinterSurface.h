#pragma once

#include "platform/PainterSurface.h"

#include <QPainter>
#include <memory>

class QPrinter;

namespace platform {

// A Surface on a printer page. User units are millimetres from the top left
// of the printable area (ScaleWidth and ScaleHeight are the printable size)
// until the print routine sets another scale. While no document is open the
// calls draw nothing.
class PrinterSurface : public PainterSurface {
public:
    PrinterSurface();
    ~PrinterSurface() override;

    // Starts painting on the printer's first page; false when the device
    // cannot be opened (no file, no printer).
    bool Begin(QPrinter& printer);
    bool IsActive() const { return painter_ != nullptr; }
    bool NewPage();
    // Ends the document; false when the device reported a failure.
    bool End();

    double PageWidthMm() const { return pageWidthMm_; }
    double PageHeightMm() const { return pageHeightMm_; }

private:
    QPrinter* printer_ = nullptr;
    std::unique_ptr<QPainter> painter_;
    double pageWidthMm_ = 0, pageHeightMm_ = 0;
};

}  // namespace platform
