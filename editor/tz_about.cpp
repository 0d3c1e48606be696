#include "editor/tz_about.h"

#include <cstring>

#include "gui/frame.h"

TZAbout::TZAbout(CControlListener* listener, CBitmap* image, const CBounds& aboutViewRect_)
    : CControl(about::kLogo, listener, layout::kAboutTag, image),
      aboutViewRect(aboutViewRect_),
      splash(new TSplashScreenView(aboutViewRect_, this, image, CPosition(0, 0))) {}

TZAbout::~TZAbout() {
  // The frame takes its modal view down first; this is the view's own reference.
  splash->release();
}

void TZAbout::draw(CDrawContext*) { setDirty(false); }  // the logo is part of the background

bool TZAbout::hitTest(const CPosition& where, uint32_t buttons) {
  // Only the left button: a right click on the logo is left to whatever lies below.
  return (buttons & kLButton) && CControl::hitTest(where, buttons);
}

CMouseEventResult TZAbout::mouseDown(CPosition&, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventNotHandled;
  value_ = value_ == 0.0f ? 1.0f : 0.0f;
  CFrame* frame = getFrame();
  if (value_ != 0.0f && splash && frame && frame->setModalView(splash)) {
    if (listener_) listener_->valueChanged(this);
    splash->setWantsFocus(true);
    splash->takeFocus();
    splash->invalidate();
  }
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void TZAbout::closeAbout() {
  value_ = 0.0f;
  CFrame* frame = getFrame();
  if (frame && frame->getModalView() == splash) {
    splash->invalidate();  // its area is repainted with the editor below
    frame->setModalView(nullptr);
  }
}

void TZAbout::setImage(CBitmap* image) {
  setBackground(image);
  if (splash) splash->setBackground(image);
}

void TZAbout::valueChanged(CControl* control) {
  if (control != splash) return;
  closeAbout();
  if (listener_) listener_->valueChanged(this);
}

bool TZAbout::isTypeOf(const char* name) const {
  return std::strcmp(name, "TZAbout") == 0 || CControl::isTypeOf(name);
}
