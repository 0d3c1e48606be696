#include "gui/controls.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "gui/frame.h"

namespace {
constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTwoPi = 2.f * kPi;
constexpr float kDragRange = 200.f;  // pixels of a linear drag over the whole range
}  // namespace

CKnob::CKnob(const CBounds& size, CControlListener* listener, int32_t tag, CBitmap* background,
             CBitmap* handle, const CPosition& offset)
    : CControl(size, listener, tag, background), offset_(offset), handle_(handle) {
  if (handle_) {
    handle_->retain();
    inset_ = static_cast<int32_t>(static_cast<float>(handle_->getWidth()) / 2.f + 2.5f);
  }
  radius_ = size.width() / 2;
  startAngle_ = 3.9269907f;
  rangeAngle_ = -4.712389f;
  compute();
  setWantsFocus(true);
}

CKnob::CKnob(const CKnob& k) : CControl(k) {
  offset_ = k.offset_;
  handleColor_ = k.handleColor_;
  shadowColor_ = k.shadowColor_;
  handle_ = k.handle_;
  if (handle_) handle_->retain();
  inset_ = k.inset_;
  startAngle_ = k.startAngle_;
  rangeAngle_ = k.rangeAngle_;
  radius_ = k.radius_;
  zoom_ = k.zoom_;
  compute();
}

CKnob::~CKnob() {
  if (handle_) handle_->release();
}

void CKnob::compute() {
  aCoef_ = (max_ - min_) / rangeAngle_;
  bCoef_ = min_ - aCoef_ * startAngle_;
  halfAngle_ = (kTwoPi - std::fabs(rangeAngle_)) / 2.f;
}

void CKnob::setStartAngle(float a) {
  startAngle_ = a;
  compute();
  setDirty();
}
void CKnob::setRangeAngle(float a) {
  if (a == 0.f) return;  // a zero range has no geometry
  rangeAngle_ = a;
  compute();
  setDirty();
}

void CKnob::valueToPoint(CPosition& out) const {
  const float r = static_cast<float>(radius_);
  const float alpha = (value_ - bCoef_) / aCoef_;
  out.h = static_cast<int32_t>(r + std::cos(alpha) * (r - static_cast<float>(inset_)) + 0.5f);
  out.v = static_cast<int32_t>(r - std::sin(alpha) * (r - static_cast<float>(inset_)) + 0.5f);
}

float CKnob::valueFromPoint(const CPosition& p) const {
  const float r = static_cast<float>(radius_);
  float alpha = std::atan2(r - static_cast<float>(p.v), static_cast<float>(p.h) - r);
  if (alpha < 0.f) alpha += kTwoPi;
  float alpha2 = alpha - startAngle_;
  const float range = rangeAngle_, half = halfAngle_;
  auto wrap = [](float a) {
    if (a < 0.f) return a + kTwoPi;
    if (a > kTwoPi) return a - kTwoPi;
    return a;
  };
  if (range < 0.f) {
    alpha2 -= range;
    const float alpha3 = wrap(alpha2);
    if (alpha3 > half - range) return max_;
    if (alpha3 > -range) return min_;
    if (alpha2 > half - range) alpha2 -= kTwoPi;
    else if (alpha2 < -half) alpha2 += kTwoPi;
    return aCoef_ * alpha2 + max_;
  }
  const float alpha3 = wrap(alpha2);
  if (alpha3 > half + range) return min_;
  if (alpha3 > range) return max_;
  if (alpha2 > half + range) alpha2 -= kTwoPi;
  else if (alpha2 < -half) alpha2 += kTwoPi;
  return aCoef_ * alpha2 + min_;
}

void CKnob::setColorShadowHandle(CRGBA c) {
  shadowColor_ = c;
  setDirty();
}
void CKnob::setColorHandle(CRGBA c) {
  handleColor_ = c;
  setDirty();
}
void CKnob::setHandleBitmap(CBitmap* b) {
  if (b) b->retain();
  if (handle_) handle_->release();
  handle_ = b;
  if (handle_) inset_ = static_cast<int32_t>(static_cast<float>(handle_->getWidth()) / 2.f + 2.5f);
  setDirty();
}

void CKnob::draw(CDrawContext* context) {
  if (background_) {
    if (transparent_)
      background_->drawTransparent(context, size_, offset_);
    else
      background_->draw(context, size_, offset_);
  }
  drawHandle(context);
  setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
  CPosition p;
  valueToPoint(p);
  p.offset(size_.left, size_.top);
  if (handle_) {
    const int32_t w = handle_->getWidth(), h = handle_->getHeight();
    CBounds r(p.h - w / 2, p.v - h / 2, p.h - w / 2 + w, p.v - h / 2 + h);
    handle_->drawTransparent(context, r);
    return;
  }
  CPosition c(size_.left + size_.width() / 2, size_.top + size_.height() / 2);
  context->setLineWidth(1);
  context->setFrameColor(shadowColor_);
  context->moveTo(CPosition(p.h - 1, p.v));
  context->lineTo(CPosition(c.h - 1, c.v));
  context->setFrameColor(handleColor_);
  context->moveTo(CPosition(p.h, p.v - 1));
  context->lineTo(CPosition(c.h, c.v - 1));
}

bool CKnob::linearMode(uint32_t buttons) const {
  const int32_t mode = parentFrame_ ? parentFrame_->getKnobMode() : kCircularMode;
  const bool alt = (buttons & kAlt) != 0;
  return mode == kLinearMode ? !alt : alt;
}

CMouseEventResult CKnob::mouseDown(CPosition& where, const uint32_t& buttons) {
  // Only the left button turns a knob: a right or middle click must not reach the host
  // as an empty gesture, which hosts with touch automation record as a touch.
  if (!mouseEnabled_ || !(buttons & kLButton)) return kMouseEventNotHandled;
  if (parentFrame_ && parentFrame_->platformWindow())
    parentFrame_->platformWindow()->takeKeyboardFocus();
  // The reset brackets its own edit: the host sees one begin, automate, end.
  if (resetToDefaultOnClick(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  startDrag(where, buttons);
  if (linear_)
    lastPoint_ = where;
  else
    startValue_ = valueFromPoint(CPosition(where.h - size_.left, where.v - size_.top));
  return mouseMoved(where, buttons);
}

// The state a drag starts from, in both event models; the circular reference is the old
// value until the event model says otherwise.
void CKnob::startDrag(const CPosition& where, uint32_t buttons) {
  beginEdit();
  firstPoint_ = where;
  lastPoint_ = CPosition(-1, -1);
  startValue_ = oldValue_;
  entryValue_ = value_;
  startButtons_ = buttons;
  linear_ = linearMode(buttons);
  range_ = linear_ ? dragRange(buttons) : kDragRange;
  coef_ = (max_ - min_) / range_;
}

// Shift makes a linear drag finer by the zoom factor.
float CKnob::dragRange(uint32_t buttons) const {
  return (buttons & kShift) ? kDragRange * zoom_ : kDragRange;
}

CMouseEventResult CKnob::mouseMoved(CPosition& where, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventHandled;
  if (where == lastPoint_) return kMouseEventHandled;
  lastPoint_ = where;
  if (linear_) {
    const float d = static_cast<float>((firstPoint_.v - where.v) + (where.h - firstPoint_.h));
    if (buttons != startButtons_) {
      range_ = dragRange(buttons);
      const float c2 = (max_ - min_) / range_;
      entryValue_ += (coef_ - c2) * d;
      coef_ = c2;
      startButtons_ = buttons;
    }
    value_ = d * coef_ + entryValue_;
    bounceValue();
  } else {
    const float v = valueFromPoint(CPosition(where.h - size_.left, where.v - size_.top));
    if ((max_ - min_) / 2.f < startValue_ - v) {
      value_ = max_;
    } else if ((max_ - min_) / 2.f < v - startValue_) {
      value_ = min_;
    } else {
      value_ = v;
      startValue_ = v;
    }
  }
  if (value_ != oldValue_ && listener_) listener_->valueChanged(this);
  if (isDirty()) invalidate();
  return kMouseEventHandled;
}

CMouseEventResult CKnob::mouseUp(CPosition&, const uint32_t&) {
  endEdit();
  return kMouseEventHandled;
}

bool CKnob::wheel(const CPosition&, float distance, uint32_t buttons) {
  if (!mouseEnabled_) return false;
  stepValue(distance, (buttons & kShift) != 0);
  return true;
}

int32_t CKnob::keyDown(CKeyCode& key) {
  float step;
  switch (key.virt) {
    case VKEY_LEFT: case VKEY_DOWN: step = -1.f; break;
    case VKEY_UP: case VKEY_RIGHT: step = 1.f; break;
    default: return -1;
  }
  stepValue(step, (key.modifier & MODIFIER_SHIFT) != 0);
  return 1;
}

// Steps the value by wheel increments (tenths of one when fine); a change reaches the
// listener in a gesture of its own.
void CKnob::stepValue(float steps, bool fine) {
  value_ += steps * wheelInc_ * (fine ? 0.1f : 1.f);
  bounceValue();
  if (isDirty() && listener_) {
    beginEdit();
    listener_->valueChanged(this);
    endEdit();
  }
}

void CKnob::mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) {
  if (!mouseEnabled_ || !(buttons & kLButton)) return;
  if (listener_ && (buttons & kModifierBits) && listener_->modifierClicked(this, buttons)) return;
  if (resetToDefaultOnClick(buttons)) return;
  startDrag(where, buttons);
  CPosition p = where;
  uint32_t b = buttons;
  while (b & kLButton) {
    mouseMoved(p, b);  // skips unchanged positions
    mouseLocation(context, p);
    doIdleStuff();
    b = parentFrame_ ? parentFrame_->getCurrentMouseButtons() : 0;
  }
  endEdit();
}

bool CKnob::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CKnob") == 0) || CControl::isTypeOf(name);
}
