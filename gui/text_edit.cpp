#include "gui/controls.h"

#include <cstdio>
#include <cstring>

#include "gui/frame.h"

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
