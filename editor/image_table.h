#pragma once

#include "editor/tz_bitmap.h"

// The editor's images, decoded from the pack linked into the library, shared
// by every editor of the process. Looked up by exact name; null when there is
// none. The caller does not retain the result: the table keeps it alive until
// the library is unloaded.
//
// Each image is in the pack at every zoom of zoom::kZooms, drawn for it
// ("BACKGROUND", "BACKGROUND@1.5x", "BACKGROUND@2x"). An image is decoded on
// its first look-up (an editor opening at that zoom), not when the library is
// loaded: hosts load every plug-in to scan it, and a scan should not pay for
// pixels it never shows, nor an editor at 2x for the 1x ones.

// The image `name` made for `zoom` (one of zoom::kZooms), sized in 1x units;
// the 1x image (which draws resampled) for any zoom the pack lacks. GUI thread.
TZBitmap* findImage(const char* name, double zoom = 1.0);

// Images decoded so far in this process.
int decodedImages();

// An image's 1x size from its file header, without decoding anything.
bool imageSize(const char* name, int& width, int& height);
