#pragma once

#include "plugin/vst2.h"

// What the dispatcher needs from an editor. The view framework's editor
// derives from this; the defaults describe an editor without a window.
class AEffEditor {
 public:
  virtual ~AEffEditor();
  virtual bool getRect(ERect** rect);
  virtual bool open(void* window);
  virtual void close();
  virtual void idle();
  virtual int keyDown(VstKeyCode& key);
  virtual int keyUp(VstKeyCode& key);
  virtual bool setKnobMode(int mode);
  // A parameter changed (normalised value); move the control, redraw later.
  virtual void setParameter(int index, float value);
  virtual bool isOpen();
  // Mark the whole window for redraw.
  virtual void redraw();
  // The host's content scale (how much it enlarges its own windows); false when the
  // editor does not take it.
  virtual bool setContentScale(float factor);
};
