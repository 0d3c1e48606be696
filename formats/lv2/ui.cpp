// Soravel.lv2's UI library: the editor in the host's X11 window.
//
// The host hands the parent window (ui:parent) and drives everything from its
// GUI thread: port events bring parameter values and meter levels, idle calls
// (ui:idleInterface) run the window's events and timers. A gesture writes the
// port through the host's write function, bracketed by ui:touch when the host
// offers it. The UI keeps the parameter records of what the ports hold, in the
// plug-in's physical units, to show and convert them as the VST 2.x plug-in
// does.
//
// The zoom: a host's ui:scaleFactor (formats/lv2/scale_option.h) counts as
// its announced content scale, in opts:options at instantiation and through
// the options interface later; the editor weighs it as it weighs a VST 2.x
// host's (the user's choice first) and asks for a new size through ui:resize.
#include <cstring>
#include <memory>
#include <new>

#include "editor/editor.h"
#include "editor/editor_plugin.h"
#include "formats/lv2/lv2.h"
#include "formats/lv2/ports.h"
#include "formats/lv2/scale_option.h"
#include "gui/frame.h"
#include "plugin/param.h"
#include "soravel_product.h"

namespace {

class TLv2Ui : public IEditorPlugin {
 public:
  TLv2Ui(LV2UI_Write_Function w, LV2UI_Controller c, const LV2UI_Touch* t, const LV2_URID_Map* map)
      : write(w), controller(c), touch(t), scaleOption(map) {
    for (int i = 0; i < kNumParams; ++i) params[i].Init(kParamTable[i]);
  }

  // Makes the editor in `parent`, at the zoom `options` announce; false when no
  // window could be made.
  bool Open(void* parent, const LV2UI_Resize* hostResize, const LV2_Options_Option* options) {
    resize = hostResize;
    editor.reset(new (std::nothrow) Editor(this));
    if (!editor) return false;
    if (const float f = scaleOption.Find(options); f > 0.0f) Announce(f);
    if (!editor->open(parent) || !editor->getFrame()) return false;
    // In window pixels, at the zoom it opened at (the frame's view is in 1x units).
    const CFrame* frame = editor->getFrame();
    if (resize && resize->ui_resize)
      resize->ui_resize(resize->handle, frame->windowWidth(), frame->windowHeight());
    return true;
  }
  void* Widget() const { return editor->getFrame()->platformWindow()->nativeHandle(); }

  void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (format != 0 || size != sizeof(float) || !buffer) return;  // only float values
    float v;
    std::memcpy(&v, buffer, sizeof v);
    if (port >= kPortMeter && port < kNumPorts) {
      meters[port - kPortMeter] = v >= 0.0f ? v : 0.0f;  // NaN and negatives read as silence
    } else if (port < kPortAudioIn) {
      const int i = static_cast<int>(port);
      params[i].SetValue(PhysicalValue(i, v));
      editor->setParameter(i, params[i].Normalized());
    }
  }

  // The options interface: ui:scaleFactor is the one option known.
  uint32_t GetOptions(LV2_Options_Option* options) const {
    uint32_t status = lv2options::kSuccess;
    for (LV2_Options_Option* o = options; o && o->key != 0; ++o)
      status |= scaleOption.Answer(*o, hostScale);
    return status;
  }
  uint32_t SetOptions(const LV2_Options_Option* options) {
    uint32_t status = lv2options::kSuccess;
    for (const LV2_Options_Option* o = options; o && o->key != 0; ++o) {
      float f = 0.0f;
      const uint32_t read = scaleOption.Read(*o, f);
      if (read == lv2options::kSuccess) Announce(f);
      status |= read;
    }
    return status;
  }

  int Idle() {
    editor->idle();
    return editor->getFrame() ? 0 : 1;  // the window is gone: the UI is closed
  }

  // IEditorPlugin.
  float Normalized(int index) const override { return Valid(index) ? params[index].Normalized() : 0.0f; }
  void DisplayText(int index, char* text, size_t size) const override {
    if (Valid(index)) params[index].DisplayWithLabel(text, size);
    else if (size > 0) text[0] = '\0';
  }
  void BeginEdit(int index) override {
    if (Valid(index) && touch && touch->touch) touch->touch(touch->handle, index, true);
  }
  void PerformEdit(int index, float normalized) override {
    if (!Valid(index) || !(normalized >= 0.0f && normalized <= 1.0f)) return;
    params[index].SetNormalized(normalized);
    const float v = PortValue(index, params[index].Value());
    write(controller, kPortControl + index, sizeof v, 0, &v);
    // Hosts need not echo a UI's own write: show it now.
    editor->setParameter(index, params[index].Normalized());
  }
  void EndEdit(int index) override {
    if (Valid(index) && touch && touch->touch) touch->touch(touch->handle, index, false);
  }
  float Meter(int i) const override { return i >= 0 && i < 4 ? meters[i] : 0.0f; }
  bool ResizeWindow(int width, int height) override {
    return resize && resize->ui_resize && resize->ui_resize(resize->handle, width, height) == 0;
  }

 private:
  static bool Valid(int index) { return index >= 0 && index < kNumParams; }
  // Open, the editor changes its zoom to it unless the user chose one.
  void Announce(float factor) {
    if (editor->setContentScale(factor)) hostScale = factor;
  }

  LV2UI_Write_Function write;
  LV2UI_Controller controller;
  const LV2UI_Touch* touch;
  const LV2UI_Resize* resize = nullptr;  // when the host offers it
  const TScaleOption scaleOption;
  float hostScale = 0.0f;  // the scale factor taken last, 0 for none; options' get points here
  TParam params[kNumParams];
  float meters[4] = {};
  std::unique_ptr<Editor> editor;  // last: it goes first, while the records exist
};

const void* FeatureData(const LV2_Feature* const* features, const char* uri) {
  for (int i = 0; features && features[i]; ++i)
    if (features[i]->URI && std::strcmp(features[i]->URI, uri) == 0) return features[i]->data;
  return nullptr;
}

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  if (!pluginUri || std::strcmp(pluginUri, SORAVEL_LV2_URI) != 0 || !write || !widget) return nullptr;
  void* parent = const_cast<void*>(FeatureData(features, lv2uri::kParent));
  if (!parent) return nullptr;  // nowhere to show the editor
  const auto* touch = static_cast<const LV2UI_Touch*>(FeatureData(features, lv2uri::kTouch));
  const auto* map = static_cast<const LV2_URID_Map*>(FeatureData(features, lv2uri::kUridMap));
  auto* ui = new (std::nothrow) TLv2Ui(write, controller, touch, map);
  if (!ui) return nullptr;
  if (!ui->Open(parent, static_cast<const LV2UI_Resize*>(FeatureData(features, lv2uri::kResize)),
                static_cast<const LV2_Options_Option*>(FeatureData(features, lv2uri::kOptions)))) {
    delete ui;  // no display, or not a window
    return nullptr;
  }
  *widget = ui->Widget();
  return ui;
}

void Cleanup(LV2UI_Handle h) { delete static_cast<TLv2Ui*>(h); }

void PortEvent(LV2UI_Handle h, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  static_cast<TLv2Ui*>(h)->PortEvent(port, size, format, buffer);
}

int Idle(LV2UI_Handle h) { return static_cast<TLv2Ui*>(h)->Idle(); }

const LV2UI_Idle_Interface kIdle = {Idle};

uint32_t GetOptions(void* h, LV2_Options_Option* options) {
  return static_cast<const TLv2Ui*>(h)->GetOptions(options);
}
uint32_t SetOptions(void* h, const LV2_Options_Option* options) {
  return static_cast<TLv2Ui*>(h)->SetOptions(options);
}

const LV2_Options_Interface kOptionsInterface = {GetOptions, SetOptions};

const void* ExtensionData(const char* uri) {
  if (!uri) return nullptr;
  if (std::strcmp(uri, lv2uri::kIdleInterface) == 0) return &kIdle;
  if (std::strcmp(uri, lv2uri::kOptionsInterface) == 0) return &kOptionsInterface;
  return nullptr;
}

const LV2UI_Descriptor kDescriptor = {SORAVEL_LV2_URI "#ui", Instantiate, Cleanup, PortEvent,
                                      ExtensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
