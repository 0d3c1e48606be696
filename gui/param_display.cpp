#include "gui/controls.h"

#include <cstdio>
#include <cstring>

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
