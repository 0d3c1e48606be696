#include "gui/platform/win32/win32_window.h"

#include "gui/platform/input.h"
#include "gui/platform/win32/win32_blending.h"
#include "gui/platform/win32/win32_drop_target.h"
#include "gui/platform/win32/win32_host_windows.h"
#include "gui/platform/win32/win32_objects.h"
#include "gui/platform/win32/win32_surface.h"
#include "gui/platform/win32/win32_text_entry.h"

namespace win32 {
namespace {

const char kClassName[] = "TVSTEditor";
int gClassUses = 0;
bool gSwapped = false;

HINSTANCE instanceHandle() { return GetModuleHandleA(nullptr); }
HCURSOR arrow() { return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)); }

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* w = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
  return w->handle(msg, wp, lp);
}

void registerClass() {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = frameProc;
  wc.hInstance = instanceHandle();
  wc.hCursor = arrow();
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  gSwapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

}  // namespace

SORAVEL_TEST_HOOK(int windowClassUses() { return gClassUses; })
bool buttonsSwapped() { return gSwapped; }

Win32Window::Win32Window(HWND parent, int w, int h, platform::WindowListener* l) : listener_(l) {
  OleInitialize(nullptr);
  acquireBlending();
  if (gClassUses++ == 0) registerClass();
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  // From version 6 on the system composes the window's painting off screen.
  const DWORD exStyle = v.dwMajorVersion >= 6 ? WS_EX_COMPOSITED : 0;
  oldSystem_ = v.dwMajorVersion < 6;
  hwnd_ = made(CreateWindowExA(exStyle, kClassName, "VSTEditor",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, w,
                               h, parent, nullptr, instanceHandle(), nullptr));
  if (hwnd_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Window::~Win32Window() {
  back_.reset();
  setDropTarget(nullptr);
  if (defaultCursor_) SetCursor(defaultCursor_);
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    freed(DestroyWindow(hwnd_));
  }
  if (--gClassUses == 0) UnregisterClassA(kClassName, instanceHandle());
  releaseBlending();
  OleUninitialize();
}

void Win32Window::invalidate(const platform::Rect& r) {
  RECT rc{r.left, r.top, r.right, r.bottom};
  InvalidateRect(hwnd_, &rc, TRUE);
}

void Win32Window::setCapture(bool on) {
  if (on) SetCapture(hwnd_);
  else ReleaseCapture();
}

platform::Point Win32Window::screenOrigin() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top};
}

void Win32Window::setCursor(int32_t type) {
  // The cursor before the first change comes back when the window goes.
  if (!defaultCursor_) {
    defaultCursor_ = GetCursor();
    if (!defaultCursor_) defaultCursor_ = arrow();
  }
  LPCSTR id = nullptr;
  switch (type) {
    case kCursorWait: id = reinterpret_cast<LPCSTR>(IDC_WAIT); break;
    case kCursorHSize: id = reinterpret_cast<LPCSTR>(IDC_SIZEWE); break;
    case kCursorVSize: id = reinterpret_cast<LPCSTR>(IDC_SIZENS); break;
    case kCursorSizeAll: id = reinterpret_cast<LPCSTR>(IDC_SIZEALL); break;
    case kCursorNESWSize: id = reinterpret_cast<LPCSTR>(IDC_SIZENESW); break;
    case kCursorNWSESize: id = reinterpret_cast<LPCSTR>(IDC_SIZENWSE); break;
    case kCursorNotAllowed: id = reinterpret_cast<LPCSTR>(IDC_NO); break;
    case kCursorHand: id = reinterpret_cast<LPCSTR>(IDC_HAND); break;
    default: break;
  }
  // Kept for WM_SETCURSOR, which the system sends before every mouse move.
  cursor_ = id ? LoadCursorA(nullptr, id) : nullptr;
  SetCursor(cursorShown());
}

HCURSOR Win32Window::cursorShown() const { return cursor_ ? cursor_ : arrow(); }

platform::Point Win32Window::position() const { return editorPosition(hwnd_); }

bool Win32Window::hostRect(platform::Rect& out) const { return hostRectangle(hwnd_, out); }

void Win32Window::resize(int32_t width, int32_t height) {
  back_.reset();
  resizeWithHost(hwnd_, width, height);
}

std::unique_ptr<platform::Surface> Win32Window::drawSurface() {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return std::make_unique<Win32Surface>(made(GetDC(hwnd_)), r.right, r.bottom, hwnd_);
}

std::unique_ptr<platform::TextEntry> Win32Window::createTextEntry(
    const platform::TextEntryParams& p, platform::TextEntryListener* l) {
  auto e = std::make_unique<Win32TextEntry>(hwnd_, p, l);
  if (!e->hwnd()) return nullptr;
  return e;
}

bool Win32Window::setDropTarget(platform::DropListener* l) {
  if (drop_) {
    RevokeDragDrop(hwnd_);
    drop_->Release();
    drop_ = nullptr;
  }
  if (!l || !hwnd_) return true;
  drop_ = new DropTarget(hwnd_, l);
  if (RegisterDragDrop(hwnd_, drop_) != S_OK) {
    drop_->Release();
    drop_ = nullptr;
    return false;
  }
  return true;
}

}  // namespace win32
