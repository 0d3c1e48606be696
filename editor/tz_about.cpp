#include "editor/tz_about.h"

#include <cstdio>
#include <cstring>

#include "editor/editor.h"
#include "editor/zoom.h"
#include "gui/platform/shell.h"
#include "soravel_product.h"

namespace about {
const char* const kWebPageUrl = "https://" SORAVEL_VENDOR_HOST "/";
const char* const kDonationUrl = "https://" SORAVEL_VENDOR_HOST "/donation?lang=en";

// Half-open, unlike CBounds::pointInside: an area is the pixels its picture covers.
bool Inside(const CBounds& r, const CPosition& p) { return platform::insideHalfOpen(r, p.h, p.v); }

int ZoomChoiceAt(const CPosition& p) {
  for (int i = 0; i < zoom::kNumZooms; ++i)
    if (Inside(kZoomChoices[i], p)) return i;
  return -1;
}
}  // namespace about

// ---- TZAbout ----

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

// ---- TSplashScreenView ----

TSplashScreenView::TSplashScreenView(const CBounds& rect, CControlListener* listener,
                                     CBitmap* image, const CPosition& offset_)
    : CControl(rect, listener, 0, image), offset(offset_) {
  setDirty(true);
}

namespace {
// The small print's colour of the artwork, and its accent for the zoom shown.
const CRGBA kChoiceText{158, 165, 174, 255};
const CRGBA kChoiceShown{255, 167, 51, 255};

// Made once for the library's life, so that painting makes no platform fonts.
struct ChoiceFonts {
  CFontDesc* plain = new CFontDesc("Arial", 11);
  CFontDesc* bold = new CFontDesc("Arial", 11, kBoldFace);
  ~ChoiceFonts() {
    plain->release();
    bold->release();
  }
};

void DrawZoomChoice(CDrawContext* context, double shown) {
  static ChoiceFonts fonts;
  context->setFont(fonts.bold);
  context->setFontColor(kChoiceText);
  context->drawString("Zoom", about::kZoomCaption, false, kLeftText);
  context->setLineWidth(1);
  for (int i = 0; i < zoom::kNumZooms; ++i) {
    const CBounds& r = about::kZoomChoices[i];
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", static_cast<int>(zoom::kZooms[i] * 100.0 + 0.5));
    const bool isShown = zoom::kZooms[i] == shown;
    context->setFont(isShown ? fonts.bold : fonts.plain);
    context->setFontColor(isShown ? kChoiceShown : kChoiceText);
    context->drawString(text, r, false, kCenterText);
    if (isShown) {
      context->setFrameColor(kChoiceShown);
      context->drawRect(r);
    }
  }
}
}  // namespace

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

// ---- TZFrame ----

TZFrame::TZFrame(const CBounds& size, void* parentWindow, GuiEditorInterface* editor,
                 double zoom)
    : CFrame(size, parentWindow, editor, zoom) {}

CMouseEventResult TZFrame::mouseMoved(CPosition& where, const uint32_t& buttons) {
  const CMouseEventResult result = CFrame::mouseMoved(where, buttons);
  const Editor* editor = dynamic_cast<Editor*>(getEditor());
  const TZAbout* a = editor ? editor->About() : nullptr;
  int32_t cursor = kCursorDefault;
  if (a && a->aboutShown()) {
    if (about::Inside(about::kClose, where) || about::Inside(about::kWebPage, where) ||
        about::Inside(about::kDonation, where) || about::ZoomChoiceAt(where) >= 0)
      cursor = kCursorHand;
  } else if (about::Inside(about::kLogo, where)) {
    cursor = kCursorHand;
  }
  setCursor(cursor);
  return result;
}
