#include "formats/vst3/view.h"

#include <cstring>

#include "editor/editor.h"
#include "formats/vst3/controller.h"
#include "gui/frame.h"
#include "gui/platform/platform.h"

namespace vst3 {

namespace {

#ifdef _WIN32
const char* const kWindowType = kPlatformTypeHWND;
#else
const char* const kWindowType = kPlatformTypeX11EmbedWindowID;
#endif

// Half the meter's 20 ms: its timer falls due between two ticks at the latest.
constexpr uint32_t kIdleMs = 10;

}  // namespace

TView::TView(TController* c) : controller(c), tick(Idle, this) { controller->addRef(); }

TView::~TView() {
  removed();
  frame.Reset(nullptr);
  controller->release();
}

tresult TView::queryInterface(const char* iid, void** obj) {
  if (!iid || !obj) return NoInterface(obj);
  if (Answer<FUnknown, IPlugView>(iid, obj) || Answer<IPlugView>(iid, obj) ||
      Answer<IPlugViewContentScaleSupport>(iid, obj))
    return kResultOk;
  return NoInterface(obj);
}

tresult TView::isPlatformTypeSupported(FIDString type) {
  return type && std::strcmp(type, kWindowType) == 0 ? kResultTrue : kResultFalse;
}

tresult TView::attached(void* parent, FIDString type) {
  if (!parent || isPlatformTypeSupported(type) != kResultTrue) return kResultFalse;
  if (shown || controller->OpenView()) return kResultFalse;  // the editor is shown elsewhere
  controller->SetOpenView(this);
  Editor& editor = controller->EditorObject();
  if (!editor.open(parent)) {  // no display, not a window
    controller->SetOpenView(nullptr);
    return kResultFalse;
  }
  shown = true;
  if (!tick.Start(frame.get(), kIdleMs, platform::current().eventFileDescriptor())) {
#ifndef _WIN32
    removed();  // without the host's run loop nothing would ever draw it
    return kResultFalse;
#endif
  }
  return kResultOk;
}

tresult TView::removed() {
  if (!shown) return kResultOk;
  tick.Stop();
  controller->EditorObject().close();
  controller->SetOpenView(nullptr);
  shown = false;
  return kResultOk;
}

void TView::Idle(void* v) {
  auto* view = static_cast<TView*>(v);
  if (!view->shown) return;
  view->controller->EditorObject().idle();
  view->controller->Tick();  // a restart owed, where the host context had no run loop
}

tresult TView::onWheel(float distance) {
  return shown && controller->EditorObject().wheel(distance) ? kResultTrue : kResultFalse;
}

tresult TView::Key(bool down, char16 key, int16 keyCode, int16 modifiers) {
  if (!shown) return kResultFalse;
  // VST 3's virtual keys and modifier bits (Shift 1, Alt 2, Control 8) are VST 2.x's
  // up to its last key (57, '='); the editor knows those.
  VstKeyCode k{};
  k.character = key < 0x80 ? key : 0;
  k.virt = static_cast<unsigned char>(keyCode > 0 && keyCode <= 57 ? keyCode : 0);
  k.modifier = static_cast<unsigned char>(modifiers & (1 | 2 | 8));
  Editor& editor = controller->EditorObject();
  return (down ? editor.keyDown(k) : editor.keyUp(k)) == 1 ? kResultTrue : kResultFalse;
}

tresult TView::onKeyDown(char16 key, int16 keyCode, int16 modifiers) {
  return Key(true, key, keyCode, modifiers);
}

tresult TView::onKeyUp(char16 key, int16 keyCode, int16 modifiers) {
  return Key(false, key, keyCode, modifiers);
}

tresult TView::getSize(ViewRect* size) {
  if (!size) return kInvalidArgument;
  ERect* r = nullptr;
  if (!controller->EditorObject().getRect(&r) || !r) return kResultFalse;
  *size = {0, 0, r->right - r->left, r->bottom - r->top};
  return kResultOk;
}

tresult TView::onSize(ViewRect* newSize) { return newSize ? kResultOk : kInvalidArgument; }

tresult TView::onFocus(TBool) { return kResultOk; }

tresult TView::setFrame(IPlugFrame* f) {
  frame.Reset(f);
  return kResultOk;
}

tresult TView::checkSizeConstraint(ViewRect* rect) {
  if (!rect) return kInvalidArgument;
  ViewRect fixed{};
  if (getSize(&fixed) != kResultOk) return kResultFalse;
  *rect = {rect->left, rect->top, rect->left + fixed.right, rect->top + fixed.bottom};
  return kResultTrue;
}

tresult TView::setContentScaleFactor(float factor) {
  return controller->EditorObject().setContentScale(factor) ? kResultTrue : kResultFalse;
}

bool TView::RequestSize(int width, int height) {
  if (!frame) return false;
  ViewRect r{0, 0, width, height};
  return frame->resizeView(this, &r) == kResultTrue;
}

}  // namespace vst3
