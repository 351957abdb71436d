// The host: a top-level "TTOTAL_CMD" window whose procedure logs every message the library
// relies on and answers it as the configuration says. One handler per event kind.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "standin.h"
#include "standin_config.h"
#include "standin_log.h"
#include "standin_text.h"

namespace ombrisk::standin {

namespace {

struct Host {
  Config config;
  Log log;
  HWND hwnd = nullptr;
};

Host* g_host = nullptr;  // the host runs one window on one thread

std::string format(const char* fmt, auto... args) {
  char buf[512];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

std::string decimal(HWND hwnd) { return std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)); }

std::string class_name_of(HWND hwnd) {
  wchar_t name[256] = {};
  if (!hwnd || !GetClassNameW(hwnd, name, 256)) return {};
  return to_utf8(name);
}

std::wstring code_text(ULONG_PTR code) {
  std::wstring s;
  for (int shift = 0; shift < 16; shift += 8) {
    const wchar_t c = static_cast<wchar_t>((code >> shift) & 0xFF);
    s += (c >= 0x20 && c < 0x7F) ? c : L'?';
  }
  return s;
}

LRESULT on_command(Host& host, WPARAM wparam, LPARAM lparam) {
  host.config.refresh();
  const bool sent = InSendMessage();
  const auto cmd = static_cast<long>(static_cast<LONG>(wparam));
  host.log.line(format("CMD %s %ld lparam=%ld", sent ? "sent" : "posted", cmd, static_cast<long>(lparam)));
  if (cmd == kShowCommand) {
    ShowWindow(host.hwnd, SW_SHOW);
    host.log.line("SHOW");
  }
  if (const long delay = host.config.number(L"cmd_delay_ms", 0); delay > 0) Sleep(static_cast<DWORD>(delay));
  const long fallback = host.config.number(L"cmd_result", 1);
  return host.config.number(L"cmd_result." + std::to_wstring(cmd), fallback);
}

// A "GW" request: ANSI text up to the first NUL. The answer goes back, before we return, to
// the window named in wParam: by default as "RW" in UTF-16LE with a terminating U+0000;
// answer_code.<TEXT> picks another code, and "RA" sends ANSI text with one NUL instead.
void answer_request(Host& host, HWND reply_to, const COPYDATASTRUCT& cds) {
  const char* bytes = static_cast<const char*>(cds.lpData);
  std::string request;
  for (DWORD i = 0; bytes && i < cds.cbData && bytes[i] != '\0'; ++i) request += bytes[i];
  const std::wstring key = from_ansi(request);
  const auto answer = host.config.get(L"answer." + key);
  if (host.config.number(L"ignore." + key, 0) != 0 || !answer) {
    host.log.line("SILENT " + request);
    return;
  }
  const std::wstring code = host.config.text(L"answer_code." + key, L"RW");
  ULONG_PTR dw_data = kCodeRW;
  if (code.size() == 2) dw_data = (code[0] & 0xFF) | ((code[1] & 0xFF) << 8);
  std::string payload;
  if (code == L"RA") {
    payload = to_ansi(*answer) + '\0';
  } else {
    const std::wstring text = *answer + L'\0';
    payload.assign(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  }
  COPYDATASTRUCT reply{dw_data, static_cast<DWORD>(payload.size()), payload.data()};
  DWORD_PTR result = 0;
  const LRESULT delivered = SendMessageTimeoutW(reply_to, WM_COPYDATA, reinterpret_cast<WPARAM>(host.hwnd),
                                                reinterpret_cast<LPARAM>(&reply), SMTO_NORMAL, 5000, &result);
  host.log.line(format("ANSWER %s code=%s cb=%lu delivered=%d", request.c_str(), to_utf8(code_text(dw_data)).c_str(),
                       reply.cbData, delivered ? 1 : 0));
}

LRESULT on_copydata(Host& host, HWND from, const COPYDATASTRUCT* cds) {
  host.config.refresh();
  if (!cds) {
    host.log.line("COPYDATA none");
    return 0;
  }
  const std::wstring code = code_text(cds->dwData);
  host.log.line(format("COPYDATA code=%s dwData=%lX cb=%lu from=%s from_class=%s bytes=", to_utf8(code).c_str(),
                       static_cast<unsigned long>(cds->dwData), cds->cbData, decimal(from).c_str(),
                       class_name_of(from).c_str()) +
                (cds->lpData ? hex_bytes(cds->lpData, cds->cbData) : std::string()));
  if (cds->dwData == kCodeGW) answer_request(host, from, *cds);
  const long fallback = host.config.number(L"copydata_result", 0);
  return host.config.number(L"copydata_result." + code, fallback);
}

void on_close(Host& host) {
  host.log.line("CLOSE");
  DestroyWindow(host.hwnd);
}

LRESULT dispatch(Host& host, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case kCommandMessage:
      return on_command(host, wparam, lparam);
    case WM_COPYDATA:
      return on_copydata(host, reinterpret_cast<HWND>(wparam), reinterpret_cast<const COPYDATASTRUCT*>(lparam));
    case WM_CLOSE:
      on_close(host);
      return 0;
    case WM_DESTROY:
      RemovePropW(host.hwnd, kMarkProperty);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(host.hwnd, msg, wparam, lparam);
  }
}

LRESULT CALLBACK host_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Host* host = g_host;
  if (!host || host->hwnd != hwnd) return DefWindowProcW(hwnd, msg, wparam, lparam);
  try {
    return dispatch(*host, msg, wparam, lparam);
  } catch (...) {
    // Out of memory while logging: the event is lost, the host keeps running.
    return 0;
  }
}

}  // namespace

int run_host(const std::wstring& config_path) {
  Host host{Config(config_path), Log(L""), nullptr};
  if (!host.config.refresh()) return 2;
  const auto log_path = host.config.get(L"log");
  if (!log_path || log_path->empty()) return 2;
  host.log = Log(*log_path);
  if (!host.log.truncate()) return 2;
  g_host = &host;

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = host_proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kHostClass;
  if (!RegisterClassExW(&wc)) return 3;

  const std::wstring caption = host.config.text(L"caption", L"Total Commander stand-in");
  host.hwnd = CreateWindowExW(0, kHostClass, caption.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                              instance, nullptr);
  if (!host.hwnd) return 3;
  SetPropW(host.hwnd, kMarkProperty, reinterpret_cast<HANDLE>(1));
  if (host.config.number(L"hidden", 0) == 0) {
    ShowWindow(host.hwnd, SW_SHOW);
    UpdateWindow(host.hwnd);
  }
  // READY comes last, so whoever waits for it finds the window complete.
  host.log.line(format("READY hwnd=%s pid=%lu tid=%lu", decimal(host.hwnd).c_str(), GetCurrentProcessId(),
                       GetCurrentThreadId()));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  g_host = nullptr;
  return 0;
}

}  // namespace ombrisk::standin
