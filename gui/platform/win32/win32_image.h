#pragma once
// Images as GDI holds them: 32-bit top-down DIB sections.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>

#include "gui/platform/platform.h"

namespace win32 {

// A 32-bit top-down DIB section of w x h pixels; *bits receives its memory.
HBITMAP makeDib(int w, int h, void** bits);

// Cuts a source area to the image and the destination to match; false when empty.
bool cutToImage(const platform::Pixmap& img, platform::Rect& d, int32_t& sx, int32_t& sy);
// Cuts a destination to a clip rectangle, moving the source origin along; false when empty.
bool cutToClip(const platform::Rect& clip, platform::Rect& d, int32_t& sx, int32_t& sy);

// An image as a DIB section selected into a memory context of its own, made once and
// blitted from at any source offset. Colour-key draws need the colours without alpha
// (TransparentBlt compares whole 32-bit words): that copy is made on the first such draw.
class Win32Image : public platform::NativeImage {
 public:
  explicit Win32Image(const platform::Pixmap& img);
  ~Win32Image() override;
  bool ok() const { return dc_ != nullptr; }
  HDC dc() const { return dc_; }
  HDC keyDc() const;

 private:
  HDC makeContext(const uint32_t* from, bool dropAlpha, HBITMAP* bmp, HGDIOBJ* old) const;
  static void release(HDC dc, HBITMAP bmp, HGDIOBJ old);
  int w_, h_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  mutable const uint32_t* bits_ = nullptr;
  mutable HDC keyDc_ = nullptr;
  mutable HBITMAP keyBitmap_ = nullptr;
  mutable HGDIOBJ keyOld_ = nullptr;
};

// The image's prepared form when this layer made it, else null.
const Win32Image* nativeImage(const platform::Pixmap& img);

}  // namespace win32
