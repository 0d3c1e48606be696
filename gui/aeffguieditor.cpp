#include "gui/aeffguieditor.h"

#include "plugin/audioeffect.h"

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : effect_(effect) {
  if (effect_) effect_->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor() = default;

bool AEffGUIEditor::getRect(ERect** out) {
  if (!out) return false;
  *out = &rect;
  return true;
}

bool AEffGUIEditor::open(void* parentWindow) {
  parentWindow_ = parentWindow;
  return false;
}

void AEffGUIEditor::close() { parentWindow_ = nullptr; }

void AEffGUIEditor::idle() {
  if (pacer_.inIdle() || !frame) return;
  platform::current().processEvents();
  if (frame) frame->idle();  // events may have closed the window
}

namespace {
// The host's key record and the framework's carry the same fields.
CKeyCode FrameKey(const VstKeyCode& key) { return {key.character, key.virt, key.modifier}; }
}  // namespace

int AEffGUIEditor::keyDown(VstKeyCode& key) {
  CKeyCode k = FrameKey(key);
  return frame && frame->keyDown(k) > 0 ? 1 : 0;
}

int AEffGUIEditor::keyUp(VstKeyCode& key) {
  CKeyCode k = FrameKey(key);
  return frame && frame->keyUp(k) > 0 ? 1 : 0;
}

bool AEffGUIEditor::wheel(float distance) {
  if (!frame) return false;
  CDrawContext* context = new CDrawContext(frame, nullptr);
  CPosition where;
  context->getMouseLocation(where);
  const uint32_t buttons = frame->getCurrentMouseButtons();
  const bool result = frame->wheel(where, distance, buttons);
  context->release();
  return result;
}

bool AEffGUIEditor::setKnobMode(int mode) {
  setGlobalKnobMode(mode);
  return true;
}

void AEffGUIEditor::setParameter(int, float) {}

void AEffGUIEditor::draw(ERect* r) {
  if (!frame) return;
  CBounds b = frame->getViewSize();
  if (r) {
    // The host's rectangle, in window pixels, may come with its edges swapped.
    b = frame->getScale().unitsCovering(
        {r->left < r->right ? r->left : r->right, r->top < r->bottom ? r->top : r->bottom,
         r->left < r->right ? r->right : r->left, r->top < r->bottom ? r->bottom : r->top});
  }
  CDrawContext* context = new CDrawContext(frame, nullptr);
  frame->drawInRect(context, b);
  context->release();
}

void AEffGUIEditor::redraw() {
  if (frame) frame->setDirty();
}

void AEffGUIEditor::doIdleStuff() {
  pacer_.run([this] { idle(); },
             [this] {
               if (effect_) effect_->masterIdle();
             });
}

void AEffGUIEditor::beginEdit(int32_t index) {
  if (effect_) effect_->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index) {
  if (effect_) effect_->endEdit(index);
}
