#include "gui/platform/x11/x11_text_entry.h"

#include <X11/keysym.h>

#include <algorithm>

#include "gui/platform/x11/x11_window.h"

namespace x11 {

X11TextEntry::X11TextEntry(X11Window* w, const platform::TextEntryParams& p,
                           platform::TextEntryListener* l)
    : window_(w), fontName_(p.font.name ? p.font.name : "Arial"),
      line_(p.text, platform::TextEntry::kMaxChars), listener_(l) {
  look_.rect = p.rect;
  look_.font = p.font;
  look_.font.name = fontName_.c_str();
  look_.font.native = nullptr;  // the frame's font object may go before this entry
  look_.align = p.align;
  look_.textColor = p.textColor;
  look_.backColor = p.backColor;
  window_->entryCreated(this);
}

X11TextEntry::~X11TextEntry() { window_->entryDestroyed(this); }

size_t X11TextEntry::text(char* out, size_t cap) const {
  if (!out || cap == 0) return 0;
  const std::string& t = line_.text();
  const size_t n = std::min(cap - 1, t.size());
  t.copy(out, n);
  out[n] = 0;
  return n;
}

void X11TextEntry::key(KeySym sym, const char* typed, int length, unsigned int state) {
  const bool shift = (state & ShiftMask) != 0;
  switch (sym) {
    case XK_Return: case XK_KP_Enter:
      if (listener_) listener_->textEntryReturn();  // may delete this entry
      return;
    case XK_Escape:
      if (listener_) listener_->textEntryCancel();  // may delete this entry
      return;
    case XK_BackSpace: line_.backspace(); break;
    case XK_Delete: case XK_KP_Delete: line_.erase(); break;
    case XK_Home: case XK_KP_Home: line_.home(shift); break;
    case XK_End: case XK_KP_End: line_.end(shift); break;
    case XK_Left: case XK_KP_Left: line_.left(shift); break;
    case XK_Right: case XK_KP_Right: line_.right(shift); break;
    default:
      if ((state & ControlMask) && (sym == XK_a || sym == XK_A)) {
        line_.selectAll();
      } else if (length > 0 && !(state & ControlMask)) {
        line_.insert(typed);
      } else {
        return;
      }
      break;
  }
  window_->invalidate(look_.rect);
}

void X11TextEntry::click(int32_t x, bool extend, bool selectAll) {
  if (selectAll) line_.selectAll();
  else line_.moveTo(raster::editLinePosition(line_, look_, x), extend);
}

}  // namespace x11
