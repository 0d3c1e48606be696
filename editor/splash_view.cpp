#include "editor/splash_view.h"

#include <cstring>

#include "editor/about_areas.h"
#include "editor/editor.h"
#include "editor/zoom_choice.h"
#include "gui/frame.h"
#include "gui/platform/shell.h"

TSplashScreenView::TSplashScreenView(const CBounds& rect, CControlListener* listener,
                                     CBitmap* image, const CPosition& offset_)
    : CControl(rect, listener, 0, image), offset(offset_) {
  setDirty(true);
}

void TSplashScreenView::draw(CDrawContext* context) {
  if (background_) {
    if (transparent_)
      background_->drawTransparent(context, size_, offset);
    else
      background_->draw(context, size_, offset);  // blended by the image's alpha
  }
  if (CFrame* frame = getFrame()) DrawZoomChoice(context, frame->getScale().factor);
  setDirty(false);
}

CMouseEventResult TSplashScreenView::mouseDown(CPosition& where, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventNotHandled;
  if (about::Inside(about::kClose, where) && listener_) {
    listener_->valueChanged(this);  // hides this view
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  }
  if (about::Inside(about::kWebPage, where)) {
    platform::OpenUrl(about::kWebPageUrl);
    return kMouseEventHandled;
  }
  if (about::Inside(about::kDonation, where)) {
    platform::OpenUrl(about::kDonationUrl);
    return kMouseEventHandled;
  }
  if (const int choice = about::ZoomChoiceAt(where); choice >= 0) {
    CFrame* frame = getFrame();
    if (auto* editor = frame ? dynamic_cast<Editor*>(frame->getEditor()) : nullptr)
      editor->ChooseZoom(zoom::kZooms[choice]);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  }
  return kMouseEventNotHandled;
}

int32_t TSplashScreenView::keyDown(CKeyCode& key) {
  if ((key.virt == VKEY_ESCAPE || key.character == 27) && listener_) {
    listener_->valueChanged(this);
    return 1;
  }
  return -1;
}

bool TSplashScreenView::isTypeOf(const char* name) const {
  return std::strcmp(name, "TSplashScreenView") == 0 || CControl::isTypeOf(name);
}
