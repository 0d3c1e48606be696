#pragma once
// Soravel's own controls, each a small specialisation of a framework control.
// They read the plug-in through the editor: parameter values, the current
// program's parameter records and the engine's meter levels. Each adds itself
// to the editor's frame when it is made; the frame owns it from then on.
#include "editor/knob_mapping.h"
#include "editor/layout.h"
#include "editor/meter_scale.h"
#include "gui/controls.h"
#include "gui/timer.h"
#include "engine/param_ids.h"

class Editor;

// A filmstrip knob whose position follows a power curve (levels) or a
// logarithmic frequency scale; its value is the position, 0..1.
class TZKnob : public CAnimKnob {
 public:
  TZKnob(Editor* editor, int32_t left, int32_t top, int32_t width, int32_t height,
         CControlListener* listener, int32_t tag, CBitmap* image, float curve, bool log);
  // Takes a normalised parameter value and shows it at its position.
  void setValue(float value) override;
  // The normalised parameter value of the knob's current position.
  float parameterValue() const { return mapping.ToValue(value_); }
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new TZKnob(*this); }

 private:
  TKnobMapping mapping;
};

// A parameter's value and unit ("1.50 sec"), editable by typing.
class TZDisplay : public CTextEdit {
 public:
  TZDisplay(Editor* editor, int32_t left, int32_t top, CControlListener* listener, int32_t tag);
  int32_t parameterIndex() const { return index; }
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new TZDisplay(*this); }

 private:
  Editor* editor;
  int32_t index;
  friend void ComposeDisplayText(float, char*, void*);
};

// The freeze parameter's text ("On " or "Off "), read-only.
class TZTablo : public CParamDisplay {
 public:
  explicit TZTablo(Editor* editor);
  void setValue(float value) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new TZTablo(*this); }

 private:
  Editor* editor;
};

// The freeze switch: any left click toggles it.
class TZSwitch : public CVerticalSwitch {
 public:
  TZSwitch(Editor* editor, CControlListener* listener, CBitmap* image);
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new TZSwitch(*this); }
};

// Four peak meters (input left, right, output left, right) with peak hold, on
// the editor's 20 ms timer. Each tick reads the engine's levels once, advances
// the peak hold once and repaints only the bars whose lit height or marker
// moved, each bar's changed rows on their own: a still meter paints nothing.
// Painting shows the state of the last tick.
class TZMeter : public CControl {
 public:
  TZMeter(Editor* editor, CBitmap* scale);
  ~TZMeter() override;
  TZMeter(const TZMeter& m);

  CMessageResult notify(CBaseObject* sender, const char* message) override;
  void draw(CDrawContext* context) override;
  // It has no value of its own: only a mark makes it dirty, so that the host's idle
  // calls do not repaint it between its timer's ticks.
  bool isDirty() const override { return dirty_; }
  void setDirty(bool flag = true) override { dirty_ = flag; }
  bool attached(CView* parent) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new TZMeter(*this); }

  void setScaleImage(CBitmap* image) { scale = image; }
  bool startTimer() { return timer->start(); }
  void stopTimer() { timer->stop(); }
  // One timer tick of the bars (the timer calls it; tests may too).
  void Tick();
  const meter::TPeakHold& peakHold(int bar) const { return peaks[bar]; }

  // What one bar shows: its unlit height from the top and its marker row (-1: none).
  struct TBar {
    int unlit = meter::kBarHeight;
    int marker = -1;
    bool operator==(const TBar&) const = default;
  };
  const TBar& Shown(int bar) const { return shown[bar]; }

 private:
  static constexpr int kBars = layout::kMeterBars;
  void DrawNow(const CBounds* areas, int count);
  Editor* editor;
  CBitmap* scale;
  CBounds bars[kBars];
  CGuiTimer* timer;
  meter::TPeakHold peaks[kBars];
  TBar shown[kBars];
};
