#pragma once
// A single-line text entry's editing state and its drawing on a surface: text, caret
// and selection, limited in length. Window systems that draw their own entries (X11)
// keep one of these and feed it keys and clicks; text is bytes (Latin-1, as the
// raster's text draws them).
#include <string>

#include "gui/platform/platform.h"

namespace raster {

class EditLine {
 public:
  EditLine(const char* text, size_t maxChars);

  const std::string& text() const { return text_; }
  size_t caret() const { return caret_; }
  size_t selectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  size_t selectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  bool hasSelection() const { return caret_ != anchor_; }

  void selectAll();
  // Replaces the selection with the printable characters of s, up to the limit.
  void insert(const char* s);
  void backspace();
  void erase();  // Delete: the selection or the character after the caret
  // Caret moves; `extend` keeps the anchor (Shift held), else the selection goes.
  void home(bool extend) { moveTo(0, extend); }
  void end(bool extend) { moveTo(text_.size(), extend); }
  void left(bool extend);
  void right(bool extend);
  void moveTo(size_t pos, bool extend);

 private:
  void removeSelection();
  std::string text_;
  size_t max_;
  size_t caret_ = 0, anchor_ = 0;
};

// How an entry looks: its rectangle in surface coordinates and its colours. The text
// is vertically centred; alignment applies while it fits, else it scrolls to show
// the caret.
struct EditLineLook {
  platform::Rect rect;
  platform::FontSpec font;
  platform::TextAlign align = platform::kAlignLeft;
  platform::Color textColor{255, 255, 255, 255};
  platform::Color backColor{0, 0, 0, 255};
};

void drawEditLine(platform::Surface& s, const EditLine& e, const EditLineLook& look);
// The caret position nearest to a surface x coordinate.
size_t editLinePosition(const EditLine& e, const EditLineLook& look, int32_t x);

}  // namespace raster
