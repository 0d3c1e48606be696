#include "editor/image_table.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "editor/image_pack.h"
#include "editor/png_image.h"

namespace {

std::atomic<int> gDecoded{0};

// The pack's name of an image at a zoom.
std::string PackName(const char* name, double zoom) {
  if (zoom == 1.0) return name;
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "@%gx", zoom);
  return std::string(name) + suffix;
}

class TImageTable {
 public:
  TImageTable() {
    std::vector<TPackEntry> pack;
    if (!ReadImagePack(kImagePack, kImagePackSize, pack)) return;
    for (const TPackEntry& e : pack) entries.push_back({std::string(e.name), e, nullptr});
  }
  ~TImageTable() {
    for (auto& e : entries)
      if (e.bitmap) e.bitmap->release();
  }
  TImageTable(const TImageTable&) = delete;
  TImageTable& operator=(const TImageTable&) = delete;

  TZBitmap* Find(const char* name, double zoom) {
    if (std::strchr(name, '@')) return nullptr;  // a zoom is asked for by the argument
    const Entry* base = Lookup(name);
    if (!base) return nullptr;
    Entry* e = Lookup(PackName(name, zoom));
    if (!e) {
      e = const_cast<Entry*>(base);
      zoom = 1.0;
    }
    // Editors of several hosts' threads may open at once.
    std::lock_guard<std::mutex> lock(mutex);
    if (!e->bitmap) {
      int width = 0, height = 0;
      if (!PngSize(base->pack.data, base->pack.size, width, height)) return nullptr;
      e->bitmap = new TZBitmap(e->pack.data, e->pack.size, zoom, width, height);
      gDecoded.fetch_add(1, std::memory_order_relaxed);
    }
    return e->bitmap;
  }

 private:
  struct Entry {
    std::string name;
    TPackEntry pack;
    TZBitmap* bitmap;  // decoded on first use
  };
  Entry* Lookup(const std::string& name) {
    for (auto& e : entries)
      if (e.name == name) return &e;
    return nullptr;
  }
  std::vector<Entry> entries;
  std::mutex mutex;
};

}  // namespace

int decodedImages() { return gDecoded.load(std::memory_order_relaxed); }

bool imageSize(const char* name, int& width, int& height) {
  std::vector<TPackEntry> pack;
  if (!name || !ReadImagePack(kImagePack, kImagePackSize, pack)) return false;
  for (const TPackEntry& e : pack)
    if (e.name == name) return PngSize(e.data, e.size, width, height);
  return false;
}

TZBitmap* findImage(const char* name, double zoom) {
  if (!name) return nullptr;
  static TImageTable table;  // built once, thread-safely; freed at unload
  return table.Find(name, zoom);
}
