// The editor on a VST 2.x effect: the effect's calls behind IEditorPlugin, and
// the CreateEditor that Soravel's VST 2.x binaries link.
#include "editor/editor.h"
#include "editor/editor_plugin.h"
#include "plugin/editor_factory.h"
#include "plugin/vst_plugin.h"

namespace {

class TVstEditorPlugin : public IEditorPlugin {
 public:
  explicit TVstEditorPlugin(VstPlugin* p) : plugin(p) {}

  float Normalized(int index) const override { return plugin->getParameter(index); }
  void DisplayText(int index, char* text, size_t size) const override {
    if (const TParam* p = plugin->CurrentParam(index)) p->DisplayWithLabel(text, size);
    else if (size > 0) text[0] = '\0';
  }
  void BeginEdit(int index) override { plugin->beginEdit(index); }
  void PerformEdit(int index, float normalized) override {
    plugin->setParameterAutomated(index, normalized);
  }
  void EndEdit(int index) override { plugin->endEdit(index); }
  float Meter(int i) const override { return plugin->Meter(i); }
  bool ResizeWindow(int width, int height) override { return plugin->sizeWindow(width, height); }

 private:
  VstPlugin* plugin;
};

// The link comes first among the bases, so that it exists before the editor
// that holds a pointer to it.
class VstEditor : private TVstEditorPlugin, public Editor {
 public:
  explicit VstEditor(VstPlugin* p) : TVstEditorPlugin(p), Editor(this, p) {}
};

}  // namespace

AEffEditor* CreateEditor(AudioEffect* effect) {
  auto* plugin = dynamic_cast<VstPlugin*>(effect);
  return plugin ? new VstEditor(plugin) : nullptr;
}
