#include "editor/png_image.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "gui/platform/pixels.h"

namespace {

// Decodes only what a bitmap can hold.
constexpr png_uint_32 kMaxSide = platform::kMaxImageSide;

struct TReadState {
  const uint8_t* data;
  uint32_t position;
  uint32_t length;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t n) {
  auto* s = static_cast<TReadState*>(png_get_io_ptr(png));
  if (n > s->length - s->position) {
    // Copy nothing and stop the decoder at once: a truncated file is an error.
    png_error(png, "read past the end of the image data");
  }
  std::memcpy(out, s->data + s->position, n);
  s->position += static_cast<uint32_t>(n);
}

// Errors end the decode quietly: the library prints nothing.
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Ignore(png_structp, png_const_charp) {}

// Rounded as everything else the framework draws is (platform::premultiply).
void Premultiply(std::vector<uint8_t>& pixels) {
  for (size_t i = 0; i + 3 < pixels.size(); i += 4)
    for (int c = 0; c < 3; ++c) pixels[i + c] = platform::premultiply(pixels[i + c], pixels[i + 3]);
}

// Everything libpng may jump out of lives here, with no C++ objects to unwind.
bool Decode(png_structp png, png_infop info, TReadState* state, TPngImage* out,
            png_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, state, ReadBytes);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int depth = png_get_bit_depth(png, info);
  const int colour = png_get_color_type(png, info);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;

  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_tRNS_to_alpha(png);
  else if (!(colour & PNG_COLOR_MASK_ALPHA))
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  if (depth == 16) png_set_strip_16(png);
  if (colour == PNG_COLOR_TYPE_RGB || colour == PNG_COLOR_TYPE_RGB_ALPHA) png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) return false;

  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->noAlpha = colour != PNG_COLOR_TYPE_RGB_ALPHA;
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = out->pixels.data() + size_t(height - 1 - y) * width * 4;
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, rows[y], nullptr);
  png_read_end(png, nullptr);
  return true;
}

bool ReadHeader(const uint8_t* data, uint32_t length, png_uint_32& width, png_uint_32& height) {
  // The IHDR chunk follows the 8-byte signature: length, "IHDR", width, height.
  if (length < 24 || png_sig_cmp(data, 0, 8) != 0) return false;
  width = png_get_uint_32(data + 16);
  height = png_get_uint_32(data + 20);
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

}  // namespace

bool PngSize(const uint8_t* data, uint32_t length, int& width, int& height) {
  png_uint_32 w, h;
  if (!data || !ReadHeader(data, length, w, h)) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool DecodePng(const uint8_t* data, uint32_t length, TPngImage& out) {
  out = TPngImage{};
  png_uint_32 width, height;
  if (!data || !ReadHeader(data, length, width, height)) return false;
  // Memory for the pixels and the row table exists before the decoder can jump.
  TPngImage image;
  image.pixels.assign(size_t(width) * height * 4, 0);
  std::vector<png_bytep> rows(height);

  // Created for the version of the library actually linked, so that any
  // compatible libpng accepts it.
  png_structp png = png_create_read_struct(png_get_libpng_ver(nullptr), nullptr, Fail, Ignore);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  TReadState state{data, 0, length};
  const bool ok = Decode(png, info, &state, &image, rows.data()) &&
                  image.width == int(width) && image.height == int(height);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return false;
  Premultiply(image.pixels);
  out = std::move(image);
  return true;
}
