// A container's events: the child under a point, and the mouse, wheel, key and drag
// events that go to it.
#include "gui/view.h"

#include "gui/controls.h"
#include "gui/frame.h"

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

CView* CViewContainer::viewUnderMouse() const {
  if (!parentFrame_) return nullptr;
  CPosition where;
  parentFrame_->getCurrentMouseLocation(where);
  frameToLocal(where);
  for (Node* n = last_; n; n = n->prev)
    if (n->view->getMouseableArea().pointInside(where)) return n->view;
  return nullptr;
}

bool CViewContainer::hitTestChildren(const CPosition& where, uint32_t buttons) {
  CPosition local(where.h - size_.left, where.v - size_.top);
  for (Node* n = last_; n; n = n->prev)
    if (n->view->getMouseEnabled() && n->view->hitTest(local, buttons)) return true;
  return false;
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
