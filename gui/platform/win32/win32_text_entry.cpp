#include "gui/platform/win32/win32_text_entry.h"

#include <algorithm>

#include "gui/platform/win32/win32_font.h"
#include "gui/platform/win32/win32_objects.h"
#include "gui/platform/win32/win32_surface.h"

namespace win32 {
namespace {

WNDPROC gEditProc = nullptr;  // the EDIT class procedure that ours hands messages to

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Win32TextEntry* entry = textEntryOf(hwnd);
  WNDPROC next = gEditProc ? gEditProc : DefWindowProcA;
  if (entry) {
    // The listener may destroy the entry and its window: touch neither afterwards.
    platform::TextEntryListener* l = entry->listener();
    switch (msg) {
      case WM_KILLFOCUS:
        if (l) l->textEntryFocusLost();
        break;
      case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProcA(next, hwnd, msg, wp, lp);
      case WM_KEYDOWN:
        if (wp == VK_RETURN) {
          if (l) l->textEntryReturn();
          return 0;
        }
        if (wp == VK_ESCAPE) {  // the display keeps its old value
          if (l) l->textEntryCancel();
          return 0;
        }
        break;
      case WM_CHAR:
        // No beep for the Return or Escape that closed the field.
        if (wp == '\r' || wp == 27) return 0;
        break;
      default:
        break;
    }
  }
  if (!IsWindow(hwnd)) return 0;
  return CallWindowProcA(next, hwnd, msg, wp, lp);
}

}  // namespace

Win32TextEntry::Win32TextEntry(HWND parent, const platform::TextEntryParams& p,
                               platform::TextEntryListener* l)
    : listener_(l), text_(p.textColor), back_(p.backColor) {
  DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
  style |= p.align == platform::kAlignLeft    ? ES_LEFT
           : p.align == platform::kAlignRight ? ES_RIGHT
                                              : ES_CENTER;
  hwnd_ = made(CreateWindowExA(0, "EDIT", p.text ? p.text : "", style, p.rect.left, p.rect.top,
                               p.rect.width(), p.rect.height(), parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr));
  if (!hwnd_) return;
  font_ = makeEntryFont(p.font);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  SendMessageA(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  SendMessageA(hwnd_, EM_SETSEL, 0, -1);
  SendMessageA(hwnd_, EM_LIMITTEXT, kMaxChars, 0);
  SetFocus(hwnd_);
  WNDPROC old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editProc)));
  if (!gEditProc) gEditProc = old;
}

Win32TextEntry::~Win32TextEntry() {
  if (hwnd_) {
    // Detach first, so that the focus loss caused by destruction finds nothing to do.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    // Closed by Return or Escape: the keyboard goes back to the frame window, whose
    // unused keys reach the host.
    if (GetFocus() == hwnd_) SetFocus(GetParent(hwnd_));
    freed(DestroyWindow(hwnd_));
  }
  if (font_) freed(DeleteObject(font_));
  if (brush_) freed(DeleteObject(brush_));
}

size_t Win32TextEntry::text(char* out, size_t cap) const {
  if (!out || cap == 0) return 0;
  out[0] = 0;
  if (!hwnd_) return 0;
  int n = GetWindowTextA(hwnd_, out, static_cast<int>(std::min<size_t>(cap, kMaxChars + 1)));
  return n > 0 ? static_cast<size_t>(n) : 0;
}

HBRUSH Win32TextEntry::colours(HDC dc) {
  SetTextColor(dc, rgb(text_));
  SetBkColor(dc, rgb(back_));
  HBRUSH b = made(CreateSolidBrush(rgb(back_)));
  if (brush_) freed(DeleteObject(brush_));
  brush_ = b;
  return brush_;
}

Win32TextEntry* textEntryOf(HWND edit) {
  return reinterpret_cast<Win32TextEntry*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
}

}  // namespace win32
