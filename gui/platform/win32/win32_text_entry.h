#pragma once
// Text entry with the system's "EDIT" control, its window procedure replaced so that
// focus loss, Return and Escape reach the entry's listener.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/platform/platform.h"

namespace win32 {

class Win32TextEntry : public platform::TextEntry {
 public:
  Win32TextEntry(HWND parent, const platform::TextEntryParams& p, platform::TextEntryListener* l);
  ~Win32TextEntry() override;
  size_t text(char* out, size_t cap) const override;
  // Answers WM_CTLCOLOREDIT: the entry's colours, and the brush of its background.
  HBRUSH colours(HDC dc);
  HWND hwnd() const { return hwnd_; }
  platform::TextEntryListener* listener() const { return listener_; }

 private:
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH brush_ = nullptr;
  platform::TextEntryListener* listener_;
  platform::Color text_, back_;
};

// The entry an EDIT control window belongs to, if any.
Win32TextEntry* textEntryOf(HWND edit);

}  // namespace win32
