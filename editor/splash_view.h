#pragma once
// The about view: its image over the whole editor, a close mark (Escape closes it
// too), the vendor's two links and the zoom choice.
#include "gui/controls.h"

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
