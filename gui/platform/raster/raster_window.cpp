#include "gui/platform/raster/raster_platform.h"

#include <algorithm>

namespace raster {

RasterWindow::RasterWindow(int32_t width, int32_t height, platform::WindowListener* l)
    : listener_(l), surface_(width, height) {
  RasterPlatform::instance().windowCreated(this);
  invalidate({0, 0, width, height});
}

RasterWindow::~RasterWindow() {
  RasterPlatform::instance().windowDestroyed(this);
  if (listener_) listener_->onDestroyed();
}

void RasterWindow::invalidate(const platform::Rect& r) {
  platform::Rect a = platform::intersect(r, {0, 0, surface_.width(), surface_.height()});
  if (a.empty()) return;
  pending_ = pending_.empty() ? a : platform::unite(pending_, a);
}

void RasterWindow::paint() {
  if (pending_.empty()) return;
  const platform::Rect r = pending_;
  pending_ = {};
  surface_.setClip(r);
  if (listener_) listener_->onPaint(surface_, r);
  surface_.setClip(r);
  for (RasterTextEntry* e : entries_) e->draw(surface_);
  surface_.setClip({0, 0, surface_.width(), surface_.height()});
  ++paints_;
  lastPaint_ = r;
}

void RasterWindow::takeKeyboardFocus() {
  // The window takes the focus from a text entry, which hears of its loss.
  if (RasterTextEntry* e = focusEntry_) {
    focusEntry_ = nullptr;
    e->loseFocus();
  }
}

void RasterWindow::resize(int32_t width, int32_t height) {
  surface_ = RasterSurface(width, height);
  invalidate({0, 0, width, height});
}

std::unique_ptr<platform::Surface> RasterWindow::drawSurface() {
  ++directDraws_;
  return std::make_unique<RasterSurface>(surface_.pixels(), surface_.width(), surface_.height(),
                                         surface_.stride());
}

std::unique_ptr<platform::TextEntry> RasterWindow::createTextEntry(
    const platform::TextEntryParams& p, platform::TextEntryListener* l) {
  auto e = std::make_unique<RasterTextEntry>(this, p, l);
  // The new entry takes the keyboard focus; a previous one loses it first.
  if (RasterTextEntry* old = focusEntry_) {
    focusEntry_ = nullptr;
    old->loseFocus();
  }
  focusEntry_ = e.get();
  return e;
}

void RasterWindow::entryCreated(RasterTextEntry* e) {
  entries_.push_back(e);
  invalidate(e->params().rect);
}

void RasterWindow::entryDestroyed(RasterTextEntry* e) {
  entries_.erase(std::remove(entries_.begin(), entries_.end(), e), entries_.end());
  if (focusEntry_ == e) focusEntry_ = nullptr;
  invalidate(e->params().rect);
}

int32_t RasterWindow::mouseDown(int32_t x, int32_t y, uint32_t buttons) {
  RasterPlatform& p = RasterPlatform::instance();
  p.setCursorPosition({origin_.x + x, origin_.y + y});
  p.setButtonState(buttons & ~static_cast<uint32_t>(kDoubleClick));
  // A click inside a text entry stays with the entry.
  for (RasterTextEntry* e : entries_)
    if (platform::insideHalfOpen(e->params().rect, x, y)) return 1;
  const int32_t result = listener_ ? listener_->onMouseDown({x, y}, buttons) : 2;
  if (result == 1) captured_ = true;
  return result;
}

void RasterWindow::mouseUp(int32_t x, int32_t y, uint32_t buttons) {
  RasterPlatform& p = RasterPlatform::instance();
  p.setCursorPosition({origin_.x + x, origin_.y + y});
  p.setButtonState(buttons);
  if (listener_) listener_->onMouseUp({x, y}, buttons);
  captured_ = false;
}

void RasterWindow::mouseMove(int32_t x, int32_t y, uint32_t buttons) {
  RasterPlatform& p = RasterPlatform::instance();
  p.setCursorPosition({origin_.x + x, origin_.y + y});
  p.setButtonState(buttons);
  if (listener_) listener_->onMouseMoved({x, y}, buttons);
}

void RasterWindow::wheel(int32_t x, int32_t y, int32_t delta120, uint32_t modifiers) {
  // In notches with their fractions, as a high-resolution wheel reports them.
  const float distance = static_cast<float>(delta120) / 120.f;
  if (listener_) listener_->onWheel({x, y}, distance, modifiers & kShiftControlAlt);
}

void RasterWindow::horizontalWheel(int32_t x, int32_t y, int32_t delta120, uint32_t modifiers) {
  if (listener_)
    listener_->onHorizontalWheel({x, y}, static_cast<float>(delta120) / 120.f, modifiers & kShiftControlAlt);
}

int32_t RasterWindow::keyDown(int32_t character, uint8_t virt, uint8_t modifiers) {
  if (RasterTextEntry* e = focusEntry_) {
    if (virt == VKEY_RETURN) e->pressReturn();
    else if (virt == VKEY_ESCAPE) e->pressEscape();
    else if (virt == VKEY_BACK) e->backspace();
    return 1;
  }
  const int32_t r = listener_ ? listener_->onKeyDown(character, virt, modifiers) : -1;
  if (r == -1) passedKeys_.push_back(character);  // on to the host's window
  return r;
}

void RasterWindow::loseCapture() {
  if (!captured_) return;
  captured_ = false;
  if (listener_) listener_->onCaptureLost();
}

int32_t RasterWindow::keyUp(int32_t character, uint8_t virt, uint8_t modifiers) {
  if (focusEntry_) return 1;
  return listener_ ? listener_->onKeyUp(character, virt, modifiers) : -1;
}

void RasterWindow::typeText(const char* s) {
  if (focusEntry_) focusEntry_->type(s);
}

void RasterWindow::dragEnter(int32_t items, int32_t x, int32_t y) {
  if (drop_) drop_->onDragEnter(items, {x, y});
}
void RasterWindow::dragMove(int32_t x, int32_t y) {
  if (drop_) drop_->onDragMove({x, y});
}
void RasterWindow::dragLeave() {
  if (drop_) drop_->onDragLeave();
}
void RasterWindow::drop(int32_t x, int32_t y) {
  if (drop_) drop_->onDrop({x, y});
}

}  // namespace raster
