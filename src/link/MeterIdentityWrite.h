#pragma once

#include "link/MeterIdentity.h"

// The writable meter identity: for the link's own routines, and for the one
// test helper that puts a meter in place without a line.
MeterIdentity& WritableMeter();
