#pragma once
// Controls: views holding a value in [min, max] that tell a listener when the user
// changes it. A gesture is bracketed by beginEdit (listener, focus, frame) and endEdit
// (frame, listener). Values are clamped by bounceValue before the listener is told;
// redraw happens at the next idle. Knob tracking constants: 200 px range, zoom 1.5
// with Shift, Control+left click (exactly 0x22) resets to the default value.
#include <memory>

#include "gui/view.h"

namespace platform { class TextEntry; }

class CControl;

class CControlListener {
 public:
  virtual ~CControlListener() = default;
  virtual void valueChanged(CControl* control) = 0;
  virtual bool modifierClicked(CControl* /*control*/, uint32_t /*buttons*/) { return false; }
  virtual void beginEdit(CControl* /*control*/) {}
  virtual void endEdit(CControl* /*control*/) {}
};

class CControl : public CView {
 public:
  CControl(const CBounds& size, CControlListener* listener = nullptr, int32_t tag = 0,
           CBitmap* background = nullptr);
  CControl(const CControl& c) = default;

  virtual void doIdleStuff();
  virtual void setValue(float v) { value_ = v; }
  virtual float getValue() const { return value_; }
  virtual void setMin(float v) { min_ = v; }
  virtual float getMin() const { return min_; }
  virtual void setMax(float v) { max_ = v; }
  virtual float getMax() const { return max_; }
  virtual void setOldValue(float v) { oldValue_ = v; }
  virtual float getOldValue() const { return oldValue_; }
  virtual void setDefaultValue(float v) { defaultValue_ = v; }
  virtual float getDefaultValue() const { return defaultValue_; }
  virtual void bounceValue();
  virtual bool resetToDefaultOnClick(uint32_t buttons);
  virtual void setTag(int32_t t) { tag_ = t; }
  virtual int32_t getTag() const { return tag_; }
  virtual void beginEdit();
  virtual void endEdit();
  virtual CControlListener* getListener() const { return listener_; }
  virtual void setListener(CControlListener* l) { listener_ = l; }
  virtual void setBackOffset(const CPosition& p) { backOffset_ = p; }
  virtual void copyBackOffset() { backOffset_ = CPosition(size_.left, size_.top); }
  virtual void setWheelIncrement(float v) { wheelInc_ = v; }
  virtual float getWheelIncrement() const { return wheelInc_; }

  bool isDirty() const override;
  void setDirty(bool flag = true) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new CControl(*this); }

 protected:
  void notifyChange();  // valueChanged when dirty
  CControlListener* listener_;
  int32_t tag_;
  float oldValue_ = 1.f, defaultValue_ = 0.5f, value_ = 0.f, min_ = 0.f, max_ = 1.f,
        wheelInc_ = 0.1f;
  int32_t lastTicks_ = -1;
  uint32_t delta_;  // double-click interval
  CPosition backOffset_;
};

class CKnob : public CControl {
 public:
  CKnob(const CBounds& size, CControlListener* listener, int32_t tag, CBitmap* background,
        CBitmap* handle, const CPosition& offset = {});
  CKnob(const CKnob& k);
  ~CKnob() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseUp(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons) override;
  bool wheel(const CPosition& where, float distance, uint32_t buttons) override;
  int32_t keyDown(CKeyCode& key) override;
  void mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new CKnob(*this); }

  virtual void drawHandle(CDrawContext* context);
  virtual void setStartAngle(float a);
  virtual float getStartAngle() const { return startAngle_; }
  virtual void setRangeAngle(float a);
  virtual float getRangeAngle() const { return rangeAngle_; }
  virtual void valueToPoint(CPosition& out) const;
  virtual float valueFromPoint(const CPosition& p) const;
  virtual int32_t getInsetValue() const { return inset_; }
  virtual void setInsetValue(int32_t v) { inset_ = v; }
  virtual void setColorShadowHandle(CRGBA c);
  virtual CRGBA getColorShadowHandle() const { return shadowColor_; }
  virtual void setColorHandle(CRGBA c);
  virtual CRGBA getColorHandle() const { return handleColor_; }
  virtual void setHandleBitmap(CBitmap* b);
  virtual CBitmap* getHandleBitmap() const { return handle_; }
  virtual void setZoomFactor(float z) { zoom_ = z; }
  virtual float getZoomFactor() const { return zoom_; }

 protected:
  void compute();
  bool linearMode(uint32_t buttons) const;
  void startDrag(const CPosition& where, uint32_t buttons);
  float dragRange(uint32_t buttons) const;
  void stepValue(float steps, bool fine);
  CPosition offset_;
  CRGBA handleColor_ = kWhiteCRGBA, shadowColor_ = kGreyCRGBA;
  CBitmap* handle_ = nullptr;
  int32_t inset_ = 3;
  float startAngle_, rangeAngle_, aCoef_, bCoef_, halfAngle_;
  int32_t radius_;
  float zoom_ = 1.5f;
  // Tracking state.
  CPosition firstPoint_, lastPoint_;
  float startValue_ = 0, entryValue_ = 0, range_ = 200, coef_ = 0;
  uint32_t startButtons_ = 0;
  bool linear_ = false;
};

class IMultiBitmapControl {
 public:
  virtual ~IMultiBitmapControl() = default;
  virtual void setHeightOfOneImage(int32_t h);
  virtual int32_t getHeightOfOneImage() const { return heightOfOneImage_; }
  virtual void autoComputeHeightOfOneImage() = 0;
  int32_t getSubPixmaps() const { return subPixmaps_; }

 protected:
  virtual CBitmap* multiBitmap() const = 0;
  int32_t heightOfOneImage_ = 0;
  int16_t subPixmaps_ = 0;
};

class CAnimKnob : public CKnob, public IMultiBitmapControl {
 public:
  // subPixmaps images of heightOfOneImage stacked vertically in background.
  CAnimKnob(const CBounds& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
            int32_t heightOfOneImage, CBitmap* background, const CPosition& offset = {});
  void draw(CDrawContext* context) override;
  bool isDirty() const override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new CAnimKnob(*this); }
  void autoComputeHeightOfOneImage() override { heightOfOneImage_ = size_.height(); }
  void setInverseBitmap(bool b) { inverse_ = b; }
  int32_t lastDrawnImageY() const { return lastY_; }
  // The top row of the filmstrip frame the value selects, -1 when none is drawn.
  int32_t imageY() const;

 protected:
  CBitmap* multiBitmap() const override { return background_; }
  bool inverse_ = false;
  CPosition lastDrawn_{-1, -1};
  int32_t lastY_ = -1;
};

class CVerticalSwitch : public CControl, public IMultiBitmapControl {
 public:
  CVerticalSwitch(const CBounds& size, CControlListener* listener, int32_t tag,
                  int32_t subPixmaps, int32_t heightOfOneImage, int32_t positions,
                  CBitmap* background, const CPosition& offset = {});
  void draw(CDrawContext* context) override;
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseUp(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons) override;
  void mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new CVerticalSwitch(*this); }
  void autoComputeHeightOfOneImage() override { heightOfOneImage_ = size_.height(); }

 protected:
  CBitmap* multiBitmap() const override { return background_; }
  CPosition offset_;
  int32_t positions_;
  double coef_ = 0;
};

enum CParamDisplayStyle : int32_t {
  kShadowText = 0x4, k3DIn = 0x80, k3DOut = 0x100, kNoTextStyle = 0x800,
  kNoDrawStyle = 0x1000, kDoubleClickStyle = 0x2000, kNoFrame = 0x4000,
};

using ValueToText = void (*)(float value, char* text);
using ValueToTextWithData = void (*)(float value, char* text, void* userData);

class CParamDisplay : public CControl {
 public:
  CParamDisplay(const CBounds& size, CBitmap* background = nullptr, int32_t style = 0);
  CParamDisplay(const CParamDisplay& p);
  ~CParamDisplay() override;

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new CParamDisplay(*this); }

  virtual void setFont(CFontDesc* font);
  virtual void setFontColor(CRGBA c);
  virtual void setBackColor(CRGBA c);
  virtual void setFrameColor(CRGBA c);
  virtual void setShadowColor(CRGBA c);
  virtual void setEnableTextEdit(bool) {}
  virtual void setHoriAlign(int32_t a);
  virtual void setValueToStringProcedure(ValueToTextWithData f, void* userData);
  virtual void setStringConvert(ValueToText f);
  virtual void setStringConvertUnused(ValueToText) {}
  virtual void setStyle(int32_t s);
  virtual void setTxtFace(int32_t f);
  virtual void setTextTransparency(bool t);

  CFontDesc* getFont() const { return font_; }
  CRGBA getFontColor() const { return fontColor_; }
  CRGBA getBackColor() const { return backColor_; }
  int32_t getStyle() const { return style_; }
  int32_t getHoriAlign() const { return horiAlign_; }

 protected:
  void valueText(char* out) const;  // 256 bytes
  void drawText(CDrawContext* context, const char* text);
  ValueToText stringConvert_ = nullptr;
  ValueToTextWithData stringConvertData_ = nullptr;
  void* userData_ = nullptr;
  CFontDesc* font_;
  int32_t txtFace_ = 0;
  CRGBA fontColor_ = kWhiteCRGBA, backColor_ = kBlackCRGBA, frameColor_ = kBlackCRGBA,
        shadowColor_ = kRedCRGBA;
  int32_t horiAlign_ = kCenterText;
  int32_t style_;
  bool textTransparency_ = true;
};

using TextToDisplay = void (*)(char* in, char* out);
using TextToDisplayWithData = void (*)(char* in, char* out, void* userData);

class CTextEdit : public CParamDisplay, private platform::TextEntryListener {
 public:
  static constexpr int32_t kMaxText = 255;
  CTextEdit(const CBounds& size, CControlListener* listener, int32_t tag,
            const char* text = nullptr, CBitmap* background = nullptr, int32_t style = 0);
  CTextEdit(const CTextEdit& t);
  ~CTextEdit() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  void mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) override;
  void takeFocus() override;
  void loseFocus() override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new CTextEdit(*this); }

  virtual void setText(const char* text);
  virtual const char* getText() const { return text_; }
  virtual void getText(char* out) const;  // at least 256 bytes
  virtual void setTextToDisplayWithData(TextToDisplayWithData f, void* userData);
  virtual void setTextToDisplay(TextToDisplay f) { textToDisplay_ = f; }

  bool isEditing() const { return entry_ != nullptr; }
  platform::TextEntry* textEntry() const { return entry_.get(); }
  bool returnPressed() const { return returnPressed_; }

 private:
  void textEntryFocusLost() override;
  void textEntryReturn() override;
  void textEntryCancel() override;
  void startEditing();
  // Ends editing: keeps the typed text (commit) or the old one, tells the listener of a
  // committed change, ends the edit gesture.
  void closeEntry(bool commit);
  std::unique_ptr<platform::TextEntry> entry_;
  bool returnPressed_ = false;
  char text_[kMaxText + 1] = {};
  TextToDisplay textToDisplay_ = nullptr;
  TextToDisplayWithData textToDisplayData_ = nullptr;
};
