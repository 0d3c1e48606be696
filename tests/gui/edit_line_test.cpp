// The single-line editing model that window systems drawing their own text entries
// (X11) share, and how it draws on the raster.
#include "gui/platform/raster/edit_line.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/platform/raster/raster_surface.h"

using raster::EditLine;

TEST(EditLine, TypingReplacesTheSelectionUpToTheLimit) {
  EditLine e("1.50 sec", 255);
  EXPECT_EQ(e.selectionStart(), 0u);  // opens with everything selected
  EXPECT_EQ(e.selectionEnd(), 8u);
  e.insert("3\t se\x7f" "c");  // control characters are not text
  EXPECT_EQ(e.text(), "3 sec");
  EXPECT_FALSE(e.hasSelection());
  EXPECT_EQ(e.caret(), 5u);

  EditLine full(std::string(300, 'x').c_str(), 255);
  EXPECT_EQ(full.text().size(), 255u);
  full.end(false);
  full.insert("y");
  EXPECT_EQ(full.text().size(), 255u);
  full.backspace();
  full.insert("yz");
  EXPECT_EQ(full.text().back(), 'y');
  EditLine none(nullptr, 255);
  EXPECT_EQ(none.text(), "");
  none.backspace();
  none.erase();
  none.left(false);
  EXPECT_EQ(none.caret(), 0u);
}

TEST(EditLine, CaretSelectionBackspaceAndDelete) {
  EditLine e("abcdef", 255);
  e.left(false);  // a selection collapses to its start
  EXPECT_EQ(e.caret(), 0u);
  EXPECT_FALSE(e.hasSelection());
  e.right(false);
  e.right(true);
  e.right(true);  // "bc" selected
  EXPECT_EQ(e.selectionStart(), 1u);
  EXPECT_EQ(e.selectionEnd(), 3u);
  e.backspace();
  EXPECT_EQ(e.text(), "adef");
  EXPECT_EQ(e.caret(), 1u);
  e.erase();
  EXPECT_EQ(e.text(), "aef");
  e.end(false);
  e.erase();  // nothing after the caret
  e.backspace();
  EXPECT_EQ(e.text(), "ae");
  e.home(true);  // Shift+Home selects back to the start
  e.insert("Z");
  EXPECT_EQ(e.text(), "Z");
  e.moveTo(99, false);
  EXPECT_EQ(e.caret(), 1u);
  e.home(false);
  e.right(false);
  e.right(false);
  EXPECT_EQ(e.caret(), 1u);  // stops at the end
}

namespace {
constexpr uint32_t kWhite = 0xffffffffu, kBlack = 0xff000000u;
int countColumn(const raster::RasterSurface& s, int x, int top, int bottom, uint32_t c) {
  int n = 0;
  for (int y = top; y < bottom; ++y) n += s.pixel(x, y) == c;
  return n;
}
}  // namespace

TEST(EditLine, DrawsSelectionInvertedAndTheCaretWhereClicksPutIt) {
  raster::RasterSurface s(200, 40);
  raster::EditLineLook look;
  look.rect = {10, 10, 110, 27};
  look.font = {"Arial", 12, 0};
  EditLine e("12.5 ms", 255);
  raster::drawEditLine(s, e, look);
  // All selected: a run of the text colour as background, lettering cut out of it.
  int lit = 0;
  for (int x = 10; x < 110; ++x) lit += countColumn(s, x, 10, 27, kWhite);
  EXPECT_GT(lit, 200);
  EXPECT_EQ(s.pixel(5, 15), 0u) << "drew outside its rectangle";
  EXPECT_EQ(s.pixel(109, 26), kBlack);  // the last row and column are background

  // A click puts the caret at the nearest character boundary; it draws as a full-height
  // line in the text colour.
  const int32_t afterTwo = 11 + raster::RasterSurface::textWidth("12", look.font);
  e.moveTo(raster::editLinePosition(e, look, afterTwo + 1), false);
  EXPECT_EQ(e.caret(), 2u);
  raster::drawEditLine(s, e, look);
  EXPECT_GE(countColumn(s, afterTwo, 10, 27, kWhite), 10);
  EXPECT_EQ(raster::editLinePosition(e, look, -50), 0u);
  EXPECT_EQ(raster::editLinePosition(e, look, 500), e.text().size());

  // Too long to fit: the view follows the caret at the end, still inside the box.
  EditLine longer(std::string(60, 'W').c_str(), 255);
  longer.end(false);
  raster::RasterSurface t(200, 40);
  raster::drawEditLine(t, longer, look);
  int caretColumns = 0;
  for (int x = 100; x < 109; ++x) caretColumns += countColumn(t, x, 10, 27, kWhite) >= 10;
  EXPECT_GE(caretColumns, 1) << "the caret is not in view";
  EXPECT_EQ(t.pixel(115, 15), 0u);
}
