// frmIcon: the hidden reply window, one per thread, shared by every Helper object of that
// thread. It is the address for the host's WM_COPYDATA answers and the clipboard owner.
// It is never shown. Creating an object loads it; releasing any object unloads it, and
// the next request of a surviving object loads it again.
#pragma once

#include <windows.h>

namespace ombrisk {

// Creates this thread's window (and hooks it) if it does not exist. Throws ScriptError on failure.
void LoadFrmIcon();

// Unhooks and destroys this thread's window, if any.
void UnloadFrmIcon() noexcept;

// This thread's window handle, loading the window first when it does not exist.
HWND FrmIconHwnd();

// The window's own procedure, which the reply hook is placed in front of.
LRESULT CALLBACK FrmIconWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace ombrisk
