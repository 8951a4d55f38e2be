#pragma once

#include <QString>
#include <functional>

class QImage;
class QWidget;

// Renders a widget to <build>/screenshots/<name>.png (the folder comes from
// KELVARO_SCREENSHOTS). Returns the path written, or empty.
QString SaveScreenshot(QWidget* w, const QString& name);

// Runs `print` with the printer writing <screenshots>/<name>.pdf and renders
// the first page to <name>.png where pdftoppm is installed. Returns the
// number of pages in the PDF (0 when none was written).
int PrintToScreenshots(const QString& name, const std::function<void()>& print);

// The text of <screenshots>/<name>.pdf as pdftotext reads it.
QString PrintedText(const QString& name);
// Its first page as rendered by PrintToScreenshots.
QImage PrintedPage(const QString& name);

// Pixels of the charts' trace and bar colour (yellow) in an image.
int YellowPixels(const QImage& image);
