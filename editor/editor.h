#pragma once
// Soravel's editor: a 773 x 491 window drawn from the embedded images, with a
// knob and a value display for every parameter, the freeze switch and its
// text, the level meter and the about area.
//
// Every parameter change that reaches the plug-in, whatever its origin, comes
// back through setParameter and moves the matching control; gestures in the
// window go to the plug-in through valueChanged. setParameter may run on any
// thread (hosts automate from their own): it only stores the value in an atomic
// and raises the parameter's bit in an atomic mask. The GUI thread takes the
// raised bits and moves the controls at the next idle or the next tick of the
// editor's 20 ms timer, whichever comes first (hosts stop idling an editor
// whose window is inactive), and at once after a gesture of its own, so that a
// display repaints together with its knob. A bit raised while the controls are
// being moved stays raised for the next time: no change is lost. Closing, or
// destroying the editor, takes the window down with its frame and timer.
//
// The editor reaches its plug-in only through IEditorPlugin, so that the same
// editor serves every plug-in format (VST 2.x: editor/vst2_editor.cpp; formats/).
//
// Zoom (editor/zoom.h): the editor opens at the user's choice, else the host's
// announced content scale, else the screen's; the layout stays in 1x units and the
// frame draws it larger, from the images made for that zoom. A change while open
// first asks the host for the new window size; a host that refuses keeps the editor
// at the size it has until it is opened again. getRect answers the size at the zoom
// the editor shows (open) or will open at (closed).
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "editor/tz_about.h"
#include "engine/param_ids.h"
#include "editor/tz_controls.h"
#include "gui/aeffguieditor.h"

class IEditorPlugin;

class Editor : public AEffGUIEditor, public CControlListener {
 public:
  // `plugin` outlives the editor. A VST 2.x effect, when given, owns the editor
  // from here on and gets the host's idle requests during tracking loops.
  explicit Editor(IEditorPlugin* plugin, AudioEffect* effect = nullptr);
  ~Editor() override;

  bool open(void* parentWindow) override;
  void close() override;
  void setParameter(int index, float value) override;
  void idle() override;
  void valueChanged(CControl* control) override;
  void beginEdit(int32_t index) override;
  void endEdit(int32_t index) override;
  bool getRect(ERect** rect) override;
  bool setContentScale(float factor) override;

  // The user's zoom choice (one of zoom::kZooms), for this and every later editor of
  // the process; shown at once when the host agrees to the new size. GUI thread.
  void ChooseZoom(double zoom);
  // The zoom shown (open) or last shown.
  double Zoom() const { return shownZoom; }

  // GUI thread: moves the controls to the parameter changes that arrived since the
  // last call and repaints them with their displays.
  void ApplyParameterChanges();

  // What the controls read of the plug-in.
  void DisplayText(int index, char* text, size_t size) const;
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
  void SendToPlugin(CControl* control, int32_t tag);
  double WantedZoom(void* parentWindow) const;
  void SetRectFor(double zoom);
  bool ApplyZoom(double zoom);
  void UseImages(double zoom);
  IEditorPlugin* plugin;
  int32_t baseWidth = 0, baseHeight = 0;  // the 1x size
  double shownZoom = 1.0;
  double answeredZoom = 0.0;  // the zoom of the size getRect answered last; 0: none
  double hostScale = 0.0;     // the host's announced content scale; 0: none
  TZKnob* knobs[kNumParams] = {};     // by tag; none for the freeze parameter
  TZDisplay* displays[kNumParams] = {};
  TZTablo* freezeText = nullptr;
  TZSwitch* freezeSwitch = nullptr;
  TZMeter* meterView = nullptr;
  TZAbout* about = nullptr;
  // The hand-over from any thread to the GUI thread: the newest normalised value of
  // each parameter, stored before its bit is raised.
  std::atomic<float> pendingValue[kNumParams] = {};
  std::atomic<uint32_t> pendingMask{0};
  static_assert(kNumParams <= 32, "one bit per parameter");
};
