#pragma once
// The plug-in's editor on the view framework: connects a frame to the host's window and
// idle calls, and reports parameter gestures to the plug-in.
//
// Construction registers the editor with its effect, which owns it from then on. The
// derived editor makes the frame in open() (inside the host's window) and releases it in
// close(). Every call that needs a frame does nothing (false) without one. Idle pacing
// during tracking loops: one editor idle per 100 ms at most (4 ms sleep, 50 ms
// tolerance), followed by an idle request to the host. Knob mode is process-wide.
#include "gui/editor_interface.h"
#include "gui/frame.h"
#include "gui/idle_pacer.h"
#include "plugin/aeffeditor.h"

class AudioEffect;

class AEffGUIEditor : public AEffEditor, public GuiEditorInterface {
 public:
  explicit AEffGUIEditor(AudioEffect* effect);
  ~AEffGUIEditor() override;

  virtual AudioEffect* getEffect() const { return effect_; }
  bool getRect(ERect** rect) override;
  bool open(void* parentWindow) override;
  void close() override;
  bool isOpen() override { return parentWindow_ != nullptr; }
  void idle() override;
  int keyDown(VstKeyCode& key) override;
  int keyUp(VstKeyCode& key) override;
  virtual bool wheel(float distance);
  bool setKnobMode(int mode) override;
  void setParameter(int index, float value) override;
  virtual void draw(ERect* rect);
  void redraw() override;

  // GuiEditorInterface.
  void doIdleStuff() override;
  int32_t getKnobMode() const override { return globalKnobMode(); }
  void beginEdit(int32_t index) override;
  void endEdit(int32_t index) override;

  CFrame* getFrame() const { return frame; }
  void* getParentWindow() const { return parentWindow_; }

 protected:
  AudioEffect* effect_;
  CFrame* frame = nullptr;  // made and released by the derived editor
  ERect rect{0, 0, 0, 0};
  void* parentWindow_ = nullptr;
  IdlePacer pacer_;
};
