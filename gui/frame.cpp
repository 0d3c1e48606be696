#include "gui/frame.h"

#include <cmath>
#include <cstring>

namespace {
bool gInFocusChange = false;  // process-wide guard against re-entrant focus changes
bool validZoom(double z) { return z >= 0.25 && z <= 8.0; }
}  // namespace

CFrame::CFrame(const CBounds& size, void* parentWindow, GuiEditorInterface* editor, double zoom)
    : CViewContainer(size, nullptr), editor_(editor),
      scale_(validZoom(zoom) ? zoom : 1.0), parentWindow_(parentWindow) {
  parentFrame_ = this;
  attached_ = true;
  if (parentWindow_) {
    window_ = platform::current().createWindow(parentWindow_, windowWidth(), windowHeight(), this);
    if (window_) setDropActive(true);
  }
}

CFrame::~CFrame() {
  if (modalView_) {
    CView* m = modalView_;
    modalView_ = nullptr;
    removeView(m, false);
  }
  if (window_) window_->setCursor(kCursorDefault);
  setDropActive(false);
  focusView_ = mouseOverView_ = nullptr;
  removeAll(true);
  if (dragContainer_) {
    dragContainer_->release();
    dragContainer_ = nullptr;
  }
  openFlag_ = false;
  window_.reset();
  parentFrame_ = nullptr;
}

void CFrame::idle() {
  if (openFlag_) invalidateDirtyViews();
}

void CFrame::doIdleStuff() {
  if (editor_) editor_->doIdleStuff();
}

uint32_t CFrame::getTicks() const { return platform::current().ticks(); }

int32_t CFrame::getKnobMode() const { return editor_ ? editor_->getKnobMode() : kCircularMode; }

bool CFrame::getPosition(int32_t& x, int32_t& y) const {
  if (!window_) return false;
  const platform::Point p = window_->position();
  x = p.x;
  y = p.y;
  return true;
}

bool CFrame::getHostWindowRect(CBounds& out) const {
  platform::Rect r;
  if (!openFlag_ || !window_ || !window_->hostRect(r)) return false;
  out = CBounds(r.left, r.top, r.right, r.bottom);
  return true;
}

bool CFrame::setSize(int32_t width, int32_t height) {
  if (!openFlag_ || width < 0 || height < 0) return false;
  if (width == size_.width() && height == size_.height()) return false;
  size_.right = size_.left + width;
  size_.bottom = size_.top + height;
  mouseableArea_ = size_;
  if (window_) window_->resize(windowWidth(), windowHeight());
  setDirty();
  parentSizeChanged();
  if (drawInOffscreen_ && offscreen_) {
    offscreen_->release();
    offscreen_ = new COffscreenContext(this, width, height, kBlackCRGBA);
  }
  return true;
}

bool CFrame::setZoom(double zoom) {
  if (!validZoom(zoom)) return false;
  if (zoom == scale_.factor) return true;
  setFocusView(nullptr);  // a text entry open now would stay at the old pixels
  scale_ = CScale(zoom);
  if (window_) window_->resize(windowWidth(), windowHeight());
  if (drawInOffscreen_ && offscreen_) {  // made at the old scale's pixel size
    offscreen_->release();
    offscreen_ = new COffscreenContext(this, size_.width(), size_.height(), kBlackCRGBA);
  }
  setDirty();
  invalidate();
  return true;
}

bool CFrame::setModalView(CView* view) {
  if (view && (modalView_ || view->isAttached())) return false;
  if (modalView_) {
    CView* old = modalView_;
    modalView_ = nullptr;
    removeView(old, false);
  }
  modalView_ = view;
  if (view) addView(view);
  return true;
}

void CFrame::beginEdit(int32_t tag) {
  if (editor_) editor_->beginEdit(tag);
}
void CFrame::endEdit(int32_t tag) {
  if (editor_) editor_->endEdit(tag);
}

bool CFrame::getCurrentMouseLocation(CPosition& out) const {
  platform::Point p = platform::current().cursorPosition();
  platform::Point o = window_ ? window_->screenOrigin() : platform::Point{};
  out = scale_.toUnits(platform::Point{p.x - o.x, p.y - o.y});
  return true;
}

uint32_t CFrame::getCurrentMouseButtons() const { return platform::current().buttonState(); }

void CFrame::setCursor(int32_t type) {
  if (window_) window_->setCursor(type);
}

void CFrame::setFocusView(CView* view) {
  if (view == focusView_ || gInFocusChange) return;
  gInFocusChange = true;
  CView* old = focusView_;
  focusView_ = view;
  if (view && view->wantsFocus()) view->setDirty();
  if (old && old->wantsFocus()) {
    old->setDirty();
    old->loseFocus();
  }
  gInFocusChange = false;
}

void CFrame::onViewRemoved(CView* view) {
  if (focusView_ == view) focusView_ = nullptr;
  if (mouseOverView_ == view) mouseOverView_ = nullptr;
  if (mouseDownView_ == view) mouseDownView_ = nullptr;
}

bool CFrame::setDropActive(bool active) {
  if (!window_) return false;
  if (active == dropActive_) return true;
  dropActive_ = window_->setDropTarget(active ? static_cast<platform::DropListener*>(this)
                                              : nullptr) && active;
  return true;
}

void CFrame::markDirtyInRect(const CBounds& r) {
  for (Node* n = first_; n; n = n->next)
    if (n->view->overlapsUpdate(r)) n->view->setDirty();
}

void CFrame::draw(CDrawContext* context) { drawInRect(context, size_); }

void CFrame::drawInRect(CDrawContext* context, const CBounds& update) {
  if (!context) return;
  context->retain();
  CBounds r = update;
  r.bound(context->getClipRect());
  CViewContainer::drawInRect(context, r);
  context->release();
}

void CFrame::invalidateRect(const CBounds& rect) {
  if (!visible_ || !window_) return;
  CBounds r = rect;
  r.bound(CBounds(0, 0, size_.width(), size_.height()));
  if (r.isEmpty()) return;
  window_->invalidate(toWindow(r));
}

void CFrame::invalidate() {
  dirty_ = false;
  invalidateRect(CBounds(0, 0, size_.width(), size_.height()));
}

CMouseEventResult CFrame::mouseDown(CPosition& where, const uint32_t& buttons) {
  mouseDownView_ = nullptr;
  if (focusView_) setFocusView(nullptr);
  if (mouseOverView_) {
    CPosition p = where;
    mouseOverView_->frameToLocal(p);
    mouseOverView_->mouseExited(p, buttons);
    if (mouseObserver_) mouseObserver_->onMouseExited(mouseOverView_, this);
    mouseOverView_ = nullptr;
  }
  if (modalView_) {
    if (!modalView_->isVisible() || !modalView_->hitTest(where, buttons))
      return kMouseEventNotHandled;
    CPosition p = where;
    CMouseEventResult r = modalView_->mouseDown(p, buttons);
    if (r == kMouseEventHandled) {
      mouseDownView_ = modalView_;
      return kMouseEventHandled;
    }
    if (r == kMouseEventNotImplemented) {
      CDrawContext* ctx = new CDrawContext(this, nullptr);
      CPosition p2 = where;
      modalView_->mouseTrack(ctx, p2, buttons);
      ctx->release();
      return kMouseEventHandled;
    }
    return kMouseEventNotHandled;
  }
  return CViewContainer::mouseDown(where, buttons);
}

CMouseEventResult CFrame::mouseUp(CPosition& where, const uint32_t& buttons) {
  return CViewContainer::mouseUp(where, buttons);
}

CMouseEventResult CFrame::mouseMoved(CPosition& where, const uint32_t& buttons) {
  if (modalView_) {
    CPosition p = where;
    return modalView_->mouseMoved(p, buttons);
  }
  if (mouseDownView_) return CViewContainer::mouseMoved(where, buttons);
  CView* v = viewAtPoint(where, true);
  if (v != mouseOverView_) {
    if (mouseOverView_) {
      CPosition p = where;
      mouseOverView_->frameToLocal(p);
      mouseOverView_->mouseExited(p, buttons);
      if (mouseObserver_) mouseObserver_->onMouseExited(mouseOverView_, this);
    }
    mouseOverView_ = v;
    if (v) {
      CPosition p = where;
      v->frameToLocal(p);
      v->mouseEntered(p, buttons);
      if (mouseObserver_) mouseObserver_->onMouseEntered(v, this);
    }
    return kMouseEventHandled;
  }
  if (v) {
    CPosition p = where;
    v->frameToLocal(p);
    return v->mouseMoved(p, 0);
  }
  return kMouseEventNotHandled;
}

bool CFrame::wheelOnAxis(const CPosition& where, int32_t axis, float distance, uint32_t buttons) {
  if (mouseDownView_) return false;
  if (modalView_) return modalView_->wheelOnAxis(where, axis, distance, buttons);
  return CViewContainer::wheelOnAxis(where, axis, distance, buttons);
}

int32_t CFrame::keyDown(CKeyCode& key) {
  int32_t r = -1;
  if (focusView_) r = focusView_->keyDown(key);
  if (r == -1 && modalView_) r = modalView_->keyDown(key);
  if (r == -1 && key.virt == VKEY_TAB)
    r = advanceFocus(focusView_, (key.modifier & MODIFIER_SHIFT) != 0) ? 1 : -1;
  return r;
}

int32_t CFrame::keyUp(CKeyCode& key) {
  int32_t r = -1;
  if (focusView_) r = focusView_->keyUp(key);
  if (r == -1 && modalView_) r = modalView_->keyUp(key);
  return r;
}

void CFrame::setViewSize(const CBounds& r, bool) { setSize(r.width(), r.height()); }

bool CFrame::removeView(CView* view, bool releaseAlso) {
  if (view && view == modalView_) modalView_ = nullptr;
  return CViewContainer::removeView(view, releaseAlso);
}

bool CFrame::removeAll(bool releaseAlso) {
  modalView_ = focusView_ = mouseOverView_ = nullptr;
  return CViewContainer::removeAll(releaseAlso);
}

bool CFrame::advanceFocus(CView* current, bool reverse) {
  if (modalView_) {
    if (modalView_->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
      return static_cast<CViewContainer*>(modalView_)->advanceFocus(current, reverse);
    if (current == modalView_) return false;
    setFocusView(modalView_);
    return true;
  }
  if (!current) current = focusView_;
  if (!current) return CViewContainer::advanceFocus(nullptr, reverse);
  CView* parent = current->getParentView();
  while (parent && parent != this) {
    auto* c = static_cast<CViewContainer*>(parent);
    if (c->advanceFocus(current, reverse)) return true;
    current = parent;
    parent = parent->getParentView();
  }
  // current is now a direct child of the frame.
  if (CViewContainer::advanceFocus(current, reverse)) return true;
  setFocusView(nullptr);
  return false;
}

CView* CFrame::viewUnderMouse() const {
  if (modalView_) return modalView_;
  return CViewContainer::viewUnderMouse();
}

bool CFrame::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CFrame") == 0) || CViewContainer::isTypeOf(name);
}

void CFrame::mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) {
  if (mouseDown(where, buttons) != kMouseEventHandled) return;
  const uint32_t held = buttons & (kLButton | kRButton | kMButton);
  CPosition last = where;
  for (;;) {
    doIdleStuff();
    uint32_t now = getCurrentMouseButtons();
    CPosition p;
    if (context)
      context->getMouseLocation(p);
    else
      getCurrentMouseLocation(p);
    if ((now & held) != held) {
      mouseUp(p, now);
      return;
    }
    if (p != last) {
      last = p;
      mouseMoved(p, now);
    }
  }
}

CBounds CFrame::visibleRect(const CBounds& rect) const {
  CBounds r = rect;
  r.bound(CBounds(0, 0, size_.width(), size_.height()));
  return r;
}

// ---- Window events ----

void CFrame::onPaint(platform::Surface& s, const platform::Rect& update) {
  CDrawContext* ctx = new CDrawContext(this, &s);
  drawInRect(ctx, scale_.unitsCovering(update));
  ctx->release();
}

int32_t CFrame::onMouseDown(platform::Point where, uint32_t buttons) {
  CPosition p = scale_.toUnits(where);
  return mouseDown(p, buttons);
}
void CFrame::onMouseUp(platform::Point where, uint32_t buttons) {
  CPosition p = scale_.toUnits(where);
  mouseUp(p, buttons);
}
void CFrame::onMouseMoved(platform::Point where, uint32_t buttons) {
  CPosition p = scale_.toUnits(where);
  mouseMoved(p, buttons);
}
void CFrame::onWheel(platform::Point where, float distance, uint32_t buttons) {
  wheelSteps(where, kMouseWheelAxisY, distance, buttons);
}
void CFrame::onHorizontalWheel(platform::Point where, float distance, uint32_t buttons) {
  wheelSteps(where, kMouseWheelAxisX, distance, buttons);
}
void CFrame::wheelSteps(platform::Point where, int32_t axis, float distance, uint32_t buttons) {
  // Precision touchpads and high-resolution wheels send parts of a notch: they add up
  // (in 120ths, exactly) to whole notches; a change of direction starts afresh.
  long& rest = wheelUnits_[axis == kMouseWheelAxisX ? 0 : 1];
  const long units = std::lround(static_cast<double>(distance) * 120.0);
  if (units == 0) return;
  if ((units > 0) != (rest > 0)) rest = 0;
  rest += units;
  const long notches = rest / 120;
  if (notches == 0) return;
  rest -= notches * 120;
  wheelOnAxis(scale_.toUnits(where), axis, static_cast<float>(notches), buttons);
}
void CFrame::onCaptureLost() {
  // The gesture ends as if the button had been released where the pointer is now.
  if (!mouseDownView_) return;
  CPosition p;
  getCurrentMouseLocation(p);
  mouseUp(p, 0);
}
int32_t CFrame::onKeyDown(int32_t character, uint8_t virt, uint8_t modifiers) {
  CKeyCode k{character, virt, modifiers};
  return keyDown(k);
}
int32_t CFrame::onKeyUp(int32_t character, uint8_t virt, uint8_t modifiers) {
  CKeyCode k{character, virt, modifiers};
  return keyUp(k);
}
void CFrame::onDestroyed() {
  setOpenFlag(false);
  parentWindow_ = nullptr;
}

void CFrame::onDragEnter(int32_t itemCount, platform::Point where) {
  if (dragContainer_) dragContainer_->release();
  dragContainer_ = new CDragContainer(itemCount);
  dragEnter(dragContainer_, scale_.toUnits(where));
}
void CFrame::onDragMove(platform::Point where) {
  if (dragContainer_) dragMove(dragContainer_, scale_.toUnits(where));
}
void CFrame::onDragLeave() {
  if (!dragContainer_) return;
  CPosition p;
  getCurrentMouseLocation(p);
  dragLeave(dragContainer_, p);
  dragContainer_->release();
  dragContainer_ = nullptr;
}
void CFrame::onDrop(platform::Point where) {
  if (!dragContainer_) return;
  drop(dragContainer_, scale_.toUnits(where));
  dragContainer_->release();
  dragContainer_ = nullptr;
}
