#include "gui/platform/win32/win32_image.h"

#include <cstring>

#include "gui/platform/win32/win32_objects.h"

namespace win32 {

HBITMAP makeDib(int w, int h, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return made(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0));
}

bool cutToImage(const platform::Pixmap& img, platform::Rect& d, int32_t& sx, int32_t& sy) {
  if (!img.pixels || img.width <= 0 || img.height <= 0) return false;
  if (sx < 0) { d.left -= sx; sx = 0; }
  if (sy < 0) { d.top -= sy; sy = 0; }
  if (d.width() > img.width - sx) d.right = d.left + (img.width - sx);
  if (d.height() > img.height - sy) d.bottom = d.top + (img.height - sy);
  return !d.empty();
}

bool cutToClip(const platform::Rect& clip, platform::Rect& d, int32_t& sx, int32_t& sy) {
  if (d.left < clip.left) { sx += clip.left - d.left; d.left = clip.left; }
  if (d.top < clip.top) { sy += clip.top - d.top; d.top = clip.top; }
  if (d.right > clip.right) d.right = clip.right;
  if (d.bottom > clip.bottom) d.bottom = clip.bottom;
  return !d.empty();
}

Win32Image::Win32Image(const platform::Pixmap& img) : w_(img.width), h_(img.height) {
  dc_ = makeContext(img.pixels, false, &bitmap_, &old_);
}

Win32Image::~Win32Image() {
  release(dc_, bitmap_, old_);
  release(keyDc_, keyBitmap_, keyOld_);
}

HDC Win32Image::keyDc() const {
  if (!keyDc_ && dc_) {
    GdiFlush();
    keyDc_ = makeContext(bits_, true, &keyBitmap_, &keyOld_);
  }
  return keyDc_;
}

HDC Win32Image::makeContext(const uint32_t* from, bool dropAlpha, HBITMAP* bmp,
                            HGDIOBJ* old) const {
  void* bits = nullptr;
  *bmp = makeDib(w_, h_, &bits);
  if (!*bmp || !bits) {
    if (*bmp) freed(DeleteObject(*bmp));
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
  HDC dc = made(CreateCompatibleDC(nullptr));
  if (!dc) {
    freed(DeleteObject(*bmp));
    *bmp = nullptr;
    return nullptr;
  }
  *old = SelectObject(dc, *bmp);
  return dc;
}

void Win32Image::release(HDC dc, HBITMAP bmp, HGDIOBJ old) {
  if (!dc) return;
  SelectObject(dc, old);
  freed(DeleteObject(bmp));
  freed(DeleteDC(dc));
}

const Win32Image* nativeImage(const platform::Pixmap& img) {
  auto* n = dynamic_cast<const Win32Image*>(img.native);
  return n && n->ok() ? n : nullptr;
}

}  // namespace win32
