#pragma once

#include "editor/tz_bitmap.h"

// The editor's images, decoded from the pack linked into the library, shared
// by every editor of the process. Looked up by exact name; null when there is
// none. The caller does not retain the result: the table keeps it alive until
// the library is unloaded.
//
// The pack is decoded on the first look-up (an editor opening), not when the
// library is loaded: hosts load every plug-in to scan it, and a scan should
// not pay for 11 MB of pixels it never shows.
TZBitmap* findImage(const char* name);

// An image's size from its file header, without decoding anything.
bool imageSize(const char* name, int& width, int& height);
