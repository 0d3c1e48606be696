#pragma once

#include "plugin/vst2.h"

// What the dispatcher needs from an editor. The view framework's editor
// derives from this; the defaults describe an editor without a window. Written
// in the header alone, so that an editor built for another plug-in format links
// nothing of the VST 2.x shell.
class AEffEditor {
 public:
  virtual ~AEffEditor() = default;
  virtual bool getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return false;
  }
  virtual bool open(void*) { return false; }
  virtual void close() {}
  virtual void idle() {}
  virtual int keyDown(VstKeyCode&) { return 0; }
  virtual int keyUp(VstKeyCode&) { return 0; }
  virtual bool setKnobMode(int) { return false; }
  // A parameter changed (normalised value); move the control, redraw later.
  virtual void setParameter(int, float) {}
  virtual bool isOpen() { return false; }
  // Mark the whole window for redraw.
  virtual void redraw() {}
  // The host's content scale (how much it enlarges its own windows); false when the
  // editor does not take it.
  virtual bool setContentScale(float) { return false; }
};
