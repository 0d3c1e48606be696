// Time of one paint of the editor on the portable raster: the level meter's area, as a
// meter timer tick repaints it with the bars lit, and the whole window for comparison.
#include <benchmark/benchmark.h>

#include <vector>

#include "editor/editor.h"
#include "gui/platform/raster/raster_platform.h"
#include "plugin/vst_plugin.h"

namespace {

VstIntPtr Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

int gParent;  // any non-null handle is a parent to the raster window system

// The plug-in with its editor open and painted, the meters lit by a loud block.
struct OpenEditor {
  VstPlugin plugin{Host};
  Editor* editor = dynamic_cast<Editor*>(plugin.getEditor());
  raster::RasterWindow* window = nullptr;

  OpenEditor() {
    plugin.setSampleRate(44100.0f);
    plugin.setBlockSize(512);
    plugin.resume();
    if (!editor || !editor->open(&gParent)) return;
    window = static_cast<raster::RasterWindow*>(editor->getFrame()->platformWindow());
    std::vector<float> in(512), out(512);
    for (int i = 0; i < 512; ++i) in[i] = (i % 64 < 32 ? 0.7f : -0.7f);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data()};
    plugin.processReplacing(ins, outs, 512);
    editor->idle();
    window->paint();
  }
  ~OpenEditor() {
    if (editor) editor->close();
  }
};

void MeterTick(benchmark::State& state) {
  OpenEditor e;
  if (!e.window) {
    state.SkipWithError("the editor did not open");
    return;
  }
  for (auto _ : state) {
    e.editor->LevelMeter()->invalidate();
    e.window->paint();
  }
  state.counters["pixels"] = 63 * 257;
}

void WholeWindow(benchmark::State& state) {
  OpenEditor e;
  if (!e.window) {
    state.SkipWithError("the editor did not open");
    return;
  }
  for (auto _ : state) {
    e.editor->getFrame()->invalidate();
    e.window->paint();
  }
}

BENCHMARK(MeterTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(WholeWindow)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
