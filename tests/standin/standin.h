// Names and numbers shared by the stand-in host and its control tool.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace ombrisk::standin {

inline constexpr wchar_t kHostClass[] = L"TTOTAL_CMD";
// Marks the stand-in's main window, so `ctl stop` never touches a window of another program.
inline constexpr wchar_t kMarkProperty[] = L"OmbriskStandIn";
// The window class of the control tool's own reply window (`ctl ask`).
inline constexpr wchar_t kClientClass[] = L"OmbriskStandInClient";
// The property the library leaves on the host window (read by `ctl getprop`).
inline constexpr wchar_t kHelperMark[] = L"[Signed by Helper]";
inline constexpr UINT kCommandMessage = WM_USER + 51;  // 1075, wParam = command number
// Only `ctl stop` sends this; WM_CLOSE and every close request by keys are logged and refused.
inline constexpr UINT kStopMessage = WM_APP + 0x5354;
// Posted by `ctl hang <ms>`: the host stops pumping messages for wParam milliseconds.
inline constexpr UINT kHangMessage = WM_APP + 0x4847;
// Posted to itself by a host that refuses the foreground, to hand it to its decoy window.
inline constexpr UINT kRefuseForegroundMessage = WM_APP + 0x5346;
inline constexpr int kShowCommand = 2016;
inline constexpr int kIniFilesCommand = 690;
inline constexpr int kCopyNamesCommand = 2017;
inline constexpr int kCopyFullNamesCommand = 2018;
// Commands only the stand-in knows: a dialog the user already had open, the tooltips of
// `tooltip_text`, the child windows laid out again from the current configuration, and the
// modal key dialog (posted: it returns when the dialog is closed).
inline constexpr int kUserDialogCommand = 9001;
inline constexpr int kTooltipCommand = 9002;
inline constexpr int kLayoutCommand = 9003;
inline constexpr int kKeyDialogCommand = 9004;
inline constexpr ULONG_PTR kCodeGW = 0x5747;  // "GW", first character in the low byte
inline constexpr ULONG_PTR kCodeRW = 0x5752;  // "RW"
inline constexpr ULONG_PTR kCodeRA = 0x4152;  // "RA", an answer in ANSI text

// Runs the host until its window is closed; returns the process exit code.
int run_host(const std::wstring& config_path);

// `ctl clipwatch <config>`: a clipboard watcher that holds the clipboard after each change.
int run_clip_watcher(const std::wstring& config_path);

// `ctl facts <file>`: the machine's facts for the conformance kit's report; `ctl foreignhosts`:
// the number of top-level windows of the host's class that are not a stand-in's.
int ctl_facts(const std::wstring& file);
int ctl_foreignhosts();
// `ctl run <ms> <stdout> <stderr> <program> [args...]`: the program's exit code, or this one when
// it ran out of time (it and what it started are then ended).
inline constexpr int kRunTimedOut = 258;
int ctl_run(const std::vector<std::wstring>& args);

// The `ctl` subcommands; args are what follows "ctl". Returns the process exit code.
int run_ctl(const std::vector<std::wstring>& args);

// Top-level windows of the host's class that carry the stand-in's mark, in z-order.
std::vector<HWND> find_standin_windows();

// Every top-level window that carries the stand-in's mark, whatever its class (a stand-in may
// run under another class, window_class=, to be a second window for the keystroke tests).
std::vector<HWND> find_marked_windows();

}  // namespace ombrisk::standin
