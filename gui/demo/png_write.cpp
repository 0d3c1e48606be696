#include "gui/demo/png_write.h"

#include <png.h>

#include <cstdio>

namespace demo {
namespace {
void append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void flush(png_structp) {}
}  // namespace

std::vector<uint8_t> encodePng(const uint8_t* rows, int width, int height, int channels,
                               bool interlaced) {
  std::vector<uint8_t> out;
  if (!rows || width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
  if (!png || !info || setjmp(png_jmpbuf(png))) {  // libpng's errors come back here
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return {};
  }
  png_set_write_fn(png, &out, append, flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y)
      png_write_row(png, const_cast<png_bytep>(rows + static_cast<size_t>(y) * stride));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool writePng(const std::string& path, const uint32_t* pixels, int width, int height,
              std::string& error) {
  if (!pixels || width <= 0 || height <= 0) {
    error = "empty image";
    return false;
  }
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> rgb(3 * count);
  for (size_t i = 0; i < count; ++i) {
    rgb[3 * i] = static_cast<uint8_t>(pixels[i] >> 16);
    rgb[3 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
    rgb[3 * i + 2] = static_cast<uint8_t>(pixels[i]);
  }
  const std::vector<uint8_t> file = encodePng(rgb.data(), width, height, 3);
  if (file.empty()) {
    error = "libpng failed encoding " + path;
    return false;
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = "cannot create " + path;
    return false;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  if (std::fclose(f) != 0 || !written) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
}  // namespace demo
