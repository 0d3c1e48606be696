// The knob mode, one for the process: every editor's knobs follow it.
#include "gui/editor_interface.h"

namespace {
int32_t gKnobMode = kCircularMode;
}  // namespace

int32_t globalKnobMode() { return gKnobMode; }
void setGlobalKnobMode(int32_t mode) { gKnobMode = mode; }
