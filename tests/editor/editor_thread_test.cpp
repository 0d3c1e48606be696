// Automation from a second thread while the GUI thread runs the editor (run under
// ThreadSanitizer too): no data race, and afterwards every control shows the plug-in's
// final values.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "editor/editor.h"
#include "editor/knob_mapping.h"
#include "editor/layout.h"
#include "gui/platform/raster/raster_platform.h"
#include "plugin/vst_plugin.h"

namespace {

VstIntPtr QuietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

int gParent;

TEST(EditorThreads, AutomationWhileTheEditorPaintsLosesNothing) {
  auto& raster = raster::RasterPlatform::instance();
  raster.useManualClock(1000);
  auto* plugin = new VstPlugin(QuietHost);
  auto* editor = dynamic_cast<Editor*>(plugin->getEditor());
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(editor->open(&gParent));
  auto& window = *static_cast<raster::RasterWindow*>(editor->getFrame()->platformWindow());

  std::atomic<bool> done{false};
  std::thread automation([&] {
    for (int round = 0; round < 3000; ++round) {
      if (round % 500 == 0) plugin->setProgram(round / 500 % kNumPrograms);
      for (int i = 0; i < kNumParams; ++i)
        plugin->setParameter(i, static_cast<float>((round * 7 + i * 13) % 101) / 100.0f);
    }
    plugin->setProgram(3);
    plugin->setParameter(kDecayFreeze, 1.0f);
    plugin->setParameter(kSize, 0.37f);
    done.store(true, std::memory_order_release);
  });
  // The GUI thread: idles, ticks the editor's timer and paints, as a host's would.
  for (int step = 0; !done.load(std::memory_order_acquire) || step < 10; ++step) {
    if (step % 2) editor->idle();
    else raster.advance(20);
    window.paint();
  }
  automation.join();
  raster.advance(20);  // the last changes arrive at the next tick
  window.paint();

  for (const TKnobPlace& k : kKnobPlaces) {
    const TParam* p = plugin->CurrentParam(k.tag);
    const TKnobMapping m(k.curve, kParamTable[k.tag].logarithmic, p->min, p->max);
    EXPECT_FLOAT_EQ(editor->Knob(k.tag)->getValue(), m.ToPosition(plugin->getParameter(k.tag)))
        << k.tag;
    char value[64], label[64], text[160];
    plugin->getParameterDisplay(k.tag, value);
    plugin->getParameterLabel(k.tag, label);
    std::snprintf(text, sizeof text, "%s %s", value, label);
    // Frequencies show Hz or kHz by their value; the rest their label.
    if (p->kind != EParamKind::kFrequency) {
      EXPECT_STREQ(editor->Display(k.tag)->getText(), text) << k.tag;
    } else {
      EXPECT_EQ(std::string(editor->Display(k.tag)->getText()).rfind(value, 0), 0u) << k.tag;
    }
  }
  EXPECT_EQ(editor->FreezeSwitch()->getValue(), 1.0f);
  EXPECT_EQ(editor->FreezeText()->getValue(), 1.0f);
  EXPECT_NEAR(editor->Knob(kSize)->getValue(), 0.37f, 1e-6f);
  delete plugin;
  raster.useRealClock();
}

}  // namespace
