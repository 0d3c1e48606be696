#include "gui/platform/win32/win32_surface.h"

#include <cstring>

#include "gui/platform/win32/win32_blending.h"
#include "gui/platform/win32/win32_font.h"
#include "gui/platform/win32/win32_image.h"
#include "gui/platform/win32/win32_objects.h"

namespace win32 {

COLORREF rgb(platform::Color c) { return RGB(c.r, c.g, c.b); }

Win32Surface::Win32Surface(HDC dc, int w, int h, HWND releaseFrom)
    : dc_(dc), w_(w), h_(h), window_(releaseFrom) {
  init();
}

Win32Surface::Win32Surface(int w, int h) : w_(w > 0 ? w : 0), h_(h > 0 ? h : 0) {
  HDC screen = made(GetDC(nullptr));
  dc_ = made(CreateCompatibleDC(screen));
  freed(ReleaseDC(nullptr, screen));
  void* bits = nullptr;
  bitmap_ = makeDib(w_ ? w_ : 1, h_ ? h_ : 1, &bits);
  bits_ = static_cast<uint32_t*>(bits);
  if (bitmap_) oldBitmap_ = SelectObject(dc_, bitmap_);
  init();
}

Win32Surface::~Win32Surface() {
  // Only what was changed is put back: under Wine every selection of a font into a
  // window's context asks the X server's resources again. Brushes are never selected,
  // fonts only for the text drawn with them, and the context goes or is released with
  // its clip.
  if (pen_) {
    SelectObject(dc_, oldPen_);
    freed(DeleteObject(pen_));
  }
  if (brush_) freed(DeleteObject(brush_));
  for (auto& f : fonts_) freed(DeleteObject(f.second));
  if (bitmap_) {
    SelectObject(dc_, oldBitmap_);
    freed(DeleteObject(bitmap_));
    freed(DeleteDC(dc_));
  } else if (window_) {
    freed(ReleaseDC(window_, dc_));
  }
}

void Win32Surface::init() {
  oldPen_ = GetCurrentObject(dc_, OBJ_PEN);
  oldFont_ = GetCurrentObject(dc_, OBJ_FONT);
  SetBkMode(dc_, TRANSPARENT);
  SetROP2(dc_, R2_COPYPEN);
  clip_ = {0, 0, w_, h_};
}

void Win32Surface::setClip(const platform::Rect& r) {
  clip_ = platform::intersect(r, {0, 0, w_, h_});
  HRGN rgn = made(CreateRectRgn(clip_.left, clip_.top, clip_.right, clip_.bottom));
  SelectClipRgn(dc_, rgn);
  freed(DeleteObject(rgn));
}

void Win32Surface::fillRect(const platform::Rect& r, platform::Color c) {
  RECT rc{r.left, r.top, r.right, r.bottom};
  FillRect(dc_, &rc, brush(c));
}

void Win32Surface::line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, platform::Color c,
                        int32_t width) {
  selectPen(c, width < 1 ? 1 : width);
  MoveToEx(dc_, x0, y0, nullptr);
  LineTo(dc_, x1, y1);
}

void Win32Surface::text(const char* s, const platform::Rect& r, const platform::FontSpec& f,
                        platform::Color fg, platform::Color bg, platform::TextAlign align) {
  if (!s || r.empty()) return;
  // Selected for this text alone: a prepared font may go before this surface does.
  SelectObject(dc_, font(f));
  SetTextColor(dc_, rgb(fg));
  if (bg.a) {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, rgb(bg));
  } else {
    SetBkMode(dc_, TRANSPARENT);
  }
  RECT rc{r.left, r.top, r.right, r.bottom};
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (align == platform::kAlignLeft) {
    flags |= DT_LEFT;
    rc.left += 1;
  } else if (align == platform::kAlignRight) {
    flags |= DT_RIGHT;
  } else {
    flags |= DT_CENTER;
  }
  DrawTextA(dc_, s, -1, &rc, flags);
  SetBkMode(dc_, TRANSPARENT);
  SelectObject(dc_, oldFont_);
}

void Win32Surface::copyFrom(platform::Surface& src, const platform::Rect& d, int32_t sx,
                            int32_t sy) {
  if (auto* w = dynamic_cast<Win32Surface*>(&src)) {
    BitBlt(dc_, d.left, d.top, d.width(), d.height(), w->dc(), sx, sy, SRCCOPY);
    return;
  }
  if (uint32_t* px = src.pixels()) {
    if (src.stride() != src.width()) return;
    copyImage({src.width(), src.height(), px}, d, sx, sy);
  }
}

void Win32Surface::copyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                             int32_t sy) {
  withImage(img, dst, sx, sy, false, [&](HDC src, int32_t x, int32_t y, const platform::Rect& d) {
    BitBlt(dc_, d.left, d.top, d.width(), d.height(), src, x, y, SRCCOPY);
  });
}

void Win32Surface::blendImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                              int32_t sy, uint8_t alpha) {
  withImage(img, dst, sx, sy, false, [&](HDC src, int32_t x, int32_t y, const platform::Rect& d) {
    if (const AlphaBlendFn alphaBlend = blending().alphaBlend) {
      BLENDFUNCTION bf{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
      alphaBlend(dc_, d.left, d.top, d.width(), d.height(), src, x, y, d.width(), d.height(), bf);
    } else {
      BitBlt(dc_, d.left, d.top, d.width(), d.height(), src, x, y, SRCCOPY);
    }
  });
}

void Win32Surface::keyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                            int32_t sy, platform::Color key) {
  withImage(img, dst, sx, sy, true, [&](HDC src, int32_t x, int32_t y, const platform::Rect& d) {
    if (const TransparentBltFn transparentBlt = blending().transparentBlt) {
      const int w = d.width(), h = d.height();
      transparentBlt(dc_, d.left, d.top, w, h, src, x, y, w, h, rgb(key));
      return;
    }
    keyThroughMask(src, x, y, d, rgb(key));
  });
}

// XOR / AND / XOR through a monochrome mask of the key colour.
void Win32Surface::keyThroughMask(HDC src, int32_t x, int32_t y, const platform::Rect& d,
                                  COLORREF key) {
  const int w = d.width(), h = d.height();
  HDC maskDc = made(CreateCompatibleDC(dc_));
  HBITMAP mask = made(CreateBitmap(w, h, 1, 1, nullptr));
  HGDIOBJ oldMask = SelectObject(maskDc, mask);
  const COLORREF oldSrcBk = SetBkColor(src, key);
  BitBlt(maskDc, 0, 0, w, h, src, x, y, SRCCOPY);
  SetBkColor(src, oldSrcBk);
  COLORREF oldText = SetTextColor(dc_, RGB(0, 0, 0));
  COLORREF oldBk = SetBkColor(dc_, RGB(255, 255, 255));
  BitBlt(dc_, d.left, d.top, w, h, src, x, y, SRCINVERT);
  BitBlt(dc_, d.left, d.top, w, h, maskDc, 0, 0, SRCAND);
  BitBlt(dc_, d.left, d.top, w, h, src, x, y, SRCINVERT);
  SetTextColor(dc_, oldText);
  SetBkColor(dc_, oldBk);
  SelectObject(maskDc, oldMask);
  freed(DeleteObject(mask));
  freed(DeleteDC(maskDc));
}

// The context fn gets is the image's own prepared one, or else a DIB section made for
// this draw holding just the area drawn (keyed: with the alpha bytes cleared, since the
// key is a colour without alpha).
template <class Fn>
void Win32Surface::withImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                             int32_t sy, bool keyed, Fn fn) {
  platform::Rect d = dst;
  if (!cutToImage(img, d, sx, sy) || !cutToClip(clip_, d, sx, sy)) return;
  SORAVEL_TEST_HOOK(counts::imagePixels += static_cast<long long>(d.width()) * d.height();)
  if (const Win32Image* n = nativeImage(img)) {
    if (HDC src = keyed ? n->keyDc() : n->dc()) {
      fn(src, sx, sy, d);
      return;
    }
  }
  // Through a DIB section of the area: source offsets of top-down DIBs given straight to
  // StretchDIBits count from the bottom on some systems.
  HDC mem = made(CreateCompatibleDC(dc_));
  void* bits = nullptr;
  HBITMAP bmp = makeDib(d.width(), d.height(), &bits);
  if (bmp && bits) {
    auto* out = static_cast<uint32_t*>(bits);
    for (int y = 0; y < d.height(); ++y) {
      uint32_t* row = out + static_cast<size_t>(y) * d.width();
      std::memcpy(row, img.pixels + static_cast<size_t>(sy + y) * img.width + sx,
                  static_cast<size_t>(d.width()) * 4);
      if (keyed)
        for (int x = 0; x < d.width(); ++x) row[x] &= 0xffffffu;
    }
    HGDIOBJ old = SelectObject(mem, bmp);
    fn(mem, 0, 0, d);
    SelectObject(mem, old);
  }
  if (bmp) freed(DeleteObject(bmp));
  freed(DeleteDC(mem));
}

uint32_t* Win32Surface::pixels() {
  if (bits_) GdiFlush();
  return bits_;
}

HBRUSH Win32Surface::brush(platform::Color c) {
  const COLORREF want = rgb(c);
  if (!brush_ || brushColor_ != want) {
    HBRUSH b = made(CreateSolidBrush(want));
    if (!b) return brush_;  // keep the previous brush
    if (brush_) freed(DeleteObject(brush_));
    brush_ = b;
    brushColor_ = want;
  }
  return brush_;
}

void Win32Surface::selectPen(platform::Color c, int width) {
  const COLORREF want = rgb(c);
  if (pen_ && penColor_ == want && penWidth_ == width) return;
  LOGPEN lp{PS_SOLID, {width, 0}, want};
  HPEN p = made(CreatePenIndirect(&lp));
  if (!p) return;
  SelectObject(dc_, p);
  if (pen_) freed(DeleteObject(pen_));
  pen_ = p;
  penColor_ = want;
  penWidth_ = width;
}

HFONT Win32Surface::font(const platform::FontSpec& f) {
  if (auto* n = dynamic_cast<const Win32Font*>(f.native); n && n->handle()) return n->handle();
  // Without a prepared font (a description from another platform), one of this surface's.
  const std::string key = std::string(f.name ? f.name : "") + "/" +
                          std::to_string(f.pixelHeight) + "/" + std::to_string(f.style);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  HFONT h = makeFont(f);
  fonts_[key] = h;
  return h;
}

}  // namespace win32
