#include "gui/platform/win32/win32_host_windows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace win32 {
namespace {

RECT outer(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

void setSize(HWND h, int cx, int cy) {
  SetWindowPos(h, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

platform::Point editorPosition(HWND window) {
  HWND w = window;
  for (int guard = 0; guard < 16; ++guard) {
    HWND p = GetParent(w);
    if (!p || (GetWindowLongA(w, GWL_STYLE) & WS_CAPTION)) break;
    const RECT wr = outer(w), pr = outer(p);
    if (std::abs((pr.right - pr.left) - (wr.right - wr.left)) > 60 ||
        std::abs((pr.bottom - pr.top) - (wr.bottom - wr.top)) > 60)
      break;
    w = p;
  }
  const RECT r = outer(w);
  POINT pt{r.left, r.top};
  if (HWND p = GetParent(w)) ScreenToClient(p, &pt);
  return {pt.x, pt.y};
}

bool hostRectangle(HWND window, platform::Rect& out) {
  HWND parent = GetParent(window);
  if (!parent) return false;
  const RECT r = outer(parent);
  POINT pt{r.left, r.top};
  if (HWND grand = GetParent(parent)) ScreenToClient(grand, &pt);
  out = {pt.x, pt.y, pt.x + (r.right - r.left), pt.y + (r.bottom - r.top)};
  return true;
}

void resizeWithHost(HWND window, int32_t width, int32_t height) {
  const int limit = 2 * GetSystemMetrics(SM_CYDLGFRAME);
  int dx = 0, dy = 0;
  HWND w = window;
  for (int guard = 0; w && guard < 16; ++guard) {
    HWND p = GetParent(w);
    if (!p) break;
    char cls[32] = {};
    GetClassNameA(p, cls, sizeof cls);
    if (std::strcmp(cls, "MDIClient") == 0) break;
    setSize(w, width + dx, height + dy);
    const RECT pr = outer(p), wr = outer(w);
    const int gx = (pr.right - pr.left) - (wr.right - wr.left);
    if (gx + dx > 80) return;
    dy += (pr.bottom - pr.top) - (wr.bottom - wr.top);
    if (dy > 80) return;
    dx = std::max(0, gx + dx);
    dy = std::max(0, dy);
    w = p;
    if (dx == limit) break;
  }
  if (w) setSize(w, width + dx, height + dy);
}

}  // namespace win32
