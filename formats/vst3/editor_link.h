#pragma once
// The editor on the VST 3 controller: what IEditorPlugin asks, answered by the
// controller (values, texts, meters) and its open view (window sizes).
#include "editor/editor_plugin.h"

namespace vst3 {

class TController;

class TEditorLink final : public IEditorPlugin {
 public:
  explicit TEditorLink(TController* c) : controller(c) {}

  float Normalized(int index) const override;
  void DisplayText(int index, char* text, size_t size) const override;
  void BeginEdit(int index) override;
  void PerformEdit(int index, float normalized) override;
  void EndEdit(int index) override;
  float Meter(int i) const override;
  bool ResizeWindow(int width, int height) override;

 private:
  TController* controller;
};

}  // namespace vst3
