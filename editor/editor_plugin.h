#pragma once
// What the editor needs of its plug-in, whatever the plug-in format behind it:
// VST 2.x calls the effect directly (editor/vst2_editor.cpp), LV2 writes ports
// and hears of values through port events (formats/lv2/).
//
// Parameters cross as normalised values (0..1), indices as parameter indices
// (0..17; anything else is ignored, reads 0 or an empty text). Every call comes
// on the editor's GUI thread. A performed edit comes back, from the plug-in,
// through the editor's setParameter, like any other change.
#include <cstddef>

class IEditorPlugin {
 public:
  virtual ~IEditorPlugin() = default;

  virtual float Normalized(int index) const = 0;
  // The value with its unit as the editor shows it ("1.50 sec", "Off "),
  // cut to `size` bytes with the terminating zero.
  virtual void DisplayText(int index, char* text, size_t size) const = 0;

  // One gesture: begin, any number of performs, end.
  virtual void BeginEdit(int index) = 0;
  virtual void PerformEdit(int index, float normalized) = 0;
  virtual void EndEdit(int index) = 0;

  // Peak level (linear): 0 input left, 1 input right, 2 output left, 3 output right.
  virtual float Meter(int i) const = 0;

  // Asks the host to make the editor's window this size (a zoom change);
  // false when the host refuses or cannot resize it.
  virtual bool ResizeWindow(int width, int height) = 0;
};
