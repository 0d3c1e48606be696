#pragma once
// Drawing contexts, fonts and bitmaps.
//
// A CDrawContext draws on a platform surface with an integer drawing offset added to
// every coordinate; its clip rectangle is given and read in offset (local) coordinates
// and kept in surface coordinates. Coordinates are units; the context of a zoomed frame
// maps them to surface pixels (gui/scale.h): rectangles, lines and their widths, text
// at the scaled pixel height and images from the pixels made for that zoom, so that
// views draw the same at every zoom. Pens, brushes and clips are changed only when the
// requested value differs from the current one. CFontDesc and CBitmap are reference
// counted; a context retains its current font. COffscreenContext owns its surface.
#include <memory>
#include <vector>

#include "gui/base.h"
#include "gui/geometry.h"
#include "gui/scale.h"
#include "gui/platform/platform.h"
#include "gui/platform/test_hooks.h"

class CFrame;

enum CFontStyle : int32_t { kBoldFace = 1, kItalicFace = 2, kUnderlineFace = 4 };
enum CHoriTxtAlign : int32_t { kLeftText = 0, kCenterText = 1, kRightText = 2 };
enum CDrawMode : int32_t { kCopyMode = 0 };
enum CLineStyle : int32_t { kLineSolid = 0, kLineOnOffDash = 1 };

class CFontDesc : public CBaseObject {
 public:
  CFontDesc(const char* name = "Arial", int32_t size = 12, int32_t style = 0);
  ~CFontDesc() override;
  CFontDesc(const CFontDesc&) = delete;
  CFontDesc& operator=(const CFontDesc&) = delete;
  const char* getName() const { return name_; }
  void setName(const char* name);
  int32_t getSize() const { return size_; }
  void setSize(int32_t s);
  int32_t getStyle() const { return style_; }
  void setStyle(int32_t s);
  // The platform font description, with the platform's font made on first use and
  // kept until the description or the scale changes or it goes. The pixel height
  // equals the size in points times the scale, rounded. GUI thread only.
  platform::FontSpec fontSpec(const CScale& scale = CScale()) const;
#ifdef SORAVEL_TEST_HOOKS
  int32_t fontCreations() const { return creations_; }  // platform fonts made so far
#endif

 private:
  void dropNative();
  char* name_ = nullptr;
  int32_t size_;
  int32_t style_;
  mutable bool created_ = false;
  mutable int32_t createdHeight_ = 0;
#ifdef SORAVEL_TEST_HOOKS
  mutable int32_t creations_ = 0;
#endif
  mutable std::unique_ptr<platform::NativeFont> native_;
  mutable platform::Platform* nativeOwner_ = nullptr;
};

extern CFontDesc* kSystemFont;
extern CFontDesc* kNormalFontVeryBig;
extern CFontDesc* kNormalFontBig;
extern CFontDesc* kNormalFont;
extern CFontDesc* kNormalFontSmall;
extern CFontDesc* kNormalFontSmaller;
extern CFontDesc* kNormalFontVerySmall;
extern CFontDesc* kSymbolFont;

class CDrawContext : public CBaseObject {
 public:
  // Draws on `surface` (not owned). Without a surface and with a frame that has a
  // window, a surface on that window is fetched and owned.
  CDrawContext(CFrame* frame, platform::Surface* surface);
  ~CDrawContext() override;

  platform::Surface* surface() const { return surface_; }
  CFrame* getFrame() const { return frame_; }
  // Units to surface pixels: the frame's zoom (1 without a frame).
  const CScale& getScale() const { return scale_; }
  // A local rectangle in surface pixels (offset added, then scaled).
  platform::Rect toSurface(const CBounds& r) const;

  void setDrawOffset(const CPosition& p) { offset_ = p; }
  const CPosition& getDrawOffset() const { return offset_; }
  // The window's top-left on screen, asked of the window system when first needed
  // (some answer only through a round trip to their server).
  const CPosition& getScreenOffset() const;

  void setFrameColor(CRGBA c);
  CRGBA getFrameColor() const { return frameColor_; }
  void setFillColor(CRGBA c);
  CRGBA getFillColor() const { return fillColor_; }
  void setFontColor(CRGBA c);
  CRGBA getFontColor() const { return fontColor_; }
  void setLineWidth(int32_t w);
  int32_t getLineWidth() const { return lineWidth_; }
  void setLineStyle(int32_t s);
  int32_t getLineStyle() const { return lineStyle_; }
  void setDrawMode(int32_t m) { drawMode_ = m; }
  int32_t getDrawMode() const { return drawMode_; }

  void moveTo(const CPosition& p);
  void lineTo(const CPosition& p);
  const CPosition& getPenPosition() const { return pen_; }
  void drawRect(const CBounds& r);  // four lines, right/bottom edges at right-1/bottom-1
  void fillRect(const CBounds& r);  // [left,right) x [top,bottom) in the fill colour

  void setClipRect(const CBounds& r);
  CBounds getClipRect() const;

  // size < 1 keeps the font's size, style -1 keeps its style.
  void setFont(CFontDesc* font, int32_t size = 0, int32_t style = -1);
  CFontDesc* getFont() const { return font_; }
  void drawString(const char* text, const CBounds& r, bool opaque = false,
                  int32_t align = kCenterText);

  void getMouseLocation(CPosition& out) const;

#ifdef SORAVEL_TEST_HOOKS
  // Counters so that tests can see that unchanged settings create nothing.
  int32_t penCreations() const { return penCreations_; }
  int32_t brushCreations() const { return brushCreations_; }
  int32_t clipChanges() const { return clipChanges_; }
#endif

 protected:
  void adoptSurface(std::unique_ptr<platform::Surface> s);

  CFrame* frame_;
  CScale scale_;
  platform::Surface* surface_ = nullptr;
  std::unique_ptr<platform::Surface> ownedSurface_;
  CPosition offset_, pen_;
  mutable CPosition screenOffset_;
  mutable bool screenOffsetKnown_ = false;
  CFontDesc* font_ = nullptr;
  CRGBA fontColor_ = kWhiteCRGBA, frameColor_ = kWhiteCRGBA, fillColor_ = kBlackCRGBA;
  int32_t lineWidth_ = 1, lineStyle_ = kLineSolid, drawMode_ = kCopyMode;
  platform::Rect clip_;  // surface pixels
#ifdef SORAVEL_TEST_HOOKS
  int32_t penCreations_ = 1, brushCreations_ = 1, clipChanges_ = 0;
#endif
};

class COffscreenContext : public CDrawContext {
 public:
  COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                    CRGBA background = kBlackCRGBA);
  int32_t getWidth() const { return width_; }
  int32_t getHeight() const { return height_; }
  // Plain copy of destRect's size from srcOffset into destRect (plus the target's offset).
  void copyTo(CDrawContext* target, const CBounds& destRect, CPosition srcOffset = {});
  void copyFrom(CDrawContext* source, const CBounds& destRect, CPosition srcOffset = {});

 private:
  int32_t width_, height_;
  CRGBA background_;
};

// An image, sized in units. Its pixels may be made for a scale (2: two pixels per unit):
// drawn on a context of that scale they are copied as they are; on any other, a copy
// resampled to that context's scale (nearest pixel) is made once and kept.
class CBitmap : public CBaseObject {
 public:
  // Premultiplied BGRA words, top-down rows; noAlpha marks images without alpha.
  CBitmap(int32_t width, int32_t height, const uint32_t* pixels, bool noAlpha);
  // Pixels made for `scale`: pixelWidth x pixelHeight words, width x height units.
  CBitmap(int32_t pixelWidth, int32_t pixelHeight, const uint32_t* pixels, bool noAlpha,
          double scale, int32_t width, int32_t height);
  CBitmap();  // empty
  ~CBitmap() override;
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;
  virtual void draw(CDrawContext* c, const CBounds& r, const CPosition& offset = {});
  virtual void drawTransparent(CDrawContext* c, const CBounds& r, const CPosition& offset = {});
  virtual void drawAlphaBlend(CDrawContext* c, const CBounds& r, const CPosition& offset = {},
                              uint8_t alpha = 255);
  virtual void dispose();
  virtual bool loadFromResource(int32_t id);
  virtual bool loadFromPath(const char* path);

  int32_t getWidth() const { return width_; }  // units
  int32_t getHeight() const { return height_; }
  int32_t getPixelWidth() const { return pixelWidth_; }
  int32_t getPixelHeight() const { return pixelHeight_; }
  double getScale() const { return scale_.factor; }
#ifdef SORAVEL_TEST_HOOKS
  int32_t resamplings() const { return resamplings_; }  // copies made for other scales
#endif
  bool isLoaded() const { return !pixels_.empty(); }
  bool noAlpha() const { return noAlpha_; }
  void setTransparentColor(CRGBA c) { transparent_ = c; }
  CRGBA getTransparentColor() const { return transparent_; }
  const uint32_t* pixels() const { return pixels_.data(); }

 private:
  enum class Mode { kCopy, kKey, kBlend };
  // Pixels in the platform's own form, with the platform that made it.
  struct Prepared {
    std::unique_ptr<platform::NativeImage> image;
    platform::Platform* owner = nullptr;
    // The pixmap with the current platform's form of it, made first if need be.
    platform::Pixmap of(platform::Pixmap px);
    void reset() { image.reset(); owner = nullptr; }
  };
  // The pixels for a context's scale with the current platform's form of them, made on
  // the first draw and kept while the pixels stay (GUI thread only).
  platform::Pixmap pixmap(const CScale& scale) const;
  void drawImage(CDrawContext* c, const CBounds& r, const CPosition& offset, Mode mode,
                 uint8_t alpha);
  std::vector<uint32_t> pixels_;
  mutable Prepared native_;
  // The copy for a scale other than the pixels' own.
  mutable std::vector<uint32_t> resampled_;
  mutable CScale resampledScale_;
  mutable int32_t resampledWidth_ = 0, resampledHeight_ = 0;
  mutable Prepared resampledNative_;
#ifdef SORAVEL_TEST_HOOKS
  mutable int32_t resamplings_ = 0;
#endif
  int32_t width_ = 0, height_ = 0;
  int32_t pixelWidth_ = 0, pixelHeight_ = 0;
  CScale scale_;
  bool noAlpha_ = false;
  CRGBA transparent_ = kTransparentCRGBA;
};

// Premultiplies one straight-alpha RGBA pixel into a BGRA word.
using platform::premultiplyRGBA;
