#include "gui/controls.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "gui/frame.h"

namespace {
constexpr float kTwoPi = 2.f * std::numbers::pi_v<float>;
}  // namespace

// ---- CControl ----

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

// ---- CKnob ----

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
  beginEdit();
  firstPoint_ = where;
  lastPoint_ = CPosition(-1, -1);
  startValue_ = oldValue_;
  entryValue_ = value_;
  range_ = 200.f;
  coef_ = (max_ - min_) / range_;
  startButtons_ = buttons;
  linear_ = false;
  if (linearMode(buttons)) {
    if (buttons & kLButton) {
      if (buttons & kShift) range_ *= zoom_;
      coef_ = (max_ - min_) / range_;
      lastPoint_ = where;
      linear_ = true;
    }
  } else {
    startValue_ = valueFromPoint(CPosition(where.h - size_.left, where.v - size_.top));
  }
  return mouseMoved(where, buttons);
}

CMouseEventResult CKnob::mouseMoved(CPosition& where, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventHandled;
  if (where == lastPoint_) return kMouseEventHandled;
  lastPoint_ = where;
  if (linear_) {
    const float d = static_cast<float>((firstPoint_.v - where.v) + (where.h - firstPoint_.h));
    if (buttons != startButtons_) {
      range_ = 200.f;
      if (buttons & kShift) range_ *= zoom_;
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
  value_ += distance * wheelInc_ * ((buttons & kShift) ? 0.1f : 1.f);
  bounceValue();
  if (isDirty() && listener_) {
    beginEdit();
    listener_->valueChanged(this);
    endEdit();
  }
  return true;
}

int32_t CKnob::keyDown(CKeyCode& key) {
  float step;
  switch (key.virt) {
    case VKEY_LEFT: case VKEY_DOWN: step = -1.f; break;
    case VKEY_UP: case VKEY_RIGHT: step = 1.f; break;
    default: return -1;
  }
  value_ += step * wheelInc_ * ((key.modifier & MODIFIER_SHIFT) ? 0.1f : 1.f);
  bounceValue();
  if (isDirty() && listener_) {
    beginEdit();
    listener_->valueChanged(this);
    endEdit();
  }
  return 1;
}

void CKnob::mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) {
  if (!mouseEnabled_ || !(buttons & kLButton)) return;
  if (listener_ && (buttons & kModifierBits) && listener_->modifierClicked(this, buttons)) return;
  if (resetToDefaultOnClick(buttons)) return;
  beginEdit();
  firstPoint_ = where;
  lastPoint_ = CPosition(-1, -1);
  startButtons_ = buttons;
  entryValue_ = value_;
  range_ = 200.f;
  linear_ = linearMode(buttons);
  if (linear_ && (buttons & kShift)) range_ *= zoom_;
  coef_ = (max_ - min_) / range_;
  startValue_ = oldValue_;
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

// ---- Multi-image controls ----

void IMultiBitmapControl::setHeightOfOneImage(int32_t h) {
  heightOfOneImage_ = h;
  CBitmap* b = multiBitmap();
  if (b && h > 0 && b->getHeight() > 0) subPixmaps_ = static_cast<int16_t>(b->getHeight() / h);
}

CAnimKnob::CAnimKnob(const CBounds& size, CControlListener* listener, int32_t tag,
                     int32_t subPixmaps, int32_t heightOfOneImage, CBitmap* background,
                     const CPosition& offset)
    : CKnob(size, listener, tag, background, nullptr, offset) {
  heightOfOneImage_ = heightOfOneImage;
  subPixmaps_ = static_cast<int16_t>(subPixmaps);
}

int32_t CAnimKnob::imageY() const {
  if (!(value_ >= 0.f) || !background_ || heightOfOneImage_ <= 0) return -1;
  const int32_t h = heightOfOneImage_;
  const int32_t total = h * (subPixmaps_ > 1 ? subPixmaps_ - 1 : 0);
  const float v = value_ > 1.f ? 1.f : value_;
  int32_t y = static_cast<int32_t>(static_cast<float>(total) * (inverse_ ? 1.f - v : v));
  // Lower y to the start of the image band it falls in.
  for (int32_t start = 0; start <= total; start += h) {
    if (start > y) {
      y = start - h < 0 ? 0 : start - h;
      break;
    }
  }
  return y;
}

void CAnimKnob::draw(CDrawContext* context) {
  const int32_t y = imageY();
  if (y >= 0) {
    CPosition src(0, y);
    if (transparent_)
      background_->drawTransparent(context, size_, src);
    else
      background_->draw(context, size_, src);
  }
  lastY_ = y;
  valueToPoint(lastDrawn_);
  setDirty(false);
}

// Clean while the filmstrip frame it shows is the one its value selects: comparing
// handle points instead misses most one-frame steps.
bool CAnimKnob::isDirty() const {
  if (!dirty_ && imageY() == lastY_) return false;
  return CControl::isDirty();
}

bool CAnimKnob::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CAnimKnob") == 0) || CKnob::isTypeOf(name);
}

bool CKnob::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CKnob") == 0) || CControl::isTypeOf(name);
}

CVerticalSwitch::CVerticalSwitch(const CBounds& size, CControlListener* listener, int32_t tag,
                                 int32_t subPixmaps, int32_t heightOfOneImage, int32_t positions,
                                 CBitmap* background, const CPosition& offset)
    : CControl(size, listener, tag, background), offset_(offset), positions_(positions) {
  heightOfOneImage_ = heightOfOneImage;
  subPixmaps_ = static_cast<int16_t>(subPixmaps);
}

void CVerticalSwitch::draw(CDrawContext* context) {
  if (background_) {
    const int32_t index = static_cast<int32_t>(static_cast<float>(positions_ - 1) * value_ + 0.5f);
    CPosition src(offset_.h, offset_.v + index * heightOfOneImage_);
    if (transparent_)
      background_->drawTransparent(context, size_, src);
    else
      background_->draw(context, size_, src);
  }
  setDirty(false);
}

CMouseEventResult CVerticalSwitch::mouseDown(CPosition& where, const uint32_t& buttons) {
  if (!(buttons & kLButton) || positions_ < 1) return kMouseEventNotHandled;
  coef_ = static_cast<double>(heightOfOneImage_) / positions_;
  if (resetToDefaultOnClick(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  beginEdit();
  return mouseMoved(where, buttons);
}

CMouseEventResult CVerticalSwitch::mouseMoved(CPosition& where, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventHandled;
  if (positions_ > 1 && coef_ > 0) {
    const int32_t index = static_cast<int32_t>((where.v - size_.top) / coef_);
    value_ = static_cast<float>(index) / static_cast<float>(positions_ - 1);
  } else {
    value_ = 0.f;
  }
  if (value_ > 1.f) value_ = 1.f;
  else if (value_ < 0.f) value_ = 0.f;
  if (isDirty() && listener_) listener_->valueChanged(this);
  if (isDirty()) invalidate();
  return kMouseEventHandled;
}

CMouseEventResult CVerticalSwitch::mouseUp(CPosition&, const uint32_t&) {
  endEdit();
  return kMouseEventHandled;
}

void CVerticalSwitch::mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) {
  if (!mouseEnabled_ || !(buttons & kLButton) || positions_ < 1) return;
  if (listener_ && (buttons & kModifierBits) && listener_->modifierClicked(this, buttons)) return;
  if (resetToDefaultOnClick(buttons)) return;
  coef_ = static_cast<double>(heightOfOneImage_) / positions_;
  beginEdit();
  CPosition p = where;
  uint32_t b = buttons;
  do {
    mouseMoved(p, b);
    mouseLocation(context, p);
    doIdleStuff();
    b = parentFrame_ ? parentFrame_->getCurrentMouseButtons() : 0;
  } while (b == buttons);
  endEdit();
}

bool CVerticalSwitch::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CVerticalSwitch") == 0) || CControl::isTypeOf(name);
}

// ---- CParamDisplay ----

CParamDisplay::CParamDisplay(const CBounds& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, 0, background), font_(kNormalFont), style_(style) {
  if (font_) font_->retain();
}

CParamDisplay::CParamDisplay(const CParamDisplay& p) : CControl(p) {
  stringConvert_ = p.stringConvert_;
  stringConvertData_ = p.stringConvertData_;
  userData_ = p.userData_;
  font_ = p.font_;
  if (font_) font_->retain();
  txtFace_ = p.txtFace_;
  fontColor_ = p.fontColor_;
  backColor_ = p.backColor_;
  frameColor_ = p.frameColor_;
  shadowColor_ = p.shadowColor_;
  horiAlign_ = p.horiAlign_;
  style_ = p.style_;
  textTransparency_ = p.textTransparency_;
}

CParamDisplay::~CParamDisplay() {
  if (font_) font_->release();
}

void CParamDisplay::valueText(char* out) const {
  out[0] = 0;
  if (stringConvertData_)
    stringConvertData_(value_, out, userData_);
  else if (stringConvert_)
    stringConvert_(value_, out);
  else
    std::snprintf(out, 256, "%2.2f", static_cast<double>(value_));
  out[255] = 0;
}

void CParamDisplay::draw(CDrawContext* context) {
  char text[256] = {};
  valueText(text);
  drawText(context, text);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text) {
  setDirty(false);
  if (style_ & kNoDrawStyle) return;
  if (background_) {
    if (transparent_)
      background_->drawTransparent(context, size_, backOffset_);
    else
      background_->draw(context, size_, backOffset_);
  } else if (!transparent_) {
    context->setFillColor(backColor_);
    context->fillRect(size_);
    if (!(style_ & (kNoFrame | k3DOut | k3DIn))) {
      context->setLineWidth(1);
      context->setFrameColor(frameColor_);
      context->drawRect(size_);
    }
  }
  if (style_ & (k3DIn | k3DOut)) {
    const bool sunken = (style_ & k3DIn) != 0;
    const CBounds& r = size_;
    context->setLineWidth(1);
    context->setFrameColor(sunken ? backColor_ : frameColor_);
    context->moveTo(CPosition(r.left, r.bottom));
    context->lineTo(CPosition(r.left, r.top));
    context->lineTo(CPosition(r.right - 1, r.top));
    context->setFrameColor(sunken ? frameColor_ : backColor_);
    context->moveTo(CPosition(r.right - 1, r.top + 1));
    context->lineTo(CPosition(r.right - 1, r.bottom - 1));
    context->lineTo(CPosition(r.left, r.bottom - 1));
  }
  if ((style_ & kNoTextStyle) || !text || !text[0] || !font_) return;
  const CBounds savedClip = context->getClipRect();
  CBounds clip = size_;
  clip.bound(savedClip);
  context->setClipRect(clip);
  context->setFont(font_, 0, txtFace_);
  context->setFillColor(backColor_);
  if (style_ & kShadowText) {
    CBounds shadow = size_;
    shadow.offset(1, 1);
    context->setFontColor(shadowColor_);
    context->drawString(text, shadow, !textTransparency_, horiAlign_);
  }
  context->setFontColor(fontColor_);
  context->drawString(text, size_, !textTransparency_, horiAlign_);
  context->setClipRect(savedClip);
}

bool CParamDisplay::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CParamDisplay") == 0) || CControl::isTypeOf(name);
}

void CParamDisplay::setFont(CFontDesc* font) {
  if (!font) return;
  font->retain();
  if (font_) font_->release();
  font_ = font;
  setDirty();
}

#define SET_IF_CHANGED(member, value) \
  do {                                \
    if ((member) != (value)) {        \
      (member) = (value);             \
      setDirty();                     \
    }                                 \
  } while (0)

void CParamDisplay::setFontColor(CRGBA c) { SET_IF_CHANGED(fontColor_, c); }
void CParamDisplay::setBackColor(CRGBA c) { SET_IF_CHANGED(backColor_, c); }
void CParamDisplay::setFrameColor(CRGBA c) { SET_IF_CHANGED(frameColor_, c); }
void CParamDisplay::setShadowColor(CRGBA c) { SET_IF_CHANGED(shadowColor_, c); }
void CParamDisplay::setHoriAlign(int32_t a) { SET_IF_CHANGED(horiAlign_, a); }
void CParamDisplay::setStyle(int32_t s) { SET_IF_CHANGED(style_, s); }
void CParamDisplay::setTxtFace(int32_t f) { SET_IF_CHANGED(txtFace_, f); }
void CParamDisplay::setTextTransparency(bool t) { SET_IF_CHANGED(textTransparency_, t); }
void CParamDisplay::setValueToStringProcedure(ValueToTextWithData f, void* userData) {
  stringConvertData_ = f;
  userData_ = userData;
}
void CParamDisplay::setStringConvert(ValueToText f) { stringConvert_ = f; }

// ---- CTextEdit ----

CTextEdit::CTextEdit(const CBounds& size, CControlListener* listener, int32_t tag,
                     const char* text, CBitmap* background, int32_t style)
    : CParamDisplay(size, background, style) {
  listener_ = listener;
  tag_ = tag;
  setText(text);
  setWantsFocus(true);
}

CTextEdit::CTextEdit(const CTextEdit& t) : CParamDisplay(t), platform::TextEntryListener() {
  std::memcpy(text_, t.text_, sizeof text_);
  textToDisplay_ = t.textToDisplay_;
  textToDisplayData_ = t.textToDisplayData_;
}

CTextEdit::~CTextEdit() {
  listener_ = nullptr;
  entry_.reset();  // closes the widget without telling anybody
}

void CTextEdit::setText(const char* text) {
  char next[kMaxText + 1] = {};
  if (text) std::strncpy(next, text, kMaxText);
  if (std::strcmp(next, text_) != 0) {
    std::memcpy(text_, next, sizeof text_);
    setDirty();
  }
}

void CTextEdit::getText(char* out) const {
  if (out) std::memcpy(out, text_, sizeof text_);
}

void CTextEdit::setTextToDisplayWithData(TextToDisplayWithData f, void* userData) {
  textToDisplayData_ = f;
  userData_ = userData;
}

void CTextEdit::draw(CDrawContext* context) {
  if (entry_) {
    setDirty(false);
    return;
  }
  char out[256] = {};
  char in[256];
  std::memcpy(in, text_, sizeof text_);
  if (textToDisplayData_) {
    textToDisplayData_(in, out, userData_);
  } else if (textToDisplay_) {
    textToDisplay_(in, out);
  } else if (stringConvertData_ || stringConvert_) {
    valueText(out);
    std::memcpy(text_, out, sizeof text_);
  } else {
    std::snprintf(out, sizeof out, "%s", text_);
  }
  out[255] = 0;
  drawText(context, out);
}

CMouseEventResult CTextEdit::mouseDown(CPosition&, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventNotHandled;
  if (parentFrame_ && parentFrame_->getFocusView() == this) return kMouseEventNotHandled;
  if ((style_ & kDoubleClickStyle) && !(buttons & kDoubleClick)) return kMouseEventNotHandled;
  startEditing();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

// The host hears of the edit only when a typed value is committed (begin, automate,
// end together): cancelling, or committing the text unchanged, sends nothing, so no
// empty gesture reaches a host that records touches.
void CTextEdit::startEditing() {
  if (parentFrame_) parentFrame_->setFocusView(this);
  takeFocus();
}

void CTextEdit::mouseTrack(CDrawContext*, CPosition&, uint32_t buttons) {
  if (!(buttons & kLButton)) return;
  if (style_ & kDoubleClickStyle) {
    // A second click within the double-click interval of the first one.
    const uint32_t now = platform::current().ticks();
    const bool second = lastTicks_ != -1 && now - static_cast<uint32_t>(lastTicks_) <= delta_;
    lastTicks_ = second ? -1 : static_cast<int32_t>(now);
    if (!second) return;
  }
  startEditing();
}

void CTextEdit::takeFocus() {
  if (entry_ || !parentFrame_ || !parentFrame_->platformWindow()) return;
  returnPressed_ = false;
  CPosition origin(0, 0);
  for (CView* p = parentView_; p && p != parentFrame_; p = p->getParentView())
    if (p->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified)
      origin.offset(p->getViewSize().left, p->getViewSize().top);
  CBounds r = size_;
  r.offset(origin.h, origin.v);
  platform::TextEntryParams params;
  params.rect = parentFrame_->toWindow(CBounds(r.left, r.top, r.right + 1, r.bottom + 1));
  params.text = text_;
  params.align = horiAlign_ == kLeftText    ? platform::kAlignLeft
                 : horiAlign_ == kRightText ? platform::kAlignRight
                                            : platform::kAlignCenter;
  const int32_t fontSize = font_ ? font_->getSize() : 12;
  params.font = {font_ ? font_->getName() : "Arial",
                 parentFrame_->getScale().toPixels(r.height() - 2 < fontSize ? r.height() - 2
                                                                             : fontSize),
                 0};
  params.textColor = {fontColor_.red, fontColor_.green, fontColor_.blue, 255};
  params.backColor = {backColor_.red, backColor_.green, backColor_.blue, 255};
  entry_ = parentFrame_->platformWindow()->createTextEntry(params, this);
}

void CTextEdit::loseFocus() {
  if (parentFrame_ && parentFrame_->getFocusView() == this) parentFrame_->setFocusView(nullptr);
  closeEntry(true);
}

void CTextEdit::closeEntry(bool commit) {
  if (!entry_) return;
  char old[kMaxText + 1];
  std::memcpy(old, text_, sizeof old);
  if (commit) {
    char typed[kMaxText + 1] = {};
    entry_->text(typed, sizeof typed);
    std::memcpy(text_, typed, sizeof text_);
  }
  // Forget the widget before destroying it, so that its own focus-loss notice finds
  // nothing left to do.
  std::unique_ptr<platform::TextEntry> closing = std::move(entry_);
  closing.reset();
  setDirty();
  if (commit && std::strcmp(old, text_) != 0 && listener_) {
    // The edit ends after the new value has gone out, so that a host recording
    // automation between begin and end of a gesture sees it.
    beginEdit();
    listener_->valueChanged(this);
    endEdit();
  }
  CView* p = parentView_ ? parentView_ : parentFrame_;
  while (p) {
    if (p->notify(this, kMsgLooseFocus) == kMessageNotified) break;
    CView* up = p->getParentView();
    p = up == p ? nullptr : up;
  }
}

void CTextEdit::textEntryFocusLost() { loseFocus(); }

void CTextEdit::textEntryCancel() {
  // Escape: the display keeps its value and nothing reaches the listener.
  closeEntry(false);
  if (parentFrame_ && parentFrame_->getFocusView() == this) parentFrame_->setFocusView(nullptr);
}

void CTextEdit::textEntryReturn() {
  returnPressed_ = true;
  if (parentFrame_ && parentFrame_->getFocusView() == this)
    parentFrame_->setFocusView(nullptr);
  else
    loseFocus();
}

bool CTextEdit::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CTextEdit") == 0) || CParamDisplay::isTypeOf(name);
}
