#include "gui/controls.h"

#include <cstring>

#include "gui/frame.h"

CControl::CControl(const CBounds& size, CControlListener* listener, int32_t tag,
                   CBitmap* background)
    : CView(size), listener_(listener), tag_(tag) {
  uint32_t dc = platform::current().doubleClickTime();
  delta_ = dc < 250 ? 250 : dc;
  if (background) {
    background->retain();
    background_ = background;
  }
  setDirty();
}

void CControl::doIdleStuff() {
  if (parentFrame_) parentFrame_->doIdleStuff();
}

void CControl::bounceValue() {
  if (value_ > max_) value_ = max_;
  else if (value_ < min_) value_ = min_;
}

bool CControl::resetToDefaultOnClick(uint32_t buttons) {
  if (buttons != (kControl | kLButton)) return false;
  beginEdit();
  value_ = defaultValue_;
  notifyChange();
  endEdit();
  return true;
}

void CControl::beginEdit() {
  if (listener_) listener_->beginEdit(this);
  if (parentFrame_) {
    parentFrame_->setFocusView(this);
    parentFrame_->beginEdit(tag_);
  }
}

void CControl::endEdit() {
  if (parentFrame_) parentFrame_->endEdit(tag_);
  if (listener_) listener_->endEdit(this);
}

bool CControl::isDirty() const { return value_ != oldValue_ || dirty_; }

void CControl::setDirty(bool flag) {
  dirty_ = flag;
  if (flag)
    oldValue_ = value_ == -1.f ? 0.f : -1.f;
  else
    oldValue_ = value_;
}

bool CControl::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CControl") == 0) || CView::isTypeOf(name);
}

void CControl::notifyChange() {
  if (listener_ && isDirty()) listener_->valueChanged(this);
}
