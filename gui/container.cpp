// A container's children: their list and ownership, geometry, focus order, attachment.
#include "gui/view.h"

#include <cstring>

#include "gui/frame.h"

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

void CViewContainer::setBackgroundColor(CRGBA c) {
  backgroundColor_ = c;
  setDirty();
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

CBounds CViewContainer::visibleRect(const CBounds& rect) const {
  CBounds r = rect;
  r.offset(size_.left, size_.top);
  r.bound(size_);
  if (parentView_ && parentView_->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
    return static_cast<CViewContainer*>(parentView_)->visibleRect(r);
  if (parentFrame_ && parentFrame_ != this) return parentFrame_->visibleRect(r);
  return r;
}

CMessageResult CViewContainer::notify(CBaseObject* sender, const char* message) {
  if (message == kMsgCheckIfViewContainer) return kMessageNotified;
  return CView::notify(sender, message);
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
