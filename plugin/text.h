#pragma once

#include <cstddef>

// Copies src into a host buffer of `size` bytes: at most size - 1 characters,
// always terminated, never cut inside a UTF-8 sequence. A null src or dst, or
// a size below 1, writes nothing (dst stays as the caller left it).
void CopyText(char* dst, const char* src, size_t size);
