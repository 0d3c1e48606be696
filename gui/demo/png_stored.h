#pragma once
// A minimal PNG writer: 8-bit RGB, one IDAT of uncompressed (stored) deflate blocks.
#include <cstdint>

namespace demo {
// rgb holds height rows of width * 3 bytes. Answers whether the file was written.
bool writeStoredPng(const char* path, const uint8_t* rgb, int width, int height);
}  // namespace demo
