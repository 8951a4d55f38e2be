#pragma once

#include "state/Mode.h"

#include <memory>
#include <vector>

class MainWindow;
class QMdiArea;

// Makes every mode's window in `area` and registers each mode under its
// ActiveMode code: the one place that lists the modes.
void RegisterModes(MainWindow& main, QMdiArea* area);

// The logging modes' engines with no window, each registered under its
// ActiveMode codes, for a run that shows none; they leave the registry
// when they go.
std::vector<std::unique_ptr<Mode>> RegisterWindowlessModes();
