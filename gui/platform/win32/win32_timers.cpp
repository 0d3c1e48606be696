// Thread timers without a window (SetTimer), each with the callback it was started with.
#include <map>

#include "gui/platform/win32/win32_platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace win32 {
namespace {

std::map<UINT_PTR, platform::TimerCallback>& timerCallbacks() {
  static std::map<UINT_PTR, platform::TimerCallback> m;
  return m;
}

void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto& m = timerCallbacks();
  auto it = m.find(id);
  if (it != m.end()) it->second(static_cast<uint32_t>(id));
}

}  // namespace

uint32_t Win32Platform::startTimer(uint32_t periodMs, platform::TimerCallback cb) {
  if (!cb) return 0;
  const UINT_PTR id = SetTimer(nullptr, 0, periodMs, timerProc);
  if (id) timerCallbacks()[id] = cb;
  return static_cast<uint32_t>(id);
}

void Win32Platform::stopTimer(uint32_t id) {
  KillTimer(nullptr, id);
  timerCallbacks().erase(id);
}

}  // namespace win32
