// The shell's pieces the host cannot reach yet: the editor seam, host
// notifications, and reading typed values.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "plugin/aeffeditor.h"
#include "plugin/vst_plugin.h"

namespace {
struct Calls {
  int automate = 0, beginEdit = 0, endEdit = 0, idle = 0;
  float lastValue = -1;
};
Calls calls;

VstIntPtr Master(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float opt) {
  if (opcode == audioMasterAutomate) {
    ++calls.automate;
    calls.lastValue = opt;
  }
  if (opcode == audioMasterBeginEdit) ++calls.beginEdit;
  if (opcode == audioMasterEndEdit) ++calls.endEdit;
  if (opcode == audioMasterIdle) ++calls.idle;
  return 1;
}

struct FakeEditor : AEffEditor {
  explicit FakeEditor(int* destroyed) : destroyed(destroyed) {}
  ~FakeEditor() override { ++*destroyed; }
  bool getRect(ERect** r) override {
    *r = &rect;
    return true;
  }
  bool open(void*) override { return opened = true; }
  void close() override { opened = false; }
  bool isOpen() override { return opened; }
  void redraw() override { ++redraws; }
  int keyDown(VstKeyCode& k) override { return k.character == 'x'; }
  void setParameter(int index, float value) override { changes.push_back({index, value}); }
  int* destroyed;
  ERect rect{0, 0, 491, 773};
  bool opened = false;
  int redraws = 0;
  std::vector<std::pair<int, float>> changes;
};
}  // namespace

TEST(EditorSeam, EditorIsOwnedAnnouncedAndFollowsParameters) {
  int destroyed = 0;
  auto* plugin = new VstPlugin(Master);
  AEffect* e = plugin->getAeffect();
  auto* editor = new FakeEditor(&destroyed);
  plugin->setEditor(editor);
  EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsHasEditor);

  ERect* rect = nullptr;
  EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 1);
  EXPECT_EQ(rect->right, 773);
  e->dispatcher(e, effEndSetProgram, 0, 0, nullptr, 0);
  EXPECT_EQ(editor->redraws, 0);  // no window yet
  EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0), 1);
  e->dispatcher(e, effEndSetProgram, 0, 0, nullptr, 0);
  EXPECT_EQ(editor->redraws, 1);
  EXPECT_EQ(e->dispatcher(e, effEditKeyDown, 'x', 0, nullptr, 0), 1);
  EXPECT_EQ(e->dispatcher(e, effEditKeyDown, 'y', 0, nullptr, 0), 0);

  e->setParameter(e, 9, 0.25f);
  ASSERT_EQ(editor->changes.size(), 1u);
  EXPECT_EQ(editor->changes[0], std::make_pair(9, 0.25f));
  e->setParameter(e, 9, 2.0f);  // refused: the editor hears nothing
  EXPECT_EQ(editor->changes.size(), 1u);
  e->dispatcher(e, effSetProgram, 0, 3, nullptr, 0);
  EXPECT_EQ(editor->changes.size(), 19u);  // every parameter of the new program

  e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
  EXPECT_FALSE(editor->opened);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
  EXPECT_EQ(destroyed, 1);
}

// An editor closing its window on destruction, as a host may close the
// instance without closing the window first.
struct ReadingEditor : AEffEditor {
  explicit ReadingEditor(VstPlugin* p) : plugin(p) {}
  ~ReadingEditor() override {
    seenValue = plugin->CurrentParam(kSize)->Value();
    seenMeter = plugin->Meter(0);
    plugin->setEditor(nullptr);  // a framework may unhook itself
  }
  VstPlugin* plugin;
  static inline float seenValue = -1, seenMeter = -1;
};

TEST(EditorSeam, EditorIsDestroyedWhileThePluginIsWhole) {
  auto* plugin = new VstPlugin(Master);
  plugin->setEditor(new ReadingEditor(plugin));
  AEffect* e = plugin->getAeffect();
  e->dispatcher(e, effClose, 0, 0, nullptr, 0);
  EXPECT_EQ(ReadingEditor::seenValue, 50.0f);
  EXPECT_EQ(ReadingEditor::seenMeter, 0.0f);
}

TEST(EditorSeam, ClearingTheEditorClearsTheFlag) {
  int destroyed = 0;
  VstPlugin plugin(Master);
  plugin.setEditor(new FakeEditor(&destroyed));
  plugin.setEditor(nullptr);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(plugin.getAeffect()->flags & effFlagsHasEditor, 0);
}

TEST(HostCalls, AutomationIsReportedOnlyForAcceptedValues) {
  VstPlugin plugin(Master);
  calls = {};
  plugin.setParameterAutomated(4, 0.5f);
  EXPECT_EQ(calls.automate, 1);
  EXPECT_EQ(calls.lastValue, 0.5f);
  EXPECT_EQ(plugin.getParameter(4), 0.5f);
  plugin.setParameterAutomated(4, NAN);
  plugin.setParameterAutomated(4, 1.5f);
  plugin.setParameterAutomated(18, 0.5f);
  EXPECT_EQ(calls.automate, 1);
  plugin.beginEdit(4);
  plugin.endEdit(4);
  plugin.masterIdle();
  EXPECT_EQ(calls.beginEdit, 1);
  EXPECT_EQ(calls.endEdit, 1);
  EXPECT_EQ(calls.idle, 1);
}

TEST(HostCalls, NoCallbackMeansNoCall) {
  VstPlugin plugin(nullptr);
  EXPECT_EQ(plugin.getMasterVersion(), 1);
  plugin.setParameterAutomated(1, 0.5f);
  plugin.masterIdle();
  EXPECT_FALSE(plugin.beginEdit(0));
  EXPECT_EQ(plugin.getParameter(1), 0.5f);
}

TEST(CurrentParam, FollowsTheCurrentProgram) {
  VstPlugin plugin(Master);
  EXPECT_EQ(plugin.CurrentParam(-1), nullptr);
  EXPECT_EQ(plugin.CurrentParam(18), nullptr);
  plugin.setProgram(15);
  ASSERT_NE(plugin.CurrentParam(7), nullptr);
  EXPECT_EQ(plugin.CurrentParam(7)->Value(), 2.0f);
  EXPECT_STREQ(plugin.CurrentParam(7)->label, "sec");
}

TEST(TypedValues, ParseByKind) {
  VstPlugin plugin(Master);
  TParam& crossover = *plugin.CurrentParam(kCrossover);
  crossover.Parse("2k");
  EXPECT_EQ(crossover.Value(), 50.0f);
  crossover.Parse("1.5 kHz");
  EXPECT_EQ(crossover.Value(), 1500.0f);
  crossover.Parse("  +700Hz");
  EXPECT_EQ(crossover.Value(), 700.0f);
  crossover.Parse("1e9");
  EXPECT_EQ(crossover.Value(), 2000.0f);
  crossover.Parse("abc");
  EXPECT_EQ(crossover.Value(), 50.0f);

  TParam& level = *plugin.CurrentParam(kDryLevel);
  level.Parse("-oo");
  EXPECT_EQ(level.Value(), -200.0f);
  level.Parse("-6.5 dB");
  EXPECT_EQ(level.Value(), -6.5f);
  level.Parse("hello");
  EXPECT_EQ(level.Value(), 0.0f);
  level.Parse(nullptr);
  EXPECT_EQ(level.Value(), 0.0f);

  TParam& decay = *plugin.CurrentParam(kDecayTime);
  decay.Parse("500");
  EXPECT_EQ(decay.Value(), 2.0f);
  decay.Parse("-10");  // the magnitude counts
  EXPECT_EQ(decay.Value(), 1.0f);
  decay.Parse("x");
  EXPECT_EQ(decay.Value(), -1.0f);

  TParam& size = *plugin.CurrentParam(kSize);
  size.Parse("42.5");
  EXPECT_EQ(size.Value(), 42.5f);
  size.Parse("4,5");  // only a full stop is a decimal mark
  EXPECT_EQ(size.Value(), 4.0f);
  size.Parse(".5");
  EXPECT_EQ(size.Value(), 0.5f);
}

// Numbers beyond the double range are limited like any other out-of-range
// number: they used to read as 0 (0 ms, 0 dB instead of -oo).
TEST(TypedValues, NumbersBeyondTheFloatRangeAreLimited) {
  VstPlugin plugin(Master);
  const struct {
    int index;
    const char* text;
    float value;
  } cases[] = {
      {kDryLevel, "1e999", 0.0f},          {kDryLevel, "-1e999 dB", -200.0f},
      {kDryLevel, "-1e400", -200.0f},      {kDryLevel, "-1e39", -200.0f},
      {kPredelayLeft, "1e999", 200.0f},    {kPredelayLeft, "-1e999 ms", 0.0f},
      {kPredelayLeft, "1e-999", 0.0f},     {kDecayTime, "1e999 sec", 2.0f},
      {kDecayTime, "-1e999", 2.0f},        {kDecayTime, "1e-999", -1.0f},
      {kCrossover, "1e999 kHz", 2000.0f},  {kCrossover, "-1e999", 50.0f},
      {kCrossover, "0.000e99999999999999", 50.0f},
      {kSize, "1e+99999999999999999999", 100.0f},
      {kSize, "100000000000000000000000000000000000000000000000000000000000000000000000000000"
              "000000000000000000000000000000000000000000000000000000000000000000000000000000"
              "000000000000000000000000000000000000000000000000000000000000000000000000000000"
              "000000000000000000000000000000000000000000000000000000000000000000000000000000",
       100.0f},
      {kSize, "0.00000000000000000000000000000000000000000000000000000000000000000000000000000"
              "000000000000000000000000000000000000000000000000000000000000000000000000000000"
              "000000000000000000000000000000000000000000000000000000000000000000000000000000"
              "000000000000000000000000000000000000000000000000000000000000000000000000000001e2",
       0.0f},
  };
  for (const auto& c : cases) {
    TParam& p = *plugin.CurrentParam(c.index);
    p.Parse("50");  // a value the case must move
    p.Parse(c.text);
    EXPECT_EQ(p.Value(), c.value) << p.name << " \"" << c.text << "\"";
  }
}

TEST(TypedValues, NumberFormatting) {
  const struct {
    float v;
    const char* text;
  } cases[] = {{0.0f, "0.00"},     {9.994f, "9.99"},  {9.996f, "10.0"},   {-9.996f, "-10.0"},
               {-0.004f, "0.00"},  {-0.006f, "-0.01"}, {12.25f, "12.2"},  {12.35f, "12.4"},
               {99.96f, "100.0"},  {100.0f, "100"},   {150.5f, "150"},    {151.5f, "152"},
               {-199.99f, "-200"}, {999.6f, "1000"}};
  for (const auto& c : cases) {
    char buf[8];
    FormatNumber(c.v, buf, sizeof buf);
    EXPECT_STREQ(buf, c.text) << c.v;
  }
  char small[3] = {'x', 'x', 'x'};
  FormatNumber(-123.0f, small, 3);
  EXPECT_STREQ(small, "-1");
}

TEST(Meters, SuspendZeroesWhatTheEditorShows) {
  auto plugin = std::make_unique<VstPlugin>(Master);
  AEffect* e = plugin.release()->getAeffect();
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  e->dispatcher(e, effSetBlockSize, 0, 64, nullptr, 0);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
  std::vector<float> l(64, 0.5f), r(64, -0.25f), ol(64), orr(64);
  float* in[2] = {l.data(), r.data()};
  float* out[2] = {ol.data(), orr.data()};
  e->processReplacing(e, in, out, 64);
  auto* self = static_cast<VstPlugin*>(e->object);
  EXPECT_GT(self->Meter(0), 0.0f);
  EXPECT_GT(self->Meter(3), 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);  // resume leaves them
  EXPECT_GT(self->Meter(0), 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(self->Meter(i), 0.0f);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0);
}
