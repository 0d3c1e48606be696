// A container's drawing: its background and children within the update area, through
// its offscreen buffer when it has one, and the dirty state that turns into repaints.
#include "gui/view.h"

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

bool CViewContainer::isVisibleChild(CView* view, const CBounds& rect) const {
  return view && view->isVisible() && view->overlapsUpdate(rect);
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
