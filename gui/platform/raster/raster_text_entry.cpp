// The raster's text entry: typing replaces a whole selection, then appends; Backspace
// takes the last character back.
#include "gui/platform/raster/raster_platform.h"

#include <algorithm>

namespace raster {

RasterTextEntry::RasterTextEntry(RasterWindow* w, const platform::TextEntryParams& p,
                                 platform::TextEntryListener* l)
    : window_(w), params_(p), name_(p.font.name ? p.font.name : "Arial"), listener_(l) {
  params_.font.name = name_.c_str();
  text_ = p.text ? p.text : "";
  if (text_.size() > kMaxChars) text_.resize(kMaxChars);
  params_.text = nullptr;
  window_->entryCreated(this);
}

RasterTextEntry::~RasterTextEntry() { window_->entryDestroyed(this); }

size_t RasterTextEntry::text(char* out, size_t cap) const {
  if (!out || cap == 0) return 0;
  const size_t n = std::min(cap - 1, text_.size());
  text_.copy(out, n);
  out[n] = 0;
  return n;
}

void RasterTextEntry::type(const char* s) {
  if (!s) return;
  if (allSelected_) text_.clear();
  allSelected_ = false;
  for (; *s && text_.size() < kMaxChars; ++s) text_.push_back(*s);
  window_->invalidate(params_.rect);
}

void RasterTextEntry::backspace() {
  if (allSelected_) text_.clear();
  else if (!text_.empty()) text_.pop_back();
  allSelected_ = false;
  window_->invalidate(params_.rect);
}

void RasterTextEntry::pressReturn() {
  if (listener_) listener_->textEntryReturn();
}

void RasterTextEntry::pressEscape() {
  if (listener_) listener_->textEntryCancel();
}

void RasterTextEntry::loseFocus() {
  if (listener_) listener_->textEntryFocusLost();
}

void RasterTextEntry::draw(platform::Surface& s) const {
  s.fillRect(params_.rect, params_.backColor);
  platform::Rect inner = params_.rect;
  inner.right -= 1;
  inner.bottom -= 1;
  if (allSelected_ && !text_.empty()) {
    s.text(text_.c_str(), inner, params_.font, params_.backColor, params_.textColor, params_.align);
  } else {
    s.text(text_.c_str(), inner, params_.font, params_.textColor, {0, 0, 0, 0}, params_.align);
  }
}

}  // namespace raster
