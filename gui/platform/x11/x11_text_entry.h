#pragma once
// The X11 text entry: our own, drawn on the window's raster back buffer from a shared
// editing model (raster::EditLine), with the usual key bindings.
#include <X11/Xlib.h>

#include <string>

#include "gui/platform/platform.h"
#include "gui/platform/raster/edit_line.h"

namespace x11 {

class X11Window;

class X11TextEntry : public platform::TextEntry {
 public:
  X11TextEntry(X11Window* w, const platform::TextEntryParams& p, platform::TextEntryListener* l);
  ~X11TextEntry() override;
  size_t text(char* out, size_t cap) const override;
  const platform::Rect& rect() const { return look_.rect; }
  void draw(platform::Surface& s) const { raster::drawEditLine(s, line_, look_); }
  // A key press; Return and Escape tell the listener, which may delete the entry.
  void key(KeySym sym, const char* typed, int length, unsigned int state);
  void click(int32_t x, bool extend, bool selectAll);
  void drag(int32_t x) { line_.moveTo(raster::editLinePosition(line_, look_, x), true); }
  void loseFocus() {
    if (listener_) listener_->textEntryFocusLost();
  }

 private:
  X11Window* window_;
  std::string fontName_;
  raster::EditLineLook look_;
  raster::EditLine line_;
  platform::TextEntryListener* listener_;
};

}  // namespace x11
