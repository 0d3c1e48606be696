#include "plugin/aeffeditor.h"

AEffEditor::~AEffEditor() = default;
bool AEffEditor::getRect(ERect** rect) {
  if (rect) *rect = nullptr;
  return false;
}
bool AEffEditor::open(void*) { return false; }
void AEffEditor::close() {}
void AEffEditor::idle() {}
int AEffEditor::keyDown(VstKeyCode&) { return 0; }
int AEffEditor::keyUp(VstKeyCode&) { return 0; }
bool AEffEditor::setKnobMode(int) { return false; }
void AEffEditor::setParameter(int, float) {}
bool AEffEditor::isOpen() { return false; }
void AEffEditor::redraw() {}
bool AEffEditor::setContentScale(float) { return false; }
