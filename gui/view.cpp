#include "gui/view.h"

#include <cstdlib>
#include <cstring>

#include "gui/frame.h"

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

bool CView::overlapsUpdate(const CBounds& u) const { return platform::meet(u, size_); }

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
