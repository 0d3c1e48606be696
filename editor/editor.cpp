#include "editor/editor.h"

#include <algorithm>

#include "editor/editor_plugin.h"
#include "editor/image_table.h"
#include "editor/layout.h"
#include "editor/tz_frame.h"
#include "editor/zoom.h"
#include "gui/platform/platform.h"
#include "plugin/param.h"

Editor::Editor(IEditorPlugin* p, AudioEffect* effect) : AEffGUIEditor(effect), plugin(p) {
  // The size comes from the background's file header: hosts make instances
  // just to scan them, and decoding waits until a window is opened.
  int width = 0, height = 0;
  if (imageSize(layout::kBackgroundImage, width, height)) {
    baseWidth = width;
    baseHeight = height;
    SetRectFor(1.0);
  }
}

double Editor::WantedZoom(void* parentWindow) const {
  return zoom::Choose(zoom::UserChoice(), hostScale,
                      platform::current().screenScale(parentWindow));
}

void Editor::SetRectFor(double z) {
  const CScale scale(z);
  rect.right = static_cast<int16_t>(scale.toPixels(baseWidth));
  rect.bottom = static_cast<int16_t>(scale.toPixels(baseHeight));
}

bool Editor::getRect(ERect** out) {
  // Open, the rectangle holds the size shown, or the one being asked of the host.
  if (!frame) {
    answeredZoom = WantedZoom(nullptr);
    SetRectFor(answeredZoom);
  }
  return AEffGUIEditor::getRect(out);
}

bool Editor::setContentScale(float factor) {
  if (!zoom::ValidHostScale(factor)) return false;
  hostScale = factor;
  if (frame && zoom::UserChoice() == 0.0) ApplyZoom(zoom::Nearest(factor));
  return true;
}

void Editor::ChooseZoom(double z) {
  if (!zoom::SetUserChoice(z)) return;
  if (frame) ApplyZoom(z);
}

bool Editor::ApplyZoom(double z) {
  if (!frame) return false;
  if (z == shownZoom) return true;
  // Hosts ask getRect for the size while they answer: it gives the new one.
  SetRectFor(z);
  answeredZoom = z;
  if (!plugin->ResizeWindow(rect.right, rect.bottom)) {
    SetRectFor(shownZoom);  // refused: the editor stays as it is, correctly drawn
    answeredZoom = shownZoom;
    return false;
  }
  UseImages(z);
  frame->setZoom(z);
  shownZoom = z;
  return true;
}

void Editor::UseImages(double z) {
  frame->setBackground(findImage(layout::kBackgroundImage, z));
  for (const TKnobPlace& k : kKnobPlaces) knobs[k.tag]->setBackground(findImage(k.image, z));
  freezeSwitch->setBackground(findImage(layout::kSwitchImage, z));
  meterView->setScaleImage(findImage(layout::kMeterImage, z));
  about->setImage(findImage(layout::kAboutImage, z));
}

// The window never outlives the editor: hosts close instances with it open.
Editor::~Editor() { close(); }

bool Editor::open(void* parentWindow) {
  if (frame) close();  // a second open without a close rebuilds
  AEffGUIEditor::open(parentWindow);
  // The controls read the plug-in's values as they are built: what arrived before
  // is in them. Whatever arrives from now on raises its bit again.
  pendingMask.exchange(0, std::memory_order_acquire);
  double z = WantedZoom(parentWindow);
  if (const double answered = answeredZoom; answered > 0.0 && z != answered) {
    // The host sized its window by an earlier answer: ask for the new size.
    SetRectFor(z);
    if (!plugin->ResizeWindow(rect.right, rect.bottom)) z = answered;
  }
  CBitmap* background = findImage(layout::kBackgroundImage, z);
  CBitmap* aboutImage = findImage(layout::kAboutImage, z);
  CBitmap* switchImage = findImage(layout::kSwitchImage, z);
  CBitmap* scale = findImage(layout::kMeterImage, z);
  if (!background || !background->isLoaded() || !aboutImage || !switchImage || !scale) {
    AEffGUIEditor::close();  // without its images there is nothing to show
    return false;
  }

  shownZoom = answeredZoom = z;
  SetRectFor(z);
  frame = new TZFrame(CBounds(0, 0, background->getWidth(), background->getHeight()), parentWindow,
                      this, z);
  if (!frame->platformWindow()) {  // no window made (no display, not a window): no editor
    frame->release();
    frame = nullptr;
    AEffGUIEditor::close();
    return false;
  }
  frame->setBackground(background);

  for (const TKnobPlace& k : kKnobPlaces)
    knobs[k.tag] = new TZKnob(this, k.left, k.top, k.size, k.size, this, k.tag,
                              findImage(k.image, z), k.curve,
                              kParamTable[k.tag].logarithmic);
  for (const TKnobPlace& k : kKnobPlaces) {
    if (k.tag == kSize) freezeText = new TZTablo(this);  // between displays 0-7 and 9-17
    displays[k.tag] = new TZDisplay(this, k.displayLeft, k.displayTop, this, k.tag);
  }
  freezeSwitch = new TZSwitch(this, this, switchImage);
  meterView = new TZMeter(this, scale);
  setKnobMode(kLinearMode);
  about = new TZAbout(this, aboutImage, CBounds(0, 0, aboutImage->getWidth(), aboutImage->getHeight()));
  frame->addView(about);  // last: topmost, it takes clicks on the logo first
  meterView->startTimer();
  return true;
}

void Editor::close() {
  if (!frame) {
    AEffGUIEditor::close();
    return;
  }
  meterView->stopTimer();
  CFrame* old = frame;
  frame = nullptr;  // nothing reaches the controls while they go
  std::fill(std::begin(knobs), std::end(knobs), nullptr);
  std::fill(std::begin(displays), std::end(displays), nullptr);
  freezeText = nullptr;
  freezeSwitch = nullptr;
  meterView = nullptr;
  about = nullptr;
  old->release();  // the frame releases every control and destroys its window
  AEffGUIEditor::close();
}

void Editor::setParameter(int index, float value) {
  if (index < 0 || index >= kNumParams) return;
  pendingValue[index].store(value, std::memory_order_relaxed);
  pendingMask.fetch_or(1u << index, std::memory_order_release);
}

void Editor::idle() {
  ApplyParameterChanges();
  AEffGUIEditor::idle();
}

void Editor::ApplyParameterChanges() {
  uint32_t bits = pendingMask.exchange(0, std::memory_order_acquire);
  if (!frame) return;  // closed: the next opening reads the plug-in's values
  for (int i = 0; bits; ++i, bits >>= 1) {
    if (!(bits & 1u)) continue;
    const float value = pendingValue[i].load(std::memory_order_relaxed);
    if (i == kDecayFreeze) {
      freezeSwitch->setValue(value);
      if (freezeSwitch->isDirty()) freezeSwitch->invalidate();
      freezeText->setValue(value);  // repaints itself
      continue;
    }
    knobs[i]->setValue(value);
    if (knobs[i]->isDirty()) knobs[i]->invalidate();
    displays[i]->invalidate();  // its text is read from the plug-in when painted
  }
}

void Editor::valueChanged(CControl* control) {
  const int32_t tag = control ? control->getTag() : -1;
  if (tag < 0 || tag >= kNumParams) return;  // the about area (layout::kAboutTag) and the rest
  SendToPlugin(control, tag);
  // The plug-in has called setParameter back with the value it took: show it now,
  // so that the display is painted together with the control the user moved.
  ApplyParameterChanges();
}

void Editor::SendToPlugin(CControl* control, int32_t tag) {
  if (control->isTypeOf("TZKnob")) {
    plugin->PerformEdit(tag, static_cast<TZKnob*>(control)->parameterValue());
  } else if (control->isTypeOf("TZDisplay")) {
    // The typed text read by the parameter's own rules, as a normalised value.
    const int32_t k = static_cast<TZDisplay*>(control)->parameterIndex();
    if (k < 0 || k >= kNumParams) return;
    TParam typed;
    typed.Init(kParamTable[k]);
    typed.Parse(static_cast<TZDisplay*>(control)->getText());
    plugin->PerformEdit(k, typed.Normalized());
  } else {
    plugin->PerformEdit(tag, control->getValue());  // the freeze switch
  }
}

void Editor::beginEdit(int32_t index) { plugin->BeginEdit(index); }

void Editor::endEdit(int32_t index) { plugin->EndEdit(index); }

void Editor::DisplayText(int index, char* text, size_t size) const {
  plugin->DisplayText(index, text, size);
}

float Editor::ParameterValue(int index) const { return plugin->Normalized(index); }

float Editor::Meter(int i) const { return plugin->Meter(i); }

TZKnob* Editor::Knob(int tag) const { return tag >= 0 && tag < kNumParams ? knobs[tag] : nullptr; }

TZDisplay* Editor::Display(int tag) const {
  return tag >= 0 && tag < kNumParams ? displays[tag] : nullptr;
}
