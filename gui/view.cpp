#include "gui/view.h"

#include <cstdlib>
#include <cstring>

#include "gui/controls.h"
#include "gui/frame.h"

// ---- CView ----

CView::CView(const CBounds& size) : size_(size), mouseableArea_(size) {}

CView::CView(const CView& v)
    : CBaseObject(v), size_(v.size_), mouseableArea_(v.mouseableArea_),
      mouseEnabled_(v.mouseEnabled_), transparent_(v.transparent_),
      wantsFocus_(v.wantsFocus_), background_(v.background_) {
  if (background_) background_->retain();
  Attribute** tail = &attributes_;
  for (const Attribute* a = v.attributes_; a; a = a->next) {
    auto* n = new Attribute{a->id, a->size, new unsigned char[a->size ? a->size : 1], nullptr};
    if (a->size) std::memcpy(n->data, a->data, a->size);
    *tail = n;
    tail = &n->next;
  }
}

CView::~CView() {
  if (background_) background_->release();
  while (attributes_) {
    Attribute* next = attributes_->next;
    delete[] attributes_->data;
    delete attributes_;
    attributes_ = next;
  }
}

void CView::draw(CDrawContext* context) {
  if (background_) {
    if (transparent_)
      background_->drawTransparent(context, size_);
    else
      background_->draw(context, size_);
  }
  setDirty(false);
}

void CView::drawInRect(CDrawContext* context, const CBounds&) { draw(context); }

bool CView::overlapsUpdate(const CBounds& u) const {
  return !(u.right < size_.left || size_.right < u.left || u.bottom < size_.top ||
           size_.bottom < u.top);
}

void CView::invalidateRect(const CBounds& rect) {
  if (!attached_ || !visible_) return;
  if (parentView_)
    parentView_->invalidateRect(rect);
  else if (parentFrame_)
    parentFrame_->invalidateRect(rect);
}

void CView::invalidate() {
  setDirty(false);
  invalidateRect(size_);
}

void CView::setVisible(bool flag) {
  if (visible_ == flag) return;
  visible_ = flag;
  setDirty();
}

CMouseEventResult CView::mouseDown(CPosition&, const uint32_t&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::mouseUp(CPosition&, const uint32_t&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::mouseMoved(CPosition&, const uint32_t&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::mouseEntered(CPosition&, const uint32_t&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::mouseExited(CPosition&, const uint32_t&) { return kMouseEventNotImplemented; }

bool CView::hitTest(const CPosition& where, uint32_t) { return mouseableArea_.pointInside(where); }

bool CView::wheelOnAxis(const CPosition& where, int32_t axis, float distance, uint32_t buttons) {
  if (axis == kMouseWheelAxisX) return wheel(where, -distance, buttons);
  return wheel(where, distance, buttons);
}
bool CView::wheel(const CPosition&, float, uint32_t) { return false; }

bool CView::drop(CDragContainer*, const CPosition&) { return false; }
void CView::dragEnter(CDragContainer*, const CPosition&) {}
void CView::dragLeave(CDragContainer*, const CPosition&) {}
void CView::dragMove(CDragContainer*, const CPosition&) {}
int32_t CView::keyDown(CKeyCode&) { return -1; }
int32_t CView::keyUp(CKeyCode&) { return -1; }

void CView::setViewSize(const CBounds& r, bool invalid) {
  size_ = r;
  if (invalid) setDirty();
}

CBounds CView::visibleSize() const {
  if (!attached_) return CBounds();
  if (parentView_ && parentView_->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
    return static_cast<CViewContainer*>(parentView_)->visibleRect(size_);
  if (parentFrame_) return parentFrame_->visibleRect(size_);
  return CBounds();
}

CPosition& CView::frameToLocal(CPosition& p) const {
  if (parentView_ && parentView_->isTypeOf("CViewContainer")) return parentView_->frameToLocal(p);
  return p;
}
CPosition& CView::localToFrame(CPosition& p) const {
  if (parentView_ && parentView_->isTypeOf("CViewContainer")) return parentView_->localToFrame(p);
  return p;
}

void CView::setBackground(CBitmap* b) {
  if (b) b->retain();
  if (background_) background_->release();
  background_ = b;
  setDirty();
}

bool CView::removed(CView*) {
  if (!attached_) return false;
  parentView_ = nullptr;
  parentFrame_ = nullptr;
  attached_ = false;
  return true;
}

bool CView::attached(CView* parent) {
  if (attached_ || !parent) return false;
  parentView_ = parent;
  parentFrame_ = parent->getFrame();
  attached_ = true;
  return true;
}

GuiEditorInterface* CView::getEditor() const {
  return parentFrame_ ? parentFrame_->getEditor() : nullptr;
}

bool CView::isTypeOf(const char* name) const { return name && std::strcmp(name, "CView") == 0; }

void CView::mouseTrack(CDrawContext*, CPosition&, uint32_t) {}

void CView::mouseLocation(CDrawContext* context, CPosition& out) {
  if (parentView_ && parentView_->isTypeOf("CViewContainer")) {
    parentView_->mouseLocation(context, out);
    return;
  }
  if (context)
    context->getMouseLocation(out);
  else
    out = CPosition();
}

CPosition& CView::addOriginsToFrame(CPosition& p) const {
  p.offset(size_.left, size_.top);
  const CView* parent = parentView_;
  while (parent && parent != parentFrame_) {
    p.offset(parent->getViewSize().left, parent->getViewSize().top);
    parent = parent->getParentView();
  }
  return p;
}

bool CView::setAttribute(uint32_t id, uint32_t size, const void* data) {
  if (size && !data) return false;
  removeAttribute(id);
  auto* a = new Attribute{id, size, new unsigned char[size ? size : 1], attributes_};
  if (size) std::memcpy(a->data, data, size);
  attributes_ = a;
  return true;
}
bool CView::getAttributeSize(uint32_t id, uint32_t& size) const {
  for (const Attribute* a = attributes_; a; a = a->next)
    if (a->id == id) {
      size = a->size;
      return true;
    }
  return false;
}
bool CView::getAttribute(uint32_t id, uint32_t cap, void* out, uint32_t& size) const {
  for (const Attribute* a = attributes_; a; a = a->next)
    if (a->id == id) {
      if (cap < a->size || (a->size && !out)) return false;
      if (a->size) std::memcpy(out, a->data, a->size);
      size = a->size;
      return true;
    }
  return false;
}
bool CView::removeAttribute(uint32_t id) {
  for (Attribute** p = &attributes_; *p; p = &(*p)->next)
    if ((*p)->id == id) {
      Attribute* a = *p;
      *p = a->next;
      delete[] a->data;
      delete a;
      return true;
    }
  return false;
}

// ---- CViewContainer ----

CViewContainer::CViewContainer(const CBounds& size, CFrame* frame, CBitmap* background)
    : CView(size) {
  parentFrame_ = frame;
  if (background) setBackground(background);
  setDirty(false);
}

CViewContainer::CViewContainer(const CViewContainer& v)
    : CView(v), backgroundColor_(v.backgroundColor_), backgroundOffset_(v.backgroundOffset_),
      drawInOffscreen_(v.drawInOffscreen_) {
  for (Node* n = v.first_; n; n = n->next) {
    CView* copy = n->view->clone();
    if (copy) addView(copy);
  }
}

CViewContainer::~CViewContainer() {
  destroyChildren(true);
  if (offscreen_) offscreen_->release();
}

void CViewContainer::destroyChildren(bool releaseAlso) {
  Node* n = first_;
  first_ = last_ = nullptr;
  mouseDownView_ = dragView_ = nullptr;
  while (n) {
    Node* next = n->next;
    CView* v = n->view;
    delete n;
    if (parentFrame_) parentFrame_->onViewRemoved(v);
    if (attached_ || v->isAttached()) v->removed(this);
    if (releaseAlso) v->release();
    v->release();
    n = next;
  }
}

// The list's reference; an attached container attaches the view at once.
void CViewContainer::adopt(CView* view) {
  view->retain();
  view->setParentFrame(parentFrame_);
  if (attached_) {
    view->attached(this);
    view->setDirty();
  } else {
    view->setParentView(this);
  }
}

bool CViewContainer::addView(CView* view, CView* before) {
  if (!view || view->isAttached() || view == this) return false;
  Node* node = new Node{view, nullptr, nullptr};
  if (!first_) {
    first_ = last_ = node;
  } else {
    Node* at = nullptr;
    for (Node* n = first_; n; n = n->next)
      if (n->view == before) {
        at = n;
        break;
      }
    if (!at) at = last_;  // not a child: before the last child
    node->next = at;
    node->prev = at->prev;
    if (at->prev)
      at->prev->next = node;
    else
      first_ = node;
    at->prev = node;
  }
  adopt(view);
  return true;
}

bool CViewContainer::addView(CView* view) {
  if (!view || view->isAttached() || view == this) return false;
  Node* node = new Node{view, last_, nullptr};
  if (last_)
    last_->next = node;
  else
    first_ = node;
  last_ = node;
  adopt(view);
  return true;
}

bool CViewContainer::addView(CView* view, const CBounds& area, bool mouseEnabled) {
  if (!addView(view)) return false;
  view->setMouseEnabled(mouseEnabled);
  view->setMouseableArea(area);
  return true;
}

bool CViewContainer::removeView(CView* view, bool releaseAlso) {
  for (Node* n = first_; n; n = n->next) {
    if (n->view != view) continue;
    if (n->prev) n->prev->next = n->next; else first_ = n->next;
    if (n->next) n->next->prev = n->prev; else last_ = n->prev;
    delete n;
    if (mouseDownView_ == view) mouseDownView_ = nullptr;
    if (dragView_ == view) dragView_ = nullptr;
    if (parentFrame_) parentFrame_->onViewRemoved(view);
    if (attached_ || view->isAttached()) view->removed(this);
    if (releaseAlso) view->release();
    view->release();
    return true;
  }
  return false;
}

bool CViewContainer::removeAll(bool releaseAlso) {
  destroyChildren(releaseAlso);
  return true;
}

bool CViewContainer::isChild(CView* view) const {
  for (Node* n = first_; n; n = n->next)
    if (n->view == view) return true;
  return false;
}

int32_t CViewContainer::viewCount() const {
  int32_t c = 0;
  for (Node* n = first_; n; n = n->next) ++c;
  return c;
}

CView* CViewContainer::viewAt(int32_t index) const {
  if (index < 0) return nullptr;
  for (Node* n = first_; n; n = n->next, --index)
    if (index == 0) return n->view;
  return nullptr;
}

CView* CViewContainer::childAt(const CPosition& local) const {
  for (Node* n = last_; n; n = n->prev)
    if (n->view->isVisible() && n->view->getMouseableArea().pointInside(local)) return n->view;
  return nullptr;
}

CView* CViewContainer::viewAtPoint(const CPosition& where, bool deep) const {
  if (!parentFrame_ || !visible_) return nullptr;
  CPosition local(where.h - size_.left, where.v - size_.top);
  CView* v = childAt(local);
  if (v && deep && v->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
    return static_cast<CViewContainer*>(v)->viewAtPoint(local, deep);
  return v;
}

CViewContainer* CViewContainer::containerAtPoint(const CPosition& where, bool deep) const {
  if (!parentFrame_) return nullptr;
  CPosition local(where.h - size_.left, where.v - size_.top);
  CView* v = childAt(local);
  if (v && deep && v->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
    return static_cast<CViewContainer*>(v)->containerAtPoint(local, deep);
  return const_cast<CViewContainer*>(this);
}

void CViewContainer::setBackgroundColor(CRGBA c) {
  backgroundColor_ = c;
  setDirty();
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CBounds& r) {
  if (background_) {
    CBounds saved = context->getClipRect();
    CBounds clip = r;
    clip.bound(saved);
    context->setClipRect(clip);
    CBounds whole(0, 0, background_->getWidth(), background_->getHeight());
    if (transparent_)
      background_->drawTransparent(context, whole, backgroundOffset_);
    else
      background_->draw(context, whole, backgroundOffset_);
    context->setClipRect(saved);
  } else if (!transparent_) {
    context->setFillColor(backgroundColor_);
    context->fillRect(r);
    context->setFrameColor(backgroundColor_);
    context->drawRect(r);
  }
}

void CViewContainer::setDrawInOffscreen(bool b) {
  if (drawInOffscreen_ == b) return;
  drawInOffscreen_ = b;
  if (!b && offscreen_) {
    offscreen_->release();
    offscreen_ = nullptr;
  }
}

bool CViewContainer::advanceFocus(CView* current, bool reverse) {
  CFrame* frame = parentFrame_;
  Node* n = reverse ? last_ : first_;
  if (current) {
    while (n && n->view != current) n = reverse ? n->prev : n->next;
    if (n) n = reverse ? n->prev : n->next;
    else n = nullptr;
  }
  for (; n; n = reverse ? n->prev : n->next) {
    CView* v = n->view;
    if (v->wantsFocus()) {
      if (frame) frame->setFocusView(v);
      return true;
    }
    if (v->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified &&
        static_cast<CViewContainer*>(v)->advanceFocus(nullptr, reverse))
      return true;
  }
  return false;
}

bool CViewContainer::invalidateDirtyViews() {
  if (!visible_) return true;
  if (CView::isDirty()) {
    CView::invalidateRect(size_);
    return true;
  }
  for (Node* n = first_; n; n = n->next) {
    CView* v = n->view;
    if (!v->isDirty() || !v->isVisible()) continue;
    if (v->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
      static_cast<CViewContainer*>(v)->invalidateDirtyViews();
    else
      v->invalidate();
  }
  return true;
}

CBounds CViewContainer::visibleRect(const CBounds& rect) const {
  CBounds r = rect;
  r.offset(size_.left, size_.top);
  r.bound(size_);
  if (parentView_ && parentView_->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
    return static_cast<CViewContainer*>(parentView_)->visibleRect(r);
  if (parentFrame_ && parentFrame_ != this) return parentFrame_->visibleRect(r);
  return r;
}

CView* CViewContainer::viewUnderMouse() const {
  if (!parentFrame_) return nullptr;
  CPosition where;
  parentFrame_->getCurrentMouseLocation(where);
  frameToLocal(where);
  for (Node* n = last_; n; n = n->prev)
    if (n->view->getMouseableArea().pointInside(where)) return n->view;
  return nullptr;
}

bool CViewContainer::isVisibleChild(CView* view, const CBounds& rect) const {
  return view && view->isVisible() && view->overlapsUpdate(rect);
}

bool CViewContainer::hitTestChildren(const CPosition& where, uint32_t buttons) {
  CPosition local(where.h - size_.left, where.v - size_.top);
  for (Node* n = last_; n; n = n->prev)
    if (n->view->getMouseEnabled() && n->view->hitTest(local, buttons)) return true;
  return false;
}

CMessageResult CViewContainer::notify(CBaseObject* sender, const char* message) {
  if (message == kMsgCheckIfViewContainer) return kMessageNotified;
  return CView::notify(sender, message);
}

void CViewContainer::draw(CDrawContext* context) { drawInRect(context, size_); }

void CViewContainer::drawInRect(CDrawContext* context, const CBounds& update) {
  if (!context) return;
  if (drawInOffscreen_ && !offscreen_)
    offscreen_ = new COffscreenContext(parentFrame_, size_.width(), size_.height(), kBlackCRGBA);
  CDrawContext* target = context;
  const CPosition savedOffset = context->getDrawOffset();
  const CBounds savedClip = context->getClipRect();
  if (offscreen_) {
    if (transparent_)
      offscreen_->copyFrom(context, CBounds(0, 0, size_.width(), size_.height()),
                           CPosition(size_.left + savedOffset.h, size_.top + savedOffset.v));
    target = offscreen_;
  } else {
    context->setDrawOffset(CPosition(savedOffset.h + size_.left, savedOffset.v + size_.top));
  }

  CBounds local = update;
  local.bound(size_);
  local.offset(-size_.left, -size_.top);
  CBounds clip = local;
  if (!offscreen_) {
    // Stay inside what the caller allowed.
    CBounds outer = savedClip;
    outer.offset(-size_.left, -size_.top);
    clip.bound(outer);
  }
  const CBounds targetSavedClip = target->getClipRect();
  target->setClipRect(clip);

  drawBackgroundRect(target, clip);

  for (Node* n = first_; n; n = n->next) {
    CView* v = n->view;
    if (!isVisibleChild(v, clip)) continue;
    CBounds childClip = v->getViewSize();
    childClip.bound(clip);
    if (childClip.isEmpty()) continue;
    target->setClipRect(childClip);
    v->drawInRect(target, clip);
  }

  target->setClipRect(targetSavedClip);
  if (offscreen_) {
    CBounds dst = local;
    dst.offset(size_.left, size_.top);
    offscreen_->copyTo(context, dst, CPosition(local.left, local.top));
  } else {
    context->setDrawOffset(savedOffset);
  }
  context->setClipRect(savedClip);
  setDirty(false);
}

bool CViewContainer::isDirty() const {
  if (dirty_) return true;
  CBounds bounds(0, 0, size_.width(), size_.height());
  for (Node* n = first_; n; n = n->next) {
    if (!n->view->isDirty()) continue;
    CBounds r = n->view->getViewSize();
    r.bound(bounds);
    if (!r.isEmpty()) return true;
  }
  return false;
}

void CViewContainer::invalidateRect(const CBounds& rect) {
  CBounds r = rect;
  r.offset(size_.left, size_.top);
  r.bound(size_);
  if (r.isEmpty()) return;
  CView::invalidateRect(r);
}

void CViewContainer::invalidate() {
  dirty_ = false;
  CView::invalidateRect(size_);
}

CMouseEventResult CViewContainer::mouseDown(CPosition& where, const uint32_t& buttons) {
  CPosition local(where.h - size_.left, where.v - size_.top);
  for (Node* n = last_; n; n = n->prev) {
    CView* v = n->view;
    if (!v->isVisible() || !v->getMouseEnabled() || !v->hitTest(local, buttons)) continue;
    if ((buttons & kModifierBits) && v->isTypeOf("CControl")) {
      auto* c = static_cast<CControl*>(v);
      if (c->getListener() && c->getListener()->modifierClicked(c, buttons))
        return kMouseEventHandled;
    }
    CPosition p = local;
    CMouseEventResult r = v->mouseDown(p, buttons);
    if (r == kMouseEventNotImplemented) {
      CDrawContext* ctx = new CDrawContext(parentFrame_, nullptr);
      CPosition p2 = local;
      v->mouseTrack(ctx, p2, buttons);
      ctx->release();
    } else if (r == kMouseEventHandled) {
      mouseDownView_ = v;
    }
    return r;
  }
  return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::mouseUp(CPosition& where, const uint32_t& buttons) {
  if (!mouseDownView_) return kMouseEventNotHandled;
  CPosition local(where.h - size_.left, where.v - size_.top);
  CView* v = mouseDownView_;
  mouseDownView_ = nullptr;
  v->mouseUp(local, buttons);
  return kMouseEventHandled;
}

CMouseEventResult CViewContainer::mouseMoved(CPosition& where, const uint32_t& buttons) {
  if (!mouseDownView_) return kMouseEventNotHandled;
  CPosition local(where.h - size_.left, where.v - size_.top);
  CMouseEventResult r = mouseDownView_->mouseMoved(local, buttons);
  if (r != kMouseEventHandled) {
    mouseDownView_ = nullptr;
    return kMouseEventNotHandled;
  }
  return kMouseEventHandled;
}

bool CViewContainer::wheelOnAxis(const CPosition& where, int32_t axis, float distance,
                                 uint32_t buttons) {
  CView* v = viewAtPoint(where, false);
  if (!v) return false;
  CPosition local(where.h - size_.left, where.v - size_.top);
  return v->wheelOnAxis(local, axis, distance, buttons);
}

bool CViewContainer::wheel(const CPosition& where, float distance, uint32_t buttons) {
  return wheelOnAxis(where, kMouseWheelAxisY, distance, buttons);
}

int32_t CViewContainer::keyDown(CKeyCode& key) {
  for (Node* n = last_; n; n = n->prev) {
    int32_t r = n->view->keyDown(key);
    if (r != -1) return r;
  }
  return -1;
}

int32_t CViewContainer::keyUp(CKeyCode& key) {
  for (Node* n = last_; n; n = n->prev) {
    int32_t r = n->view->keyUp(key);
    if (r != -1) return r;
  }
  return -1;
}

bool CViewContainer::drop(CDragContainer* drag, const CPosition& where) {
  if (!parentFrame_) return false;
  CPosition local(where.h - size_.left, where.v - size_.top);
  CView* v = viewAtPoint(where, false);
  bool result = false;
  if (v) {
    result = v->drop(drag, local);
    v->dragLeave(drag, local);
  }
  dragView_ = nullptr;
  return result;
}

void CViewContainer::dragEnter(CDragContainer* drag, const CPosition& where) {
  if (!parentFrame_) return;
  CPosition local(where.h - size_.left, where.v - size_.top);
  CView* v = viewAtPoint(where, false);
  if (v != dragView_) {
    if (dragView_) dragView_->dragLeave(drag, local);
    dragView_ = v;
    if (v) v->dragEnter(drag, local);
  } else if (v) {
    v->dragMove(drag, local);
  }
}

void CViewContainer::dragLeave(CDragContainer* drag, const CPosition& where) {
  if (!parentFrame_) return;
  CPosition local(where.h - size_.left, where.v - size_.top);
  if (dragView_) dragView_->dragLeave(drag, local);
  dragView_ = nullptr;
}

void CViewContainer::dragMove(CDragContainer* drag, const CPosition& where) {
  dragEnter(drag, where);
}

void CViewContainer::setViewSize(const CBounds& r, bool invalid) {
  CView::setViewSize(r, invalid);
  parentSizeChanged();
  if (drawInOffscreen_ && offscreen_) {
    offscreen_->release();
    offscreen_ = new COffscreenContext(parentFrame_, size_.width(), size_.height(), kBlackCRGBA);
  }
}

void CViewContainer::parentSizeChanged() {
  for (Node* n = first_; n; n = n->next) n->view->parentSizeChanged();
}
void CViewContainer::loseFocus() {
  for (Node* n = first_; n; n = n->next) n->view->loseFocus();
}
void CViewContainer::takeFocus() {
  for (Node* n = first_; n; n = n->next) n->view->takeFocus();
}

CPosition& CViewContainer::frameToLocal(CPosition& p) const {
  p.offset(-size_.left, -size_.top);
  if (parentView_ && parentView_->isTypeOf("CViewContainer")) return parentView_->frameToLocal(p);
  return p;
}
CPosition& CViewContainer::localToFrame(CPosition& p) const {
  p.offset(size_.left, size_.top);
  if (parentView_ && parentView_->isTypeOf("CViewContainer")) return parentView_->localToFrame(p);
  return p;
}

bool CViewContainer::removed(CView* parent) {
  if (offscreen_) {
    offscreen_->release();
    offscreen_ = nullptr;
  }
  parentFrame_ = nullptr;
  for (Node* n = first_; n; n = n->next) n->view->removed(this);
  return CView::removed(parent);
}

bool CViewContainer::attached(CView* parent) {
  if (attached_ || !parent) return false;
  if (drawInOffscreen_ && !offscreen_)
    offscreen_ = new COffscreenContext(parent->getFrame(), size_.width(), size_.height(),
                                       kBlackCRGBA);
  parentFrame_ = parent->getFrame();
  for (Node* n = first_; n; n = n->next) {
    n->view->setParentFrame(parentFrame_);
    n->view->attached(this);
  }
  return CView::attached(parent);
}

bool CViewContainer::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CViewContainer") == 0) || CView::isTypeOf(name);
}

void CViewContainer::mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) {
  CPosition local(where.h - size_.left, where.v - size_.top);
  for (Node* n = last_; n; n = n->prev) {
    CView* v = n->view;
    if (v->isVisible() && v->getMouseEnabled() && v->hitTest(local, buttons)) {
      CPosition p = local;
      CPosition savedOffset = context ? context->getDrawOffset() : CPosition();
      if (context)
        context->setDrawOffset(CPosition(savedOffset.h + size_.left, savedOffset.v + size_.top));
      v->mouseTrack(context, p, buttons);
      if (context) context->setDrawOffset(savedOffset);
      return;
    }
  }
}

void CViewContainer::mouseLocation(CDrawContext* context, CPosition& out) {
  CView::mouseLocation(context, out);
  out.offset(-size_.left, -size_.top);
}
