#pragma once
// How the frame reaches its editor: idle during blocking loops (paced by IdlePacer,
// gui/idle_pacer.h), the process-wide knob mode (0 circular, 2 linear) and the
// bracketing of parameter edits.
#include <cstdint>

enum CKnobMode : int32_t { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

class GuiEditorInterface {
 public:
  virtual void doIdleStuff() = 0;
  virtual int32_t getKnobMode() const = 0;
  virtual void beginEdit(int32_t index) = 0;
  virtual void endEdit(int32_t index) = 0;
  virtual ~GuiEditorInterface() = default;
};

// The process-wide knob mode shared by all editors.
int32_t globalKnobMode();
void setGlobalKnobMode(int32_t mode);
