// Drawing results on the raster: premultiplied pixels, blending, clipping, lines, text.
#include <cstring>

#include "gui/platform/raster/raster_surface.h"
#include "tests/gui/helpers.h"

namespace {
struct Ctx {
  raster::RasterSurface surface{40, 30};
  CDrawContext* ctx = new CDrawContext(nullptr, &surface);
  ~Ctx() { ctx->release(); }
  uint32_t at(int x, int y) const { return surface.pixel(x, y); }
};
}  // namespace

TEST(Drawing, PremultipliedPixelsAndSourceOverBlend) {
  const uint32_t p = premultiplyRGBA(200, 100, 50, 128);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&p);
  EXPECT_EQ(bytes[0], 25);
  EXPECT_EQ(bytes[1], 50);
  EXPECT_EQ(bytes[2], 100);
  EXPECT_EQ(bytes[3], 128);
  EXPECT_EQ(premultiplyRGBA(255, 255, 255, 0), 0u);

  Ctx c;
  c.ctx->setFillColor(kWhiteCRGBA);
  c.ctx->fillRect(CBounds(0, 0, 40, 30));
  uint32_t img[4] = {p, p, p, p};
  auto* bmp = new CBitmap(2, 2, img, false);
  bmp->draw(c.ctx, CBounds(1, 1, 3, 3));  // images with alpha blend
  // white * (1 - 128/255) + source: 127 + 25, 127 + 50, 127 + 100.
  EXPECT_EQ(c.at(1, 1), bgra(227, 177, 152));
  EXPECT_EQ(c.at(3, 3), bgra(255, 255, 255));
  bmp->drawAlphaBlend(c.ctx, CBounds(10, 10, 12, 12), CPosition(), 0);  // constant alpha 0
  EXPECT_EQ(c.at(10, 10), bgra(255, 255, 255));
  bmp->drawAlphaBlend(c.ctx, CBounds(20, 20, 22, 22), CPosition(), 128);
  EXPECT_EQ(c.at(20, 20), raster::blendPixel(bgra(255, 255, 255), p, 128));
  // An opaque image with a key colour leaves key pixels alone.
  uint32_t opaque[2] = {bgra(255, 0, 255), bgra(0, 0, 255)};
  auto* keyed = new CBitmap(2, 1, opaque, true);
  keyed->setTransparentColor(kMagentaCRGBA);
  keyed->drawTransparent(c.ctx, CBounds(5, 5, 7, 6));
  EXPECT_EQ(c.at(5, 5), bgra(255, 255, 255));
  EXPECT_EQ(c.at(6, 5), bgra(0, 0, 255));
  keyed->draw(c.ctx, CBounds(5, 7, 7, 8));
  EXPECT_EQ(c.at(5, 7), bgra(255, 0, 255));
  // Source offsets and areas past the image are cut, never read outside it.
  keyed->draw(c.ctx, CBounds(30, 0, 40, 10), CPosition(1, 0));
  EXPECT_EQ(c.at(30, 0), bgra(0, 0, 255));
  EXPECT_EQ(c.at(31, 0), bgra(255, 255, 255));
  keyed->draw(c.ctx, CBounds(0, 0, 5, 5), CPosition(-100, 5000));
  keyed->dispose();
  EXPECT_EQ(keyed->getWidth(), 0);
  keyed->draw(c.ctx, CBounds(0, 0, 5, 5));  // no image: nothing
  EXPECT_FALSE(keyed->loadFromPath("x.png"));
  bmp->release();
  keyed->release();
  CBitmap bad(-5, 3, img, false);
  EXPECT_FALSE(bad.isLoaded());
}

TEST(Drawing, ClipOffsetLinesAndRectangles) {
  Ctx c;
  c.ctx->setClipRect(CBounds(5, 5, 15, 15));
  c.ctx->setFillColor(kRedCRGBA);
  c.ctx->fillRect(CBounds(0, 0, 40, 30));
  EXPECT_EQ(c.at(4, 4), 0u);
  EXPECT_EQ(c.at(5, 5), bgra(255, 0, 0));
  EXPECT_EQ(c.at(14, 14), bgra(255, 0, 0));
  EXPECT_EQ(c.at(15, 15), 0u);
  EXPECT_EQ(c.ctx->getClipRect(), CBounds(5, 5, 15, 15));
  const int changes = c.ctx->clipChanges();
  c.ctx->setClipRect(CBounds(5, 5, 15, 15));
  EXPECT_EQ(c.ctx->clipChanges(), changes);  // unchanged: not selected again

  c.ctx->setClipRect(CBounds(0, 0, 40, 30));
  c.ctx->setDrawOffset(CPosition(20, 0));
  c.ctx->setFrameColor(kGreenCRGBA);
  c.ctx->drawRect(CBounds(0, 20, 10, 30));  // edges at right-1 and bottom-1
  EXPECT_EQ(c.at(20, 20), bgra(0, 255, 0));
  EXPECT_EQ(c.at(29, 29), bgra(0, 255, 0));
  EXPECT_EQ(c.at(29, 25), bgra(0, 255, 0));
  EXPECT_EQ(c.at(25, 25), 0u);
  EXPECT_EQ(c.at(30, 25), 0u);
  c.ctx->setDrawOffset(CPosition());
  c.ctx->moveTo(CPosition(0, 25));
  c.ctx->lineTo(CPosition(10, 25));  // the end point is not drawn
  EXPECT_EQ(c.at(9, 25), bgra(0, 255, 0));
  EXPECT_EQ(c.at(10, 25), 0u);
  c.ctx->setLineWidth(3);
  c.ctx->moveTo(CPosition(0, 2));
  c.ctx->lineTo(CPosition(4, 2));
  EXPECT_EQ(c.at(1, 1), bgra(0, 255, 0));
  EXPECT_EQ(c.at(1, 3), bgra(0, 255, 0));
  c.ctx->moveTo(CPosition(-2000000000, 0));  // absurd coordinates: nothing, no hang
  c.ctx->lineTo(CPosition(2000000000, 5));

  // Same colour twice: the brush is made once.
  const int brushes = c.ctx->brushCreations();
  c.ctx->setFillColor(kBlueCRGBA);
  c.ctx->setFillColor(kBlueCRGBA);
  EXPECT_EQ(c.ctx->brushCreations(), brushes + 1);
  const int pens = c.ctx->penCreations();
  c.ctx->setFrameColor(kBlueCRGBA);
  c.ctx->setFrameColor(kBlueCRGBA);
  c.ctx->setLineWidth(3);
  EXPECT_EQ(c.ctx->penCreations(), pens + 1);
}

namespace {
int leftmostInk(const raster::RasterSurface& s) {
  for (int x = 0; x < s.width(); ++x)
    for (int y = 0; y < s.height(); ++y)
      if (s.pixel(x, y) != 0) return x;
  return -1;
}
int rightmostInk(const raster::RasterSurface& s) {
  for (int x = s.width() - 1; x >= 0; --x)
    for (int y = 0; y < s.height(); ++y)
      if (s.pixel(x, y) != 0) return x;
  return -1;
}
}  // namespace

TEST(Drawing, TextIsAlignedAndStartsOnePixelInForLeftAlignment) {
  const platform::FontSpec arial{"Arial", 12, 0};
  int32_t a = 0, d = 0, w = 0;
  ASSERT_TRUE(raster::textMetrics("Hg", arial, a, d, w)) << "no font for Arial";
  EXPECT_GT(a, 8);
  EXPECT_GT(w, 10);

  // Left: the glyphs start where a text placed at rect.left + 1 starts.
  raster::RasterSurface left(80, 20), ref(80, 20);
  left.text("H", {10, 0, 70, 20}, arial, {255, 255, 255, 255}, {0, 0, 0, 0}, platform::kAlignLeft);
  struct Sink : raster::GlyphSink {
    raster::RasterSurface* s;
    void coverage(int32_t x, int32_t y, uint8_t v) override {
      if (v && x >= 0 && y >= 0 && x < s->width() && y < s->height()) s->pixels()[y * s->stride() + x] = 1;
    }
  } sink;
  sink.s = &ref;
  raster::renderText("H", arial, 11, 10, sink);
  EXPECT_EQ(leftmostInk(left), leftmostInk(ref));
  raster::RasterSurface atZero(80, 20);
  atZero.text("H", {0, 0, 60, 20}, arial, {255, 255, 255, 255}, {0, 0, 0, 0}, platform::kAlignLeft);
  EXPECT_EQ(leftmostInk(left), leftmostInk(atZero) + 10);

  // Right and centre.
  raster::RasterSurface right(80, 20), centre(80, 20);
  right.text("H", {10, 0, 70, 20}, arial, {255, 255, 255, 255}, {0, 0, 0, 0}, platform::kAlignRight);
  EXPECT_LE(rightmostInk(right), 69);
  EXPECT_GE(rightmostInk(right), 64);
  centre.text("H", {10, 0, 70, 20}, arial, {255, 255, 255, 255}, {0, 0, 0, 0}, platform::kAlignCenter);
  const int mid = (leftmostInk(centre) + rightmostInk(centre)) / 2;
  EXPECT_NEAR(mid, 40, 2);

  // Clipped to its rectangle; an opaque background fills behind the text.
  raster::RasterSurface clipped(80, 20);
  clipped.text("WWWWWWWWWW", {10, 0, 30, 20}, arial, {255, 255, 255, 255}, {0, 0, 255, 255},
               platform::kAlignLeft);
  EXPECT_GE(leftmostInk(clipped), 10);
  EXPECT_LE(rightmostInk(clipped), 29);
  EXPECT_EQ(clipped.pixel(11, 10) >> 24, 255u);

  // Through a context: bold faces exist, nothing is drawn without a surface.
  raster::RasterSurface s(80, 20);
  CDrawContext* ctx = new CDrawContext(nullptr, &s);
  ctx->setFont(kNormalFont, 0, kBoldFace);
  EXPECT_NE(ctx->getFont(), kNormalFont);  // a private description with the new style
  EXPECT_EQ(ctx->getFont()->getStyle(), kBoldFace);
  ctx->drawString("Bold", CBounds(0, 0, 80, 20), false, kLeftText);
  EXPECT_GE(leftmostInk(s), 1);
  ctx->setFont(kNormalFont);
  EXPECT_EQ(ctx->getFont(), kNormalFont);
  ctx->drawString(nullptr, CBounds(0, 0, 80, 20));
  ctx->release();
  CDrawContext* none = new CDrawContext(nullptr, nullptr);
  none->drawString("x", CBounds(0, 0, 10, 10));
  none->fillRect(CBounds(0, 0, 10, 10));
  none->release();
}

TEST(Drawing, OffscreenStartsFilledAndCopiesOut) {
  auto* off = new COffscreenContext(nullptr, 10, 8, kRedCRGBA);
  EXPECT_EQ(off->surface()->pixels()[0], bgra(255, 0, 0));
  EXPECT_EQ(off->surface()->pixels()[7 * 10 + 9], bgra(255, 0, 0));
  off->setFillColor(kGreenCRGBA);
  off->fillRect(CBounds(2, 2, 4, 4));
  Ctx c;
  c.ctx->setDrawOffset(CPosition(5, 5));
  off->copyTo(c.ctx, CBounds(0, 0, 4, 4), CPosition(1, 1));
  EXPECT_EQ(c.at(5, 5), bgra(255, 0, 0));
  EXPECT_EQ(c.at(6, 6), bgra(0, 255, 0));
  EXPECT_EQ(c.at(9, 9), 0u);
  off->release();
  auto* empty = new COffscreenContext(nullptr, -3, 100000, kRedCRGBA);  // refused sizes
  empty->fillRect(CBounds(0, 0, 5, 5));
  empty->release();
}

TEST(Drawing, GlobalFontsAndColours) {
  ASSERT_NE(kSystemFont, nullptr);
  EXPECT_STREQ(kNormalFont->getName(), "Arial");
  EXPECT_EQ(kNormalFont->getSize(), 12);
  EXPECT_EQ(kNormalFontVeryBig->getSize(), 18);
  EXPECT_EQ(kNormalFontBig->getSize(), 14);
  EXPECT_EQ(kNormalFontSmall->getSize(), 11);
  EXPECT_EQ(kNormalFontSmaller->getSize(), 10);
  EXPECT_EQ(kNormalFontVerySmall->getSize(), 9);
  EXPECT_STREQ(kSymbolFont->getName(), "Symbol");
  EXPECT_EQ(kSymbolFont->getSize(), 13);
  EXPECT_EQ(kTransparentCRGBA, (CRGBA{255, 255, 255, 0}));
  EXPECT_EQ(kGreyCRGBA, (CRGBA{127, 127, 127, 255}));
  CFontDesc f("Arial", 10);
  f.fontSpec();
  f.fontSpec();
  EXPECT_EQ(f.fontCreations(), 1);  // made once
  f.setName("Liberation Sans");
  f.fontSpec();
  EXPECT_EQ(f.fontCreations(), 2);  // a rename makes it anew
}
