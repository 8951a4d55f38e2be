#pragma once

#include "app/ModeMenu.h"
#include "state/Mode.h"

#include <QString>
#include <optional>

struct ModeName;

// The Mode-menu item that enters `mode` on channel `channel` (0 A, 1 B) of
// this meter, rapid pulse in relative units when `relative`; nothing when
// the meter has no such item.
std::optional<ModeMenuItem> MenuItemFor(const ModeName& mode, int16_t channel, bool relative,
                                        bool twoChannelMeter);

// Why the item is not there for this meter and its heads; empty when it is
// offered and enabled.
QString NotOffered(const ModeName& mode, int16_t channel, const std::optional<ModeMenuItem>& item);

// Starts or stops the run of a logging engine, as its Start/Stop button.
void StartStop(Mode& mode);
// Its Reset button; false for a mode that has none.
bool ResetRun(Mode& mode);
// Readings are being taken now.
bool Logging(const Mode& mode);
