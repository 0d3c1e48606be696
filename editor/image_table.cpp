#include "editor/image_table.h"

#include <cstring>
#include <string>
#include <vector>

#include "editor/image_pack.h"
#include "editor/png_image.h"

namespace {

class TImageTable {
 public:
  TImageTable() {
    std::vector<TPackEntry> pack;
    if (!ReadImagePack(kImagePack, kImagePackSize, pack)) return;
    for (const TPackEntry& e : pack) entries.push_back({std::string(e.name), new TZBitmap(e.data, e.size)});
  }
  ~TImageTable() {
    for (auto& e : entries) e.bitmap->release();
  }
  TImageTable(const TImageTable&) = delete;
  TImageTable& operator=(const TImageTable&) = delete;

  TZBitmap* Find(const char* name) const {
    for (const auto& e : entries)
      if (e.name == name) return e.bitmap;
    return nullptr;
  }

 private:
  struct Entry {
    std::string name;
    TZBitmap* bitmap;
  };
  std::vector<Entry> entries;
};

}  // namespace

bool imageSize(const char* name, int& width, int& height) {
  std::vector<TPackEntry> pack;
  if (!name || !ReadImagePack(kImagePack, kImagePackSize, pack)) return false;
  for (const TPackEntry& e : pack)
    if (e.name == name) return PngSize(e.data, e.size, width, height);
  return false;
}

TZBitmap* findImage(const char* name) {
  if (!name) return nullptr;
  static const TImageTable table;  // built once, thread-safely; freed at unload
  return table.Find(name);
}
