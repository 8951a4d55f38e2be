#pragma once

// Everything the main window and the mode windows call of the instrument link.
#include "link/Dispatch.h"
#include "link/HeadDetection.h"
#include "link/Identification.h"
#include "link/LinkState.h"
#include "link/PortControl.h"
#include "link/Replug.h"
#include "link/TrafficLog.h"
#include "link/Transaction.h"
