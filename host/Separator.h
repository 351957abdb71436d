// The separator between the panels (read and moved as a percentage of the host's client width)
// and a panel's filter (what its path bar shows after the directory).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "server/HelperState.h"

namespace ombrisk {

// Separator get: writes a Single 0..100 (one decimal) or the Integer -1 into result and keeps
// it in state.SeparatorValue.
void GetSeparator(HelperState& state, VARIANT* result);

// Separator let: clamps value to 0..100, then drags the bar of the bound host with the primary
// mouse button and puts the cursor back. Null raises 94 and text 13 before anything happens.
void SetSeparator(HelperState& state, const VARIANT& value);

// GetFilter: the filter of panel L, R, S (source) or T (target); Empty when no host runs.
void GetPanelFilter(const VARIANT& leftOrRight, VARIANT* result);

}  // namespace ombrisk
