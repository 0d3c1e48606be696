#pragma once
// The about area over the logo, the about view it shows (a modal view over the
// whole editor with a close mark and two links), and the editor's frame, which
// shows a hand over whatever can be clicked there.
#include "editor/layout.h"
#include "gui/controls.h"
#include "gui/frame.h"

class TSplashScreenView;

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

class TSplashScreenView : public CControl {
 public:
  TSplashScreenView(const CBounds& rect, CControlListener* listener, CBitmap* image,
                    const CPosition& offset);
  void draw(CDrawContext* context) override;
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  int32_t keyDown(CKeyCode& key) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new TSplashScreenView(*this); }

 private:
  CPosition offset;
};

class TZFrame : public CFrame {
 public:
  TZFrame(const CBounds& size, void* parentWindow, GuiEditorInterface* editor, double zoom = 1.0);
  CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons) override;
};

// Hit tests over the about view's areas (editor/layout.h).
namespace about {
// The choice under p, -1 for none.
int ZoomChoiceAt(const CPosition& p);
bool Inside(const CBounds& r, const CPosition& p);
// The vendor's pages, opened in the user's browser.
extern const char* const kWebPageUrl;
extern const char* const kDonationUrl;
}  // namespace about
