#pragma once
// Drawing with GDI: on a window's or a paint's device context, or off screen on a memory
// context holding a 32-bit DIB section.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <map>
#include <string>

#include "gui/platform/platform.h"

namespace win32 {

class Win32Surface : public platform::Surface {
 public:
  // Paint or window context (not owned unless releaseFrom is given).
  Win32Surface(HDC dc, int w, int h, HWND releaseFrom);
  // Offscreen: a memory context holding a 32-bit DIB section.
  Win32Surface(int w, int h);
  ~Win32Surface() override;

  int32_t width() const override { return w_; }
  int32_t height() const override { return h_; }
  void setClip(const platform::Rect& r) override;
  platform::Rect clip() const override { return clip_; }
  void fillRect(const platform::Rect& r, platform::Color c) override;
  void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, platform::Color c,
            int32_t width) override;
  void text(const char* s, const platform::Rect& r, const platform::FontSpec& f,
            platform::Color fg, platform::Color bg, platform::TextAlign align) override;
  void copyFrom(platform::Surface& src, const platform::Rect& d, int32_t sx, int32_t sy) override;
  void copyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                 int32_t sy) override;
  void blendImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                  uint8_t alpha) override;
  void keyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                platform::Color key) override;
  uint32_t* pixels() override;
  int32_t stride() const override { return bits_ ? w_ : 0; }
  void flush() override { GdiFlush(); }
  HDC dc() const { return dc_; }

 private:
  void init();
  // Cuts the draw to the image and the clip, then hands fn a context holding the image
  // and the source origin in it.
  template <class Fn>
  void withImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                 bool keyed, Fn fn);
  void keyThroughMask(HDC src, int32_t x, int32_t y, const platform::Rect& d, COLORREF key);
  HBRUSH brush(platform::Color c);
  void selectPen(platform::Color c, int width);
  HFONT font(const platform::FontSpec& f);

  HDC dc_ = nullptr;
  int w_, h_;
  HWND window_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  HGDIOBJ oldPen_ = nullptr, oldFont_ = nullptr;
  HPEN pen_ = nullptr;
  COLORREF penColor_ = 0;
  int penWidth_ = 0;
  HBRUSH brush_ = nullptr;
  COLORREF brushColor_ = 0;
  std::map<std::string, HFONT> fonts_;
  platform::Rect clip_;
};

COLORREF rgb(platform::Color c);

}  // namespace win32
