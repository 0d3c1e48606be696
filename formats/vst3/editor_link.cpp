#include "formats/vst3/editor_link.h"

#include "formats/vst3/controller.h"
#include "formats/vst3/view.h"
#include "plugin/param.h"

namespace vst3 {

float TEditorLink::Normalized(int index) const { return controller->Value(index); }

void TEditorLink::DisplayText(int index, char* text, size_t size) const {
  if (index < 0 || index >= kNumParams) {
    if (text && size > 0) text[0] = '\0';
    return;
  }
  TParam p;
  p.Init(kParamTable[index]);
  p.SetNormalized(controller->Value(index));
  p.DisplayWithLabel(text, size);
}

void TEditorLink::BeginEdit(int index) { controller->BeginEdit(index); }

void TEditorLink::PerformEdit(int index, float normalized) { controller->PerformEdit(index, normalized); }

void TEditorLink::EndEdit(int index) { controller->EndEdit(index); }

float TEditorLink::Meter(int i) const { return controller->Meter(i); }

bool TEditorLink::ResizeWindow(int width, int height) {
  TView* view = controller->OpenView();
  return view && view->RequestSize(width, height);
}

}  // namespace vst3
