#pragma once

class QMdiArea;

// Registers the three power viewers (single channel, ratio, difference)
// with SetViewerFactory; each window is made in `area` on first use,
// hidden until a record is shown.
void InstallPowerViewers(QMdiArea* area);
