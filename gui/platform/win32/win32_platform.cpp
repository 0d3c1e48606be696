#include "gui/platform/win32/win32_platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

// Every GDI object, device context and window this file makes is counted while it
// lives, so that tests can see leaks even where GetGuiResources answers 0 (Wine).
namespace win32::counted {
int live = 0;
template <class H>
H add(H h) {
  if (h) ++live;
  return h;
}
inline BOOL del(BOOL ok) {
  if (ok) --live;
  return ok;
}
inline int released(int ok) {
  if (ok) --live;
  return ok;
}
}  // namespace win32::counted
#define CreateSolidBrush(...) win32::counted::add(::CreateSolidBrush(__VA_ARGS__))
#define CreatePenIndirect(...) win32::counted::add(::CreatePenIndirect(__VA_ARGS__))
#define CreateFontA(...) win32::counted::add(::CreateFontA(__VA_ARGS__))
#define CreateRectRgn(...) win32::counted::add(::CreateRectRgn(__VA_ARGS__))
#define CreateCompatibleDC(...) win32::counted::add(::CreateCompatibleDC(__VA_ARGS__))
#define CreateBitmap(...) win32::counted::add(::CreateBitmap(__VA_ARGS__))
#define CreateDIBSection(...) win32::counted::add(::CreateDIBSection(__VA_ARGS__))
#define CreateWindowExA(...) win32::counted::add(::CreateWindowExA(__VA_ARGS__))
#define GetDC(...) win32::counted::add(::GetDC(__VA_ARGS__))
#define DeleteObject(...) win32::counted::del(::DeleteObject(__VA_ARGS__))
#define DeleteDC(...) win32::counted::del(::DeleteDC(__VA_ARGS__))
#define DestroyWindow(...) win32::counted::del(::DestroyWindow(__VA_ARGS__))
#define ReleaseDC(...) win32::counted::released(::ReleaseDC(__VA_ARGS__))

namespace win32 {
namespace {

using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// The blending functions live in msimg32.dll, loaded while any frame window exists.
struct Blending {
  HMODULE lib = nullptr;
  int users = 0;
  AlphaBlendFn alphaBlend = nullptr;
  TransparentBltFn transparentBlt = nullptr;
  void acquire() {
    if (users++ == 0) {
      lib = LoadLibraryA("msimg32.dll");
      if (lib) {
        alphaBlend = reinterpret_cast<AlphaBlendFn>(
            reinterpret_cast<void*>(GetProcAddress(lib, "AlphaBlend")));
        OSVERSIONINFOA v{};
        v.dwOSVersionInfoSize = sizeof v;
        GetVersionExA(&v);
        if (v.dwPlatformId == VER_PLATFORM_WIN32_NT)
          transparentBlt = reinterpret_cast<TransparentBltFn>(
              reinterpret_cast<void*>(GetProcAddress(lib, "TransparentBlt")));
      }
    }
  }
  void releaseOne() {
    if (users > 0 && --users == 0 && lib) {
      FreeLibrary(lib);
      lib = nullptr;
      alphaBlend = nullptr;
      transparentBlt = nullptr;
    }
  }
} gBlend;

const char kClassName[] = "TVSTEditor";
int gClassUses = 0;
bool gForceBackBuffer = false;
bool gSwapped = false;
HINSTANCE instanceHandle() { return GetModuleHandleA(nullptr); }
COLORREF rgb(platform::Color c) { return RGB(c.r, c.g, c.b); }

// A 32-bit top-down DIB section holding a copy of an image area.
HBITMAP makeDib(int w, int h, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

// Cuts a source area to the image and the destination to match; false when empty.
bool cutToImage(const platform::Pixmap& img, platform::Rect& d, int32_t& sx, int32_t& sy) {
  if (!img.pixels || img.width <= 0 || img.height <= 0) return false;
  if (sx < 0) { d.left -= sx; sx = 0; }
  if (sy < 0) { d.top -= sy; sy = 0; }
  if (d.width() > img.width - sx) d.right = d.left + (img.width - sx);
  if (d.height() > img.height - sy) d.bottom = d.top + (img.height - sy);
  return !d.empty();
}

// Cuts a destination to a clip rectangle, moving the source origin along; false when empty.
bool cutToClip(const platform::Rect& clip, platform::Rect& d, int32_t& sx, int32_t& sy) {
  if (d.left < clip.left) { sx += clip.left - d.left; d.left = clip.left; }
  if (d.top < clip.top) { sy += clip.top - d.top; d.top = clip.top; }
  if (d.right > clip.right) d.right = clip.right;
  if (d.bottom > clip.bottom) d.bottom = clip.bottom;
  return !d.empty();
}

long long gImagePixels = 0;
int gFonts = 0;

// An image as a DIB section selected into a memory context of its own, made once and
// blitted from at any source offset. Colour-key draws need the colours without alpha
// (TransparentBlt compares whole 32-bit words): that copy is made on the first such draw.
class Win32Image : public platform::NativeImage {
 public:
  explicit Win32Image(const platform::Pixmap& img) : w_(img.width), h_(img.height) {
    dc_ = makeContext(img.pixels, false, &bitmap_, &old_);
  }
  ~Win32Image() override {
    release(dc_, bitmap_, old_);
    release(keyDc_, keyBitmap_, keyOld_);
  }
  bool ok() const { return dc_ != nullptr; }
  HDC dc() const { return dc_; }
  HDC keyDc() const {
    if (!keyDc_ && dc_) {
      GdiFlush();
      keyDc_ = makeContext(bits_, true, &keyBitmap_, &keyOld_);
    }
    return keyDc_;
  }

 private:
  HDC makeContext(const uint32_t* from, bool dropAlpha, HBITMAP* bmp, HGDIOBJ* old) const {
    void* bits = nullptr;
    *bmp = makeDib(w_, h_, &bits);
    if (!*bmp || !bits) {
      if (*bmp) DeleteObject(*bmp);
      *bmp = nullptr;
      return nullptr;
    }
    auto* out = static_cast<uint32_t*>(bits);
    const size_t n = static_cast<size_t>(w_) * h_;
    if (dropAlpha) {
      for (size_t i = 0; i < n; ++i) out[i] = from[i] & 0xffffffu;
    } else {
      std::memcpy(out, from, n * 4);
      bits_ = out;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
      DeleteObject(*bmp);
      *bmp = nullptr;
      return nullptr;
    }
    *old = SelectObject(dc, *bmp);
    return dc;
  }
  static void release(HDC dc, HBITMAP bmp, HGDIOBJ old) {
    if (!dc) return;
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  int w_, h_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  mutable const uint32_t* bits_ = nullptr;
  mutable HDC keyDc_ = nullptr;
  mutable HBITMAP keyBitmap_ = nullptr;
  mutable HGDIOBJ keyOld_ = nullptr;
};

const Win32Image* nativeImage(const platform::Pixmap& img) {
  auto* n = dynamic_cast<const Win32Image*>(img.native);
  return n && n->ok() ? n : nullptr;
}

HFONT makeFont(const platform::FontSpec& f) {
  const bool symbol = f.name && std::strcmp(f.name, "Symbol") == 0;
  HFONT h = CreateFontA(-f.pixelHeight, 0, 0, 0, (f.style & 1) ? FW_BOLD : FW_NORMAL,
                        (f.style & 2) != 0, (f.style & 4) != 0, FALSE, ANSI_CHARSET,
                        OUT_STRING_PRECIS, CLIP_STROKE_PRECIS, DEFAULT_QUALITY,
                        VARIABLE_PITCH | (symbol ? FF_DECORATIVE : FF_SWISS),
                        f.name ? f.name : "Arial");
  if (h) ++gFonts;
  return h;
}

// A font made once for a font description and kept with it.
class Win32Font : public platform::NativeFont {
 public:
  explicit Win32Font(const platform::FontSpec& f) : font_(makeFont(f)) {}
  ~Win32Font() override {
    if (font_) DeleteObject(font_);
  }
  HFONT handle() const { return font_; }

 private:
  HFONT font_;
};

// ---- Surface ----

class Win32Surface : public platform::Surface {
 public:
  // Paint or window context (not owned unless releaseFrom is given).
  Win32Surface(HDC dc, int w, int h, HWND releaseFrom) : dc_(dc), w_(w), h_(h), window_(releaseFrom) {
    init();
  }
  // Offscreen: a memory context holding a 32-bit DIB section.
  Win32Surface(int w, int h) : w_(w > 0 ? w : 0), h_(h > 0 ? h : 0) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    bitmap_ = makeDib(w_ ? w_ : 1, h_ ? h_ : 1, &bits);
    bits_ = static_cast<uint32_t*>(bits);
    if (bitmap_) oldBitmap_ = SelectObject(dc_, bitmap_);
    init();
  }
  ~Win32Surface() override {
    // Only what was changed is put back: under Wine every selection of a font into a
    // window's context asks the X server's resources again. Brushes are never selected,
    // fonts only for the text drawn with them, and the context goes or is released with
    // its clip.
    if (pen_) {
      SelectObject(dc_, oldPen_);
      DeleteObject(pen_);
    }
    if (brush_) DeleteObject(brush_);
    for (auto& f : fonts_) DeleteObject(f.second);
    if (bitmap_) {
      SelectObject(dc_, oldBitmap_);
      DeleteObject(bitmap_);
      DeleteDC(dc_);
    } else if (window_) {
      ReleaseDC(window_, dc_);
    }
  }

  int32_t width() const override { return w_; }
  int32_t height() const override { return h_; }
  void setClip(const platform::Rect& r) override {
    clip_ = platform::intersect(r, {0, 0, w_, h_});
    HRGN rgn = CreateRectRgn(clip_.left, clip_.top, clip_.right, clip_.bottom);
    SelectClipRgn(dc_, rgn);
    DeleteObject(rgn);
  }
  platform::Rect clip() const override { return clip_; }

  void fillRect(const platform::Rect& r, platform::Color c) override {
    RECT rc{r.left, r.top, r.right, r.bottom};
    FillRect(dc_, &rc, brush(c));
  }
  void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, platform::Color c, int32_t width) override {
    selectPen(c, width < 1 ? 1 : width);
    MoveToEx(dc_, x0, y0, nullptr);
    LineTo(dc_, x1, y1);
  }
  void text(const char* s, const platform::Rect& r, const platform::FontSpec& f, platform::Color fg,
            platform::Color bg, platform::TextAlign align) override {
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
  void copyFrom(platform::Surface& src, const platform::Rect& d, int32_t sx, int32_t sy) override;
  void copyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                 int32_t sy) override {
    withImage(img, dst, sx, sy, false, [&](HDC src, int32_t x, int32_t y, const platform::Rect& d) {
      BitBlt(dc_, d.left, d.top, d.width(), d.height(), src, x, y, SRCCOPY);
    });
  }
  void blendImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                  uint8_t alpha) override {
    withImage(img, dst, sx, sy, false, [&](HDC src, int32_t x, int32_t y, const platform::Rect& d) {
      if (gBlend.alphaBlend) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        gBlend.alphaBlend(dc_, d.left, d.top, d.width(), d.height(), src, x, y, d.width(),
                          d.height(), bf);
      } else {
        BitBlt(dc_, d.left, d.top, d.width(), d.height(), src, x, y, SRCCOPY);
      }
    });
  }
  void keyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                platform::Color key) override {
    withImage(img, dst, sx, sy, true, [&](HDC src, int32_t x, int32_t y, const platform::Rect& d) {
      const int w = d.width(), h = d.height();
      if (gBlend.transparentBlt) {
        gBlend.transparentBlt(dc_, d.left, d.top, w, h, src, x, y, w, h, rgb(key));
        return;
      }
      // XOR / AND / XOR through a monochrome mask of the key colour.
      HDC maskDc = CreateCompatibleDC(dc_);
      HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
      HGDIOBJ oldMask = SelectObject(maskDc, mask);
      const COLORREF oldSrcBk = SetBkColor(src, rgb(key));
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
      DeleteObject(mask);
      DeleteDC(maskDc);
    });
  }
  // Cuts the draw to the image and the clip, then hands fn a context holding the image
  // and the source origin in it: the image's own prepared context, or else a DIB section
  // made for this draw holding just the area drawn (keyed: with the alpha bytes cleared,
  // since the key is a colour without alpha).
  template <class Fn>
  void withImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                 bool keyed, Fn fn) {
    platform::Rect d = dst;
    if (!cutToImage(img, d, sx, sy) || !cutToClip(clip_, d, sx, sy)) return;
    gImagePixels += static_cast<long long>(d.width()) * d.height();
    if (const Win32Image* n = nativeImage(img)) {
      if (HDC src = keyed ? n->keyDc() : n->dc()) {
        fn(src, sx, sy, d);
        return;
      }
    }
    // Through a DIB section of the area: source offsets of top-down DIBs given straight to
    // StretchDIBits count from the bottom on some systems.
    HDC mem = CreateCompatibleDC(dc_);
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
    if (bmp) DeleteObject(bmp);
    DeleteDC(mem);
  }
  uint32_t* pixels() override {
    if (bits_) GdiFlush();
    return bits_;
  }
  int32_t stride() const override { return bits_ ? w_ : 0; }
  void flush() override { GdiFlush(); }
  HDC dc() const { return dc_; }

 private:
  void init() {
    oldPen_ = GetCurrentObject(dc_, OBJ_PEN);
    oldFont_ = GetCurrentObject(dc_, OBJ_FONT);
    SetBkMode(dc_, TRANSPARENT);
    SetROP2(dc_, R2_COPYPEN);
    clip_ = {0, 0, w_, h_};
  }
  HBRUSH brush(platform::Color c) {
    const COLORREF want = rgb(c);
    if (!brush_ || brushColor_ != want) {
      HBRUSH b = CreateSolidBrush(want);
      if (!b) return brush_;  // keep the previous brush
      if (brush_) DeleteObject(brush_);
      brush_ = b;
      brushColor_ = want;
    }
    return brush_;
  }
  void selectPen(platform::Color c, int width) {
    const COLORREF want = rgb(c);
    if (pen_ && penColor_ == want && penWidth_ == width) return;
    LOGPEN lp{PS_SOLID, {width, 0}, want};
    HPEN p = CreatePenIndirect(&lp);
    if (!p) return;
    SelectObject(dc_, p);
    if (pen_) DeleteObject(pen_);
    pen_ = p;
    penColor_ = want;
    penWidth_ = width;
  }
  HFONT font(const platform::FontSpec& f) {
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

// ---- Text entry ----

class Win32TextEntry;
WNDPROC gEditProc = nullptr;  // the EDIT class procedure that ours hands messages to
LRESULT CALLBACK editProc(HWND, UINT, WPARAM, LPARAM);

class Win32TextEntry : public platform::TextEntry {
 public:
  Win32TextEntry(HWND parent, const platform::TextEntryParams& p, platform::TextEntryListener* l)
      : listener_(l), text_(p.textColor), back_(p.backColor) {
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    style |= p.align == platform::kAlignLeft    ? ES_LEFT
             : p.align == platform::kAlignRight ? ES_RIGHT
                                                : ES_CENTER;
    hwnd_ = CreateWindowExA(0, "EDIT", p.text ? p.text : "", style, p.rect.left, p.rect.top,
                            p.rect.width(), p.rect.height(), parent, nullptr, instanceHandle(),
                            nullptr);
    if (!hwnd_) return;
    font_ = CreateFontA(-p.font.pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        VARIABLE_PITCH | FF_SWISS, p.font.name ? p.font.name : "Arial");
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    SendMessageA(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageA(hwnd_, EM_SETSEL, 0, -1);
    SendMessageA(hwnd_, EM_LIMITTEXT, kMaxChars, 0);
    SetFocus(hwnd_);
    WNDPROC old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&editProc)));
    if (!gEditProc) gEditProc = old;
  }
  ~Win32TextEntry() override {
    if (hwnd_) {
      // Detach first, so that the focus loss caused by destruction finds nothing to do.
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      // Closed by Return or Escape: the keyboard goes back to the frame window, whose
      // unused keys reach the host.
      if (GetFocus() == hwnd_) SetFocus(GetParent(hwnd_));
      DestroyWindow(hwnd_);
    }
    if (font_) DeleteObject(font_);
    if (brush_) DeleteObject(brush_);
  }
  size_t text(char* out, size_t cap) const override {
    if (!out || cap == 0) return 0;
    out[0] = 0;
    if (!hwnd_) return 0;
    int n = GetWindowTextA(hwnd_, out, static_cast<int>(std::min<size_t>(cap, kMaxChars + 1)));
    return n > 0 ? static_cast<size_t>(n) : 0;
  }
  HBRUSH colours(HDC dc) {
    SetTextColor(dc, rgb(text_));
    SetBkColor(dc, rgb(back_));
    HBRUSH b = CreateSolidBrush(rgb(back_));
    if (brush_) DeleteObject(brush_);
    brush_ = b;
    return brush_;
  }
  HWND hwnd() const { return hwnd_; }
  platform::TextEntryListener* listener() const { return listener_; }

 private:
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH brush_ = nullptr;
  platform::TextEntryListener* listener_;
  platform::Color text_, back_;
};

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* entry = reinterpret_cast<Win32TextEntry*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  WNDPROC next = gEditProc ? gEditProc : DefWindowProcA;
  if (entry) {
    // The listener may destroy the entry and its window: touch neither afterwards.
    platform::TextEntryListener* l = entry->listener();
    switch (msg) {
      case WM_KILLFOCUS:
        if (l) l->textEntryFocusLost();
        break;
      case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProcA(next, hwnd, msg, wp, lp);
      case WM_KEYDOWN:
        if (wp == VK_RETURN) {
          if (l) l->textEntryReturn();
          return 0;
        }
        if (wp == VK_ESCAPE) {  // the display keeps its old value
          if (l) l->textEntryCancel();
          return 0;
        }
        break;
      case WM_CHAR:
        // No beep for the Return or Escape that closed the field.
        if (wp == '\r' || wp == 27) return 0;
        break;
      default:
        break;
    }
  }
  if (!IsWindow(hwnd)) return 0;
  return CallWindowProcA(next, hwnd, msg, wp, lp);
}

// ---- Drop target ----

class DropTarget : public IDropTarget {
 public:
  DropTarget(HWND hwnd, platform::DropListener* l) : hwnd_(hwnd), listener_(l) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
      *out = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG r = --refs_;
    if (r == 0) delete this;
    return r;
  }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override {
    listener_->onDragEnter(itemCount(data), local(pt));
    choose(effect);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD* effect) override {
    listener_->onDragMove(local(pt));
    choose(effect);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    listener_->onDragLeave();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL pt, DWORD* effect) override {
    listener_->onDrop(local(pt));
    choose(effect);
    return S_OK;
  }
  virtual ~DropTarget() = default;

 private:
  platform::Point local(POINTL pt) const {
    POINT p{pt.x, pt.y};
    ScreenToClient(hwnd_, &p);
    return {p.x, p.y};
  }
  static void choose(DWORD* effect) {
    if (!effect) return;
    const DWORD offered = *effect;
    *effect = (offered & DROPEFFECT_COPY)   ? DROPEFFECT_COPY
              : (offered & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE
              : (offered & DROPEFFECT_LINK) ? DROPEFFECT_LINK
                                            : DROPEFFECT_NONE;
  }
  static int32_t itemCount(IDataObject* data) {
    if (!data) return 1;
    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (data->QueryGetData(&text) != S_OK) return 1;
    STGMEDIUM m{};
    if (data->GetData(&files, &m) != S_OK) return 1;
    const UINT n = DragQueryFileA(static_cast<HDROP>(m.hGlobal), 0xFFFFFFFF, nullptr, 0);
    ReleaseStgMedium(&m);
    return static_cast<int32_t>(n);
  }
  ULONG refs_ = 1;
  HWND hwnd_;
  platform::DropListener* listener_;
};

// ---- Window ----

LRESULT CALLBACK frameProc(HWND, UINT, WPARAM, LPARAM);

uint8_t virtualKey(WPARAM vk) {
  switch (vk) {
    case VK_BACK: return 1;
    case VK_TAB: return 2;
    case VK_CLEAR: return 3;
    case VK_RETURN: return 4;
    case VK_PAUSE: return 5;
    case VK_ESCAPE: return 6;
    case VK_SPACE: return 7;
    case VK_NEXT: return 8;
    case VK_END: return 9;
    case VK_HOME: return 10;
    case VK_LEFT: return 11;
    case VK_UP: return 12;
    case VK_RIGHT: return 13;
    case VK_DOWN: return 14;
    default: return 0;
  }
}
uint8_t keyModifiers() {
  uint8_t m = 0;
  if (GetKeyState(VK_SHIFT) < 0) m |= 1;
  if (GetKeyState(VK_MENU) < 0) m |= 2;
  if (GetKeyState(VK_CONTROL) < 0) m |= 8;
  return m;
}

class Win32Window : public platform::Window {
 public:
  Win32Window(HWND parent, int w, int h, platform::WindowListener* l) : listener_(l) {
    OleInitialize(nullptr);
    gBlend.acquire();
    if (gClassUses++ == 0) {
      WNDCLASSA wc{};
      wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
      wc.lpfnWndProc = frameProc;
      wc.hInstance = instanceHandle();
      wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      wc.lpszClassName = kClassName;
      RegisterClassA(&wc);
      gSwapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    }
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    // From version 6 on the system composes the window's painting off screen.
    const DWORD exStyle = v.dwMajorVersion >= 6 ? WS_EX_COMPOSITED : 0;
    oldSystem_ = v.dwMajorVersion < 6;
    hwnd_ = CreateWindowExA(exStyle, kClassName, "VSTEditor",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, w, h,
                            parent, nullptr, instanceHandle(), nullptr);
    if (hwnd_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Win32Window() override {
    back_.reset();
    setDropTarget(nullptr);
    if (defaultCursor_) SetCursor(defaultCursor_);
    if (hwnd_) {
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
    if (--gClassUses == 0) UnregisterClassA(kClassName, instanceHandle());
    gBlend.releaseOne();
    OleUninitialize();
  }
  bool ok() const { return hwnd_ != nullptr; }
  void* nativeHandle() const override { return hwnd_; }
  void invalidate(const platform::Rect& r) override {
    RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(hwnd_, &rc, TRUE);
  }
  void setCapture(bool on) override {
    if (on) SetCapture(hwnd_);
    else ReleaseCapture();
  }
  platform::Point screenOrigin() const override {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return {r.left, r.top};
  }
  void setCursor(int32_t type) override {
    // The cursor before the first change comes back when the window goes.
    if (!defaultCursor_) {
      defaultCursor_ = GetCursor();
      if (!defaultCursor_) defaultCursor_ = arrow();
    }
    LPCSTR id = nullptr;
    switch (type) {
      case 1: id = reinterpret_cast<LPCSTR>(IDC_WAIT); break;
      case 2: id = reinterpret_cast<LPCSTR>(IDC_SIZEWE); break;
      case 3: id = reinterpret_cast<LPCSTR>(IDC_SIZENS); break;
      case 4: id = reinterpret_cast<LPCSTR>(IDC_SIZEALL); break;
      case 5: id = reinterpret_cast<LPCSTR>(IDC_SIZENESW); break;
      case 6: id = reinterpret_cast<LPCSTR>(IDC_SIZENWSE); break;
      case 8: id = reinterpret_cast<LPCSTR>(IDC_NO); break;
      case 9: id = reinterpret_cast<LPCSTR>(IDC_HAND); break;
      default: break;
    }
    // Kept for WM_SETCURSOR, which the system sends before every mouse move.
    cursor_ = id ? LoadCursorA(nullptr, id) : nullptr;
    SetCursor(cursor_ ? cursor_ : arrow());
  }
  void takeKeyboardFocus() override { SetFocus(hwnd_); }
  platform::Point position() const override {
    HWND w = hwnd_;
    for (int guard = 0; guard < 16; ++guard) {
      HWND p = GetParent(w);
      if (!p || (GetWindowLongA(w, GWL_STYLE) & WS_CAPTION)) break;
      RECT wr{}, pr{};
      GetWindowRect(w, &wr);
      GetWindowRect(p, &pr);
      if (std::abs((pr.right - pr.left) - (wr.right - wr.left)) > 60 ||
          std::abs((pr.bottom - pr.top) - (wr.bottom - wr.top)) > 60)
        break;
      w = p;
    }
    RECT r{};
    GetWindowRect(w, &r);
    POINT pt{r.left, r.top};
    if (HWND p = GetParent(w)) ScreenToClient(p, &pt);
    return {pt.x, pt.y};
  }
  bool hostRect(platform::Rect& out) const override {
    HWND parent = GetParent(hwnd_);
    if (!parent) return false;
    RECT r{};
    GetWindowRect(parent, &r);
    POINT pt{r.left, r.top};
    if (HWND grand = GetParent(parent)) ScreenToClient(grand, &pt);
    out = {pt.x, pt.y, pt.x + (r.right - r.left), pt.y + (r.bottom - r.top)};
    return true;
  }
  // Resizes the frame window and the host's windows around it that follow its size:
  // each ancestor keeps the margin it had around its child (at most 80 pixels), up to
  // an MDI client or twice the dialog frame height of accumulated margin.
  void resize(int32_t width, int32_t height) override {
    back_.reset();
    const int limit = 2 * GetSystemMetrics(SM_CYDLGFRAME);
    int dx = 0, dy = 0;
    HWND w = hwnd_;
    auto outer = [](HWND h) {
      RECT r{};
      GetWindowRect(h, &r);
      return r;
    };
    auto setSize = [](HWND h, int cx, int cy) {
      SetWindowPos(h, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (int guard = 0; w && guard < 16; ++guard) {
      HWND p = GetParent(w);
      if (!p) break;
      char cls[32] = {};
      GetClassNameA(p, cls, sizeof cls);
      if (std::strcmp(cls, "MDIClient") == 0) break;
      setSize(w, width + dx, height + dy);
      const RECT pr = outer(p), wr = outer(w);
      const int gx = (pr.right - pr.left) - (wr.right - wr.left);
      if (gx + dx > 80) return;
      dy += (pr.bottom - pr.top) - (wr.bottom - wr.top);
      if (dy > 80) return;
      dx = std::max(0, gx + dx);
      dy = std::max(0, dy);
      w = p;
      if (dx == limit) break;
    }
    if (w) setSize(w, width + dx, height + dy);
  }
  std::unique_ptr<platform::Surface> drawSurface() override {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return std::make_unique<Win32Surface>(GetDC(hwnd_), r.right, r.bottom, hwnd_);
  }
  std::unique_ptr<platform::TextEntry> createTextEntry(const platform::TextEntryParams& p,
                                                       platform::TextEntryListener* l) override {
    auto e = std::make_unique<Win32TextEntry>(hwnd_, p, l);
    if (!e->hwnd()) return nullptr;
    return e;
  }
  bool setDropTarget(platform::DropListener* l) override {
    if (drop_) {
      RevokeDragDrop(hwnd_);
      drop_->Release();
      drop_ = nullptr;
    }
    if (!l || !hwnd_) return true;
    drop_ = new DropTarget(hwnd_, l);
    if (RegisterDragDrop(hwnd_, drop_) != S_OK) {
      drop_->Release();
      drop_ = nullptr;
      return false;
    }
    return true;
  }

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_DESTROY:
        listener_->onDestroyed();
        return 0;
      case WM_PAINT: {
        // BeginPaint alone finds out whether there is anything to paint: each question
        // about the update region is a round trip to the window server under Wine.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        if (!dc || IsRectEmpty(&ps.rcPaint)) {
          EndPaint(hwnd_, &ps);
          return 0;
        }
        RECT client{};
        GetClientRect(hwnd_, &client);
        const platform::Rect r{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right,
                               ps.rcPaint.bottom};
        if (oldSystem_ || gForceBackBuffer) {
          // Before version 6 the system does not buffer: paint off screen, then copy.
          if (!back_ || back_->width() != client.right || back_->height() != client.bottom) {
            back_ = std::make_unique<Win32Surface>(client.right, client.bottom);
            back_->fillRect({0, 0, client.right, client.bottom}, {0, 0, 0, 255});
          }
          back_->setClip(r);
          listener_->onPaint(*back_, r);
          back_->setClip({0, 0, client.right, client.bottom});
          BitBlt(dc, r.left, r.top, r.width(), r.height(), back_->dc(), r.left, r.top, SRCCOPY);
        } else {
          Win32Surface s(dc, client.right, client.bottom, nullptr);
          s.setClip(r);
          listener_->onPaint(s, r);
        }
        EndPaint(hwnd_, &ps);
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        const int32_t r = listener_->onKeyDown(static_cast<int32_t>(wp), virtualKey(wp), keyModifiers());
        passingChars_ = r == -1;
        if (wp < 256) usedDown_[wp] = r != -1;
        if (r == -1) return passOn(msg, wp, lp);
        return 0;
      }
      case WM_KEYUP:
      case WM_SYSKEYUP: {
        const int32_t r = listener_->onKeyUp(static_cast<int32_t>(wp), virtualKey(wp), keyModifiers());
        // The release of a key whose press the editor used stays here too.
        const bool used = wp < 256 && usedDown_[wp];
        if (wp < 256) usedDown_[wp] = false;
        if (r == -1 && !used) return passOn(msg, wp, lp);
        return 0;
      }
      case WM_CHAR:
      case WM_SYSCHAR:
        // The character of a key passed on follows it; those of used keys go nowhere.
        if (passingChars_) return passOn(msg, wp, lp);
        return 0;
      case WM_CTLCOLOREDIT: {
        auto* e = reinterpret_cast<Win32TextEntry*>(
            GetWindowLongPtrA(reinterpret_cast<HWND>(lp), GWLP_USERDATA));
        if (e) return reinterpret_cast<LRESULT>(e->colours(reinterpret_cast<HDC>(wp)));
        break;
      }
      case WM_MOUSEMOVE:
        listener_->onMouseMoved({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, buttons(wp));
        return 0;
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
      case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: case WM_XBUTTONDBLCLK: {
        uint32_t b = buttons(wp);
        if (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK ||
            msg == WM_XBUTTONDBLCLK)
          b |= 0x400;
        if (listener_->onMouseDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, b) == 1) SetCapture(hwnd_);
        return 0;
      }
      case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: case WM_XBUTTONUP:
        // The gesture ends first, so that the capture change that follows finds none.
        listener_->onMouseUp({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, buttons(wp));
        ReleaseCapture();
        return 0;
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_) listener_->onCaptureLost();
        return 0;
      case WM_SETCURSOR:
        // The client area shows the cursor the editor chose, not the class's arrow in
        // between; the frame, text entries and other windows have their own.
        if (reinterpret_cast<HWND>(wp) == hwnd_ && LOWORD(lp) == HTCLIENT) {
          SetCursor(cursor_ ? cursor_ : arrow());
          return TRUE;
        }
        break;
      case WM_MOUSEWHEEL:
      case WM_MOUSEHWHEEL: {
        uint32_t mods = 0;
        if (GetKeyState(VK_SHIFT) < 0) mods |= 0x10;
        if (GetKeyState(VK_CONTROL) < 0) mods |= 0x20;
        if (GetKeyState(VK_MENU) < 0) mods |= 0x40;
        RECT r{};
        GetWindowRect(hwnd_, &r);
        const platform::Point at{GET_X_LPARAM(lp) - r.left, GET_Y_LPARAM(lp) - r.top};
        // Fractions of a notch too (precision touchpads, high-resolution wheels).
        const float distance = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wp)) / WHEEL_DELTA;
        if (msg == WM_MOUSEWHEEL)
          listener_->onWheel(at, distance, mods);
        else
          listener_->onHorizontalWheel(at, distance, mods);  // positive to the right
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
  }

 private:
  static HCURSOR arrow() { return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)); }
  // Hands a key message the editor has no use for to the host's window, so that its
  // shortcuts keep working. A host that hands keys back to its focused child does not
  // start a loop.
  LRESULT passOn(UINT msg, WPARAM wp, LPARAM lp) {
    HWND host = GetParent(hwnd_);
    if (!host || passing_) return 0;
    passing_ = true;
    const LRESULT r = SendMessageA(host, msg, wp, lp);
    passing_ = false;
    return r;
  }
  static uint32_t buttons(WPARAM wp) {
    uint32_t b = 0;
    if (wp & MK_LBUTTON) b |= 2;
    if (wp & MK_RBUTTON) b |= 8;
    if (wp & MK_MBUTTON) b |= 4;
    if (wp & MK_XBUTTON1) b |= 0x100;
    if (wp & MK_XBUTTON2) b |= 0x200;
    if (wp & MK_SHIFT) b |= 0x10;
    if (wp & MK_CONTROL) b |= 0x20;
    if (GetKeyState(VK_MENU) < 0) b |= 0x40;
    return b;
  }
  HWND hwnd_ = nullptr;
  platform::WindowListener* listener_;
  HCURSOR defaultCursor_ = nullptr;
  HCURSOR cursor_ = nullptr;  // chosen by setCursor; null: the class's arrow
  bool passing_ = false;       // a key message is on its way to the host
  bool passingChars_ = false;  // the last key pressed went to the host
  bool usedDown_[256] = {};    // keys whose press the editor used
  DropTarget* drop_ = nullptr;
  bool oldSystem_ = false;
  std::unique_ptr<Win32Surface> back_;  // paint buffer on systems before version 6
};

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* w = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
  return w->handle(msg, wp, lp);
}

// ---- Timers ----

std::map<UINT_PTR, platform::TimerCallback>& timerCallbacks() {
  static std::map<UINT_PTR, platform::TimerCallback> m;
  return m;
}
void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto& m = timerCallbacks();
  auto it = m.find(id);
  if (it != m.end()) it->second(static_cast<uint32_t>(id));
}

}  // namespace

int windowClassUseCount() { return gClassUses; }
int liveObjects() { return counted::live; }
long long imagePixelsDrawn() { return gImagePixels; }
int fontsCreated() { return gFonts; }
void paintThroughBackBuffer(bool on) { gForceBackBuffer = on; }

Win32Platform& Win32Platform::instance() {
  static Win32Platform p;
  return p;
}

std::unique_ptr<platform::Window> Win32Platform::createWindow(void* parent, int32_t width,
                                                              int32_t height,
                                                              platform::WindowListener* l) {
  if (!parent || !l || width <= 0 || height <= 0) return nullptr;
  auto w = std::make_unique<Win32Window>(static_cast<HWND>(parent), width, height, l);
  if (!w->ok()) return nullptr;
  return w;
}

std::unique_ptr<platform::Surface> Win32Platform::createOffscreen(int32_t width, int32_t height) {
  if (width > 16384 || height > 16384) width = height = 0;
  return std::make_unique<Win32Surface>(width, height);
}

uint32_t Win32Platform::ticks() { return GetTickCount(); }
void Win32Platform::sleep(uint32_t ms) { Sleep(ms); }
uint32_t Win32Platform::doubleClickTime() { return GetDoubleClickTime(); }

uint32_t Win32Platform::buttonState() {
  uint32_t b = 0;
  if (GetAsyncKeyState(VK_LBUTTON) < 0) b |= gSwapped ? 8 : 2;
  if (GetAsyncKeyState(VK_MBUTTON) < 0) b |= 4;
  if (GetAsyncKeyState(VK_RBUTTON) < 0) b |= gSwapped ? 2 : 8;
  if (GetAsyncKeyState(VK_SHIFT) < 0) b |= 0x10;
  if (GetAsyncKeyState(VK_CONTROL) < 0) b |= 0x20;
  if (GetAsyncKeyState(VK_MENU) < 0) b |= 0x40;
  return b;
}

platform::Point Win32Platform::cursorPosition() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

uint32_t Win32Platform::startTimer(uint32_t periodMs, platform::TimerCallback cb) {
  if (!cb) return 0;
  const UINT_PTR id = SetTimer(nullptr, 0, periodMs, timerProc);
  if (id) timerCallbacks()[id] = cb;
  return static_cast<uint32_t>(id);
}

void Win32Platform::stopTimer(uint32_t id) {
  KillTimer(nullptr, id);
  timerCallbacks().erase(id);
}

std::unique_ptr<platform::NativeImage> Win32Platform::prepareImage(const platform::Pixmap& img) {
  if (!img.pixels || img.width <= 0 || img.height <= 0) return nullptr;
  auto n = std::make_unique<Win32Image>(img);
  if (!n->ok()) return nullptr;  // drawn through the copy path instead
  return n;
}

std::unique_ptr<platform::NativeFont> Win32Platform::prepareFont(const platform::FontSpec& f) {
  auto n = std::make_unique<Win32Font>(f);
  if (!n->handle()) return nullptr;
  return n;
}

double Win32Platform::screenScale(void* parent) {
  // Windows before 10 (1607) have no GetDpiForWindow: looked up, not linked.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  HWND h = static_cast<HWND>(parent);
  UINT dpi = 0;
  if (dpiForWindow && h && IsWindow(h)) dpi = dpiForWindow(h);
  if (!dpi) {
    HDC screen = GetDC(nullptr);
    if (screen) {
      dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
      ReleaseDC(nullptr, screen);
    }
  }
  return dpi >= 24 && dpi <= 960 ? dpi / 96.0 : 1.0;
}

void Win32Platform::dispatchOnePaint() {
  MSG msg;
  if (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace win32
