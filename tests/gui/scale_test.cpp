// The frame's zoom on the raster: units in, pixels out, in one place.
#include "gui/platform/x11/xft_dpi.h"
#include "gui/scale.h"
#include "tests/gui/helpers.h"

using Zoom = FrameFixture;

// Edges lie at floor(u * f + 1/2); a pixel belongs to the unit whose pixels hold it;
// the units covering a pixel area hold every pixel of it.
TEST(Scale, EdgesAndUnitsAgree) {
  for (double f : {1.0, 1.5, 2.0, 1.25, 3.0}) {
    const CScale s(f);
    for (int u = -20; u < 40; ++u)
      for (int p = s.toPixels(u); p < s.toPixels(u + 1); ++p) EXPECT_EQ(s.toUnits(p), u) << f << " " << p;
    const CBounds c = s.unitsCovering({7, 3, 20, 4});
    EXPECT_LE(s.toPixels(c.left), 7);
    EXPECT_GE(s.toPixels(c.right), 20);
    EXPECT_LE(s.toPixels(c.top), 3);
    EXPECT_GE(s.toPixels(c.bottom), 4);
  }
  EXPECT_EQ(CScale(1.5).toPixels(CBounds(1, 1, 3, 3)).left, 2);
  EXPECT_EQ(CScale(0.0).factor, 1.0);  // nonsense factors are 1
  EXPECT_EQ(CScale(std::nan("")).factor, 1.0);
}

// At 2x the window is twice the frame's size; events arrive in units; invalidation
// asks for the pixels; views draw their units as twice as many pixels, lines as thick
// as their units say.
TEST_F(Zoom, FrameMapsEventsRepaintsAndDrawing) {
  ASSERT_TRUE(frame->setZoom(2.0));
  EXPECT_EQ(win().surface().width(), 400);
  EXPECT_EQ(win().surface().height(), 200);
  EXPECT_EQ(frame->getViewSize(), CBounds(0, 0, 200, 100));
  auto* v = new RecView(CBounds(10, 10, 20, 20));
  frame->addView(v);
  win().mouseDown(39, 21, kLButton);
  EXPECT_EQ(v->lastWhere, CPosition(19, 10));
  win().mouseUp(39, 21, kLButton);
  paintAll();
  v->invalidate();
  EXPECT_EQ(win().pendingRect().left, 20);
  EXPECT_EQ(win().pendingRect().right, 40);

  const uint32_t black = bgra(0, 0, 0);  // the frame's background
  CDrawContext* c = new CDrawContext(frame, nullptr);
  c->setFillColor(kRedCRGBA);
  c->fillRect(CBounds(1, 1, 3, 2));
  EXPECT_EQ(px(1, 2), black);
  EXPECT_EQ(px(2, 2), bgra(255, 0, 0));
  EXPECT_EQ(px(5, 3), bgra(255, 0, 0));
  EXPECT_EQ(px(6, 3), black);
  EXPECT_EQ(px(5, 4), black);
  c->setFrameColor(kGreenCRGBA);
  c->moveTo(CPosition(10, 30));
  c->lineTo(CPosition(15, 30));  // five units long, one thick, end point not drawn
  EXPECT_EQ(px(20, 60), bgra(0, 255, 0));
  EXPECT_EQ(px(29, 61), bgra(0, 255, 0));
  EXPECT_EQ(px(30, 60), black);
  EXPECT_EQ(px(20, 62), black);
  c->setClipRect(CBounds(50, 50, 51, 51));
  EXPECT_EQ(c->getClipRect(), CBounds(50, 50, 51, 51));
  c->setClipRect(CBounds(0, 0, 200, 100));
  c->release();
  EXPECT_FALSE(frame->setZoom(0.0));
  EXPECT_FALSE(frame->setZoom(std::nan("")));
  EXPECT_EQ(frame->getScale().factor, 2.0);
}

// Text is set at the scaled pixel height, each height a platform font of its own.
TEST_F(Zoom, FontsAtTheScaledHeight) {
  CFontDesc* f = new CFontDesc("Arial", 12);
  EXPECT_EQ(f->fontSpec().pixelHeight, 12);
  EXPECT_EQ(f->fontSpec(CScale(1.5)).pixelHeight, 18);
  EXPECT_EQ(f->fontSpec(CScale(2.0)).pixelHeight, 24);
  const int made = f->fontCreations();
  f->fontSpec(CScale(2.0));
  EXPECT_EQ(f->fontCreations(), made);  // the same height again makes nothing
  f->release();
}

// A bitmap drawn at its own scale is copied pixel for pixel; at another scale it is
// resampled once (nearest pixel) and the copy kept.
TEST_F(Zoom, BitmapsWithAScale) {
  // 2 x 1 units at 2x: a red and a blue unit of 2 x 2 pixels.
  const uint32_t r = bgra(255, 0, 0), b = bgra(0, 0, 255);
  const uint32_t twoX[] = {r, r, b, b, r, r, b, b};
  CBitmap* bm = new CBitmap(4, 2, twoX, true, 2.0, 2, 1);
  EXPECT_EQ(bm->getWidth(), 2);
  EXPECT_EQ(bm->getPixelWidth(), 4);
  ASSERT_TRUE(frame->setZoom(2.0));
  CDrawContext* c = new CDrawContext(frame, nullptr);
  bm->draw(c, CBounds(5, 5, 7, 6));
  EXPECT_EQ(px(10, 10), r);
  EXPECT_EQ(px(11, 11), r);
  EXPECT_EQ(px(12, 10), b);
  EXPECT_EQ(px(13, 11), b);
  EXPECT_EQ(px(14, 10), 0u);
  bm->draw(c, CBounds(5, 8, 6, 9), CPosition(1, 0));  // the second unit alone
  EXPECT_EQ(px(10, 16), b);
  EXPECT_EQ(bm->resamplings(), 0);
  c->release();
  ASSERT_TRUE(frame->setZoom(1.0));
  c = new CDrawContext(frame, nullptr);
  bm->draw(c, CBounds(0, 0, 2, 1));
  bm->draw(c, CBounds(0, 1, 2, 2));
  EXPECT_EQ(px(0, 0), r);
  EXPECT_EQ(px(1, 0), b);
  EXPECT_EQ(px(2, 0), 0u);
  EXPECT_EQ(bm->resamplings(), 1);
  c->release();
  bm->release();
}

// Text entries open at the control's pixels with the font at the scaled height.
TEST_F(Zoom, TextEntryAtTheZoomedPlace) {
  ASSERT_TRUE(frame->setZoom(1.5));
  auto* edit = new CTextEdit(CBounds(10, 20, 58, 34), nullptr, 1);
  frame->addView(edit);
  edit->takeFocus();
  raster::RasterTextEntry* e = win().focusedEntry();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->params().rect.left, 15);
  EXPECT_EQ(e->params().rect.top, 30);
  EXPECT_EQ(e->params().rect.right, 89);  // 59 units
  EXPECT_EQ(e->params().font.pixelHeight, 18);  // 12 at 1x
  edit->loseFocus();
}

// Xft.dpi from the resource database text: found on any line, the last one wins,
// nonsense and absence answer 0.
TEST(XftDpi, ParsesTheResourceText) {
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\t192\n"), 2.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 1.5);
  EXPECT_EQ(x11::xftDpiScale("  Xft.dpi :  96"), 1.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\t120\nXft.dpi:\t192\n"), 2.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\t96.5\n"), 96.5 / 96.0);
  EXPECT_EQ(x11::xftDpiScale(nullptr), 0.0);
  EXPECT_EQ(x11::xftDpiScale(""), 0.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpix:\t192\n"), 0.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\tlots\n"), 0.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\t192 dpi\n"), 0.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\t0\n"), 0.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\t1e308\n"), 0.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:\tnan\n"), 0.0);
  EXPECT_EQ(x11::xftDpiScale("Xft.dpi:"), 0.0);
}
