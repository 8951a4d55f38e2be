#pragma once

#include <QString>

class QWidget;

// Renders a widget to <build>/screenshots/<name>.png (the folder comes from
// KELVARO_SCREENSHOTS). Returns the path written, or empty.
QString SaveScreenshot(QWidget* w, const QString& name);
