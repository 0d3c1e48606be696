#pragma once
// The about area over the logo: a click shows the about view (editor/splash_view.h),
// a modal view over the whole editor, and its closing hides it again.
#include "editor/about_areas.h"
#include "editor/splash_view.h"
#include "gui/controls.h"

class TZAbout : public CControl, public CControlListener {
 public:
  TZAbout(CControlListener* listener, CBitmap* image, const CBounds& aboutViewRect);
  ~TZAbout() override;
  TZAbout(const TZAbout&) = delete;

  void draw(CDrawContext* context) override;
  bool hitTest(const CPosition& where, uint32_t buttons = 0) override;
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return nullptr; }  // owns its about view

  virtual bool aboutShown() const { return value_ >= 0.5f; }
  virtual void closeAbout();
  virtual void setAboutRect(const CBounds& r) { aboutViewRect = r; }
  virtual void aboutRect(CBounds& out) const { out = aboutViewRect; }
  void valueChanged(CControl* control) override;
  // The about view's image (at another zoom).
  void setImage(CBitmap* image);

  TSplashScreenView* aboutView() const { return splash; }

 private:
  CBounds aboutViewRect;
  TSplashScreenView* splash;
};
