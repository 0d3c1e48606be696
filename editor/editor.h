#pragma once
// Soravel's editor: a 773 x 491 window drawn from the embedded images, with a
// knob and a value display for every parameter, the freeze switch and its
// text, the level meter and the about area.
//
// Every parameter change that reaches the plug-in, whatever its origin, comes
// back through setParameter and moves the matching control; gestures in the
// window go to the plug-in through valueChanged. setParameter may run on the
// host's automation thread: it only stores control values and marks views
// dirty, and the next idle redraws them. Closing, or destroying the editor,
// takes the window down with its frame and timer.
#include "editor/tz_about.h"
#include "engine/param_ids.h"
#include "editor/tz_controls.h"
#include "gui/aeffguieditor.h"

class TParam;
class VstPlugin;

class Editor : public AEffGUIEditor, public CControlListener {
 public:
  explicit Editor(VstPlugin* plugin);
  ~Editor() override;

  bool open(void* parentWindow) override;
  void close() override;
  void setParameter(int index, float value) override;
  void valueChanged(CControl* control) override;

  // What the controls read of the plug-in.
  TParam* Param(int index) const;
  float ParameterValue(int index) const;
  float Meter(int i) const;
  TZAbout* About() const { return about; }

  // The controls while open (null when closed), for tests.
  TZKnob* Knob(int tag) const;
  TZDisplay* Display(int tag) const;
  TZSwitch* FreezeSwitch() const { return freezeSwitch; }
  TZTablo* FreezeText() const { return freezeText; }
  TZMeter* LevelMeter() const { return meterView; }

 private:
  VstPlugin* plugin;
  TZKnob* knobs[kNumParams] = {};     // by tag; none for the freeze parameter
  TZDisplay* displays[kNumParams] = {};
  TZTablo* freezeText = nullptr;
  TZSwitch* freezeSwitch = nullptr;
  TZMeter* meterView = nullptr;
  TZAbout* about = nullptr;
};
