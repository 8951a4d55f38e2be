#pragma once

class MainWindow;
class QMdiArea;

// Makes every mode's window in `area` and registers each mode under its
// ActiveMode code: the one place that lists the modes.
void RegisterModes(MainWindow& main, QMdiArea* area);
