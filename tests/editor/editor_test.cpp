// The editor on the portable raster: built by the plug-in, opened into a
// window, driven by injected mouse, wheel, key and text events.
#include "editor/editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "editor/layout.h"
#include "gui/platform/raster/raster_platform.h"
#include "gui/platform/raster/shell_raster.h"
#include "plugin/vst_plugin.h"

namespace {

std::vector<std::string> gHostCalls;

VstIntPtr Host(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterAutomate: gHostCalls.push_back("automate " + std::to_string(index)); break;
    case audioMasterBeginEdit: gHostCalls.push_back("begin " + std::to_string(index)); break;
    case audioMasterEndEdit: gHostCalls.push_back("end " + std::to_string(index)); break;
    default: break;
  }
  return 0;
}

int gParent;  // any non-null handle is a parent to the raster window system

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gHostCalls.clear();
    raster::RasterPlatform::instance().useManualClock(1000);
    plugin = new VstPlugin(Host);
    editor = dynamic_cast<Editor*>(plugin->getEditor());
    ASSERT_NE(editor, nullptr);
  }
  void TearDown() override {
    delete plugin;
    raster::RasterPlatform::instance().setButtonState(0);
    raster::RasterPlatform::instance().useRealClock();
  }
  void Open() {
    ASSERT_TRUE(editor->open(&gParent));
    Paint();
  }
  raster::RasterWindow& Window() {
    return *static_cast<raster::RasterWindow*>(editor->getFrame()->platformWindow());
  }
  void Paint() {
    editor->idle();
    Window().paint();
  }
  static CPosition Centre(int tag) {
    for (const TKnobPlace& k : kKnobPlaces)
      if (k.tag == tag) return CPosition(k.left + k.size / 2, k.top + k.size / 2);
    return {};
  }
  // A click or drag with the modifier keys held.
  void Down(CPosition p, uint32_t buttons) {
    raster::RasterPlatform::instance().setButtonState(buttons);
    Window().mouseDown(p.h, p.v, buttons);
  }
  void Up(CPosition p, uint32_t buttons) {
    raster::RasterPlatform::instance().setButtonState(0);
    Window().mouseUp(p.h, p.v, buttons);
  }
  VstPlugin* plugin = nullptr;
  Editor* editor = nullptr;
};

}  // namespace

// Made with the plug-in, without a window: the rectangle is the background's size.
TEST_F(EditorTest, RectangleBeforeOpening) {
  EXPECT_TRUE(plugin->getAeffect()->flags & effFlagsHasEditor);
  ERect* r = nullptr;
  ASSERT_TRUE(editor->getRect(&r));
  EXPECT_EQ(r->right - r->left, 773);
  EXPECT_EQ(r->bottom - r->top, 491);
  EXPECT_EQ(editor->getFrame(), nullptr);
  editor->setParameter(3, 0.2f);  // closed: nothing happens
}

// After opening every control shows the plug-in's current state.
TEST_F(EditorTest, ControlsShowTheCurrentValues) {
  Open();
  EXPECT_EQ(editor->getFrame()->viewCount(), 17 + 17 + 1 + 1 + 1 + 1);
  EXPECT_FLOAT_EQ(editor->Knob(0)->getValue(), 1.0f);
  EXPECT_NEAR(editor->Knob(3)->getValue(), std::pow(0.955f, std::pow(2.0f, 2.88f)), 1e-5f);
  EXPECT_NEAR(editor->Knob(7)->getValue(), 0.392f, 1e-6f);
  EXPECT_NEAR(editor->Knob(12)->getValue(), std::log(200.0f / 50.0f) / std::log(40.0f), 1e-5f);
  EXPECT_STREQ(editor->Display(7)->getText(), "1.50 sec");
  EXPECT_STREQ(editor->Display(13)->getText(), "10.0 kHz");
  EXPECT_STREQ(editor->Display(12)->getText(), "200 Hz");
  EXPECT_STREQ(editor->Display(3)->getText(), "-9.00 dB");
  EXPECT_EQ(editor->FreezeSwitch()->getValue(), 0.0f);
  EXPECT_EQ(globalKnobMode(), kLinearMode);
  // The background is drawn: a pixel of the panel is not black.
  EXPECT_NE(Window().surface().pixel(20, 20) & 0xffffff, 0u);
}

// A program change moves every knob and the switch and refreshes every display.
TEST_F(EditorTest, ProgramChangeMovesEveryControl) {
  Open();
  plugin->setProgram(15);
  plugin->setParameter(kDecayFreeze, 1.0f);
  Paint();  // changes from the host reach the controls at the next idle
  for (const TKnobPlace& k : kKnobPlaces) {
    const TKnobMapping m(k.curve, kParamTable[k.tag].logarithmic, plugin->CurrentParam(k.tag)->min, plugin->CurrentParam(k.tag)->max);
    EXPECT_NEAR(editor->Knob(k.tag)->getValue(), m.ToPosition(plugin->getParameter(k.tag)), 1e-6f) << k.tag;
  }
  EXPECT_EQ(editor->FreezeSwitch()->getValue(), 1.0f);
  EXPECT_STREQ(editor->Display(7)->getText(), "100 sec");
  EXPECT_STREQ(editor->Display(3)->getText(), "-oo dB");
}

// A drag moves the knob, changes the parameter and brackets the change for the host.
TEST_F(EditorTest, KnobDragReachesThePluginAndTheHost) {
  Open();
  const CPosition c = Centre(kSize);
  Down(c, kLButton);
  Window().mouseMove(c.h, c.v - 50, kLButton);
  Up(CPosition(c.h, c.v - 50), kLButton);
  EXPECT_NEAR(plugin->getParameter(kSize), 0.75f, 1e-5f);  // 50 of 200 pixels
  ASSERT_GE(gHostCalls.size(), 3u);
  EXPECT_EQ(gHostCalls.front(), "begin 9");
  EXPECT_EQ(gHostCalls[1], "automate 9");
  EXPECT_EQ(gHostCalls.back(), "end 9");
  EXPECT_NEAR(editor->Knob(kSize)->getValue(), 0.75f, 1e-5f);  // put back where it was left
}

// Control-click resets a level knob to the middle of its travel: 0.5^(1/7.3615).
TEST_F(EditorTest, ControlClickResetsAKnob) {
  Open();
  Down(Centre(kDryLevel), kLButton | kControl);
  Up(Centre(kDryLevel), kLButton | kControl);
  EXPECT_NEAR(plugin->getParameter(kDryLevel), 0.9101f, 1e-4f);
  EXPECT_NEAR(editor->Knob(kDryLevel)->getValue(), 0.5f, 1e-5f);
}

TEST_F(EditorTest, WheelStepsAKnob) {
  Open();
  const float before = editor->Knob(kWide)->getValue();
  Window().wheel(Centre(kWide).h, Centre(kWide).v, 120, 0);
  EXPECT_NEAR(editor->Knob(kWide)->getValue(), before + 0.1f, 1e-5f);
  EXPECT_NEAR(plugin->getParameter(kWide), before + 0.1f, 1e-5f);
  EXPECT_EQ(gHostCalls.front(), "begin 10");
}

// Typed values go through the parameter's own reading rules.
TEST_F(EditorTest, TypedValues) {
  Open();
  struct Case {
    int tag;
    const char* text;
    float expected;
  } cases[] = {
      {kDecayTime, "3 sec", (std::log10(3.0f) + 1.0f) / 3.0f},
      {kEqLowFreq, "1.5 kHz", (1500.0f - 30.0f) / (3000.0f - 30.0f)},
      {kEqLowFreq, "no number", 0.0f},
      {kDryLevel, "no number", 1.0f},
      {kERLevel, "-oo", 0.0f},
  };
  for (const Case& c : cases) {
    TZDisplay* d = editor->Display(c.tag);
    const CBounds r = d->getViewSize();
    Down(CPosition(r.left + 5, r.top + 5), kLButton);
    Up(CPosition(r.left + 5, r.top + 5), kLButton);
    ASSERT_TRUE(d->isEditing()) << c.text;
    Window().typeText(c.text);
    Window().focusedEntry()->pressReturn();
    EXPECT_FALSE(d->isEditing());
    EXPECT_NEAR(plugin->getParameter(c.tag), c.expected, 1e-5f) << c.text;
    Paint();
  }
}

// Any left click toggles the switch; a right click does nothing.
TEST_F(EditorTest, FreezeSwitch) {
  Open();
  const CPosition p(380, 230);
  Down(p, kRButton);
  Up(p, kRButton);
  EXPECT_EQ(plugin->getParameter(kDecayFreeze), 0.0f);
  Down(p, kLButton);
  Up(p, kLButton);
  EXPECT_EQ(plugin->getParameter(kDecayFreeze), 1.0f);
  Paint();
  EXPECT_STREQ(editor->FreezeText()->isDirty() ? "dirty" : "clean", "clean");
  Down(CPosition(360, 260), kLButton);
  Up(CPosition(360, 260), kLButton);
  EXPECT_EQ(plugin->getParameter(kDecayFreeze), 0.0f);
  EXPECT_EQ(gHostCalls.front(), "begin 8");
  EXPECT_EQ(gHostCalls.back(), "end 8");
}

// The meter follows the engine's levels on its own timer and falls back after.
TEST_F(EditorTest, MeterFollowsTheAudio) {
  Open();
  const uint32_t unlit = Window().surface().pixel(650, 200);
  std::vector<float> loud(512, 0.9f), out(512);
  float* in[2] = {loud.data(), loud.data()};
  float* outs[2] = {out.data(), out.data()};
  plugin->processReplacing(in, outs, 512);
  raster::RasterPlatform::instance().advance(20);  // one timer tick invalidates the meter
  Window().paint();
  EXPECT_NE(Window().surface().pixel(650, 200), unlit);
  std::vector<float> silence(512, 0.0f);
  float* quiet[2] = {silence.data(), silence.data()};
  for (int i = 0; i < 100; ++i) plugin->processReplacing(quiet, outs, 512);
  for (int tick = 0; tick < 60; ++tick) {
    raster::RasterPlatform::instance().advance(20);
    Window().paint();
  }
  EXPECT_EQ(Window().surface().pixel(650, 200), unlit);
}

// The about view: shown by a left click on the logo, hidden by its close mark or Escape.
TEST_F(EditorTest, AboutViewOpensLinksAndCloses) {
  Open();
  TZAbout* a = editor->About();
  Down(CPosition(100, 60), kRButton);  // a right click is not taken
  Up(CPosition(100, 60), kRButton);
  EXPECT_FALSE(a->aboutShown());
  Window().mouseMove(310, 60, 0);
  EXPECT_EQ(Window().cursor(), 0);  // the right edge of the logo is outside for the cursor
  Window().mouseMove(309, 60, 0);
  EXPECT_EQ(Window().cursor(), 9);
  Down(CPosition(100, 60), kLButton);
  Up(CPosition(100, 60), kLButton);
  ASSERT_TRUE(a->aboutShown());
  EXPECT_EQ(editor->getFrame()->getModalView(), a->aboutView());
  Window().mouseMove(100, 60, 0);
  EXPECT_EQ(Window().cursor(), 0);  // the logo is under the about view now
  Window().mouseMove(170, 80, 0);
  EXPECT_EQ(Window().cursor(), 9);

  // While it is shown the knobs below take no clicks.
  const float size = plugin->getParameter(kSize);
  Down(Centre(kSize), kLButton);
  Window().mouseMove(Centre(kSize).h, Centre(kSize).v - 40, kLButton);
  Up(Centre(kSize), kLButton);
  EXPECT_EQ(plugin->getParameter(kSize), size);

  raster::ClearOpenedUrl();
  Down(CPosition(430, 310), kLButton);
  Up(CPosition(430, 310), kLButton);
  EXPECT_EQ(raster::LastOpenedUrl(), "https://www.quellmark.example/");
  Down(CPosition(400, 350), kLButton);
  Up(CPosition(400, 350), kLButton);
  EXPECT_EQ(raster::LastOpenedUrl(), "https://www.quellmark.example/donation?lang=en");
  EXPECT_TRUE(a->aboutShown());  // links leave it shown

  Down(CPosition(187, 98), kLButton);  // right and bottom edges are outside the close mark
  Up(CPosition(187, 98), kLButton);
  EXPECT_TRUE(a->aboutShown());
  VstKeyCode ret{13, VKEY_RETURN, 0};
  EXPECT_EQ(editor->keyDown(ret), 0);
  EXPECT_TRUE(a->aboutShown());
  VstKeyCode escape{27, VKEY_ESCAPE, 0};
  EXPECT_EQ(editor->keyDown(escape), 1);
  EXPECT_FALSE(a->aboutShown());

  Down(CPosition(100, 60), kLButton);
  Up(CPosition(100, 60), kLButton);
  Down(CPosition(167, 78), kLButton);
  Up(CPosition(167, 78), kLButton);
  EXPECT_FALSE(a->aboutShown());
  EXPECT_EQ(editor->getFrame()->getModalView(), nullptr);
}

// Close then open gives a working editor again; closing twice is harmless.
TEST_F(EditorTest, CloseAndOpenAgain) {
  Open();
  editor->close();
  editor->close();
  EXPECT_EQ(editor->getFrame(), nullptr);
  EXPECT_EQ(raster::RasterPlatform::instance().timerCount(), 0u);
  plugin->setParameter(kSize, 0.25f);  // while closed: only the plug-in changes
  Open();
  EXPECT_NEAR(editor->Knob(kSize)->getValue(), 0.25f, 1e-6f);
  Down(Centre(kSize), kLButton);
  Window().mouseMove(Centre(kSize).h, Centre(kSize).v - 20, kLButton);
  Up(Centre(kSize), kLButton);
  EXPECT_NEAR(plugin->getParameter(kSize), 0.35f, 1e-5f);
}

// Destroying the plug-in with its editor open takes the window, the timer and
// every control down with it.
TEST_F(EditorTest, ClosingThePluginWithTheEditorOpen) {
  Open();
  EXPECT_EQ(raster::RasterPlatform::instance().windowCount(), 1u);
  delete plugin;
  plugin = nullptr;
  EXPECT_EQ(raster::RasterPlatform::instance().windowCount(), 0u);
  EXPECT_EQ(raster::RasterPlatform::instance().timerCount(), 0u);
}

namespace {
bool Contains(const platform::Rect& outer, const CBounds& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}
}  // namespace

// A change made in the editor shows in the same paint as the control that made it:
// the display (or the freeze text) is invalidated together with its control, before
// any idle.
TEST_F(EditorTest, DisplaysRepaintWithTheirControl) {
  Open();
  struct Gesture {
    const char* name;
    int tag;
    std::function<void()> run;
  };
  const CPosition wide = Centre(kWide);
  const std::vector<Gesture> gestures = {
      {"drag", kSize,
       [&] {
         Down(Centre(kSize), kLButton);
         Window().mouseMove(Centre(kSize).h, Centre(kSize).v - 30, kLButton);
         Up(CPosition(Centre(kSize).h, Centre(kSize).v - 30), kLButton);
       }},
      {"wheel", kWide, [&] { Window().wheel(wide.h, wide.v, 120, 0); }},
      {"arrow key", kWide, [&] { Window().keyDown(0, VKEY_DOWN, 0); }},
      {"control-click", kDryLevel,
       [&] {
         Down(Centre(kDryLevel), kLButton | kControl);
         Up(Centre(kDryLevel), kLButton | kControl);
       }},
      {"typing", kDecayTime,
       [&] {
         const CBounds r = editor->Display(kDecayTime)->getViewSize();
         Down(CPosition(r.left + 5, r.top + 5), kLButton);
         Up(CPosition(r.left + 5, r.top + 5), kLButton);
         Window().typeText("2 sec");
         Window().keyDown(0x0d, VKEY_RETURN, 0);
       }},
  };
  for (const Gesture& g : gestures) {
    Paint();
    char before[256];
    editor->Display(g.tag)->getText(before);
    g.run();
    ASSERT_TRUE(Window().needsPaint()) << g.name;
    EXPECT_TRUE(Contains(Window().pendingRect(), editor->Display(g.tag)->getViewSize())) << g.name;
    if (g.tag != kDecayTime) {
      EXPECT_TRUE(Contains(Window().pendingRect(), editor->Knob(g.tag)->getViewSize())) << g.name;
    }
    Window().paint();  // no idle in between
    EXPECT_STRNE(editor->Display(g.tag)->getText(), before) << g.name;
  }
  Paint();
  Down(CPosition(380, 230), kLButton);
  Up(CPosition(380, 230), kLButton);
  EXPECT_TRUE(Contains(Window().pendingRect(), editor->FreezeText()->getViewSize()));
  EXPECT_TRUE(Contains(Window().pendingRect(), editor->FreezeSwitch()->getViewSize()));
}

// What reaches the host: nothing for a right click or a cancelled typing, one bracket
// for a Control-click.
TEST_F(EditorTest, HostSeesOnlyGesturesThatChangeSomething) {
  Open();
  Down(Centre(kDecayTime), kRButton);
  Up(Centre(kDecayTime), kRButton);
  Down(Centre(kDecayTime), kMButton);
  Up(Centre(kDecayTime), kMButton);
  EXPECT_TRUE(gHostCalls.empty());
  Down(Centre(kDryLevel), kLButton | kControl);
  Up(Centre(kDryLevel), kLButton | kControl);
  EXPECT_EQ(gHostCalls, (std::vector<std::string>{"begin 2", "automate 2", "end 2"}));
  gHostCalls.clear();
  const float size = plugin->getParameter(kSize);
  TZDisplay* d = editor->Display(kSize);
  const CBounds r = d->getViewSize();
  Down(CPosition(r.left + 5, r.top + 5), kLButton);
  Up(CPosition(r.left + 5, r.top + 5), kLButton);
  ASSERT_TRUE(d->isEditing());
  Window().typeText("12 %");
  Window().keyDown(0x1b, VKEY_ESCAPE, 0);
  EXPECT_FALSE(d->isEditing());
  EXPECT_EQ(plugin->getParameter(kSize), size);
  EXPECT_TRUE(gHostCalls.empty());
  Paint();
  char shown[256];
  plugin->getParameterDisplay(kSize, shown);
  EXPECT_EQ(std::string(d->getText()).rfind(shown, 0), 0u) << d->getText();
}

// Host changes reach the controls at the editor's next timer tick even when the host
// stops idling the editor.
TEST_F(EditorTest, HostChangesArriveWithoutIdle) {
  Open();
  plugin->setParameter(kSize, 0.2f);
  plugin->setParameter(kDecayFreeze, 1.0f);
  EXPECT_NE(editor->Knob(kSize)->getValue(), 0.2f);  // not yet: the GUI thread moves it
  raster::RasterPlatform::instance().advance(20);
  EXPECT_NEAR(editor->Knob(kSize)->getValue(), 0.2f, 1e-6f);
  EXPECT_EQ(editor->FreezeSwitch()->getValue(), 1.0f);
  EXPECT_TRUE(Contains(Window().pendingRect(), editor->Display(kSize)->getViewSize()));
}

// A still meter paints nothing; the peak hold moves once per timer tick, however often
// the host idles or the window repaints.
TEST_F(EditorTest, MeterPaintsOnlyWhatMovesAndHoldsPeaksByTicks) {
  Open();
  auto& clock = raster::RasterPlatform::instance();
  for (int tick = 0; tick < 60; ++tick) {  // the opening markers fall to the bottom
    clock.advance(20);
    Window().paint();
  }
  const int paints = Window().paintCount(), draws = Window().directDrawCount();
  for (int tick = 0; tick < 50; ++tick) {
    clock.advance(20);
    editor->idle();
    Window().paint();
  }
  // Silence: a second of ticks paints nothing.
  EXPECT_EQ(Window().paintCount(), paints);
  EXPECT_EQ(Window().directDrawCount(), draws);

  std::vector<float> loud(512, 0.5f), out(512), silence(512, 0.0f);
  float* in[2] = {loud.data(), loud.data()};
  float* quiet[2] = {silence.data(), silence.data()};
  float* outs[2] = {out.data(), out.data()};
  plugin->processReplacing(in, outs, 512);  // input at -6 dB: 36 unlit rows
  const uint32_t unlit = Window().surface().pixel(650, 178 + 40);
  clock.advance(20);
  EXPECT_EQ(editor->LevelMeter()->Shown(0).unlit, 36);
  // Drawn at once by the tick, without a repaint request.
  EXPECT_EQ(Window().directDrawCount(), draws + 1);
  EXPECT_FALSE(Window().needsPaint());
  EXPECT_NE(Window().surface().pixel(650, 178 + 40), unlit);
  for (int i = 0; i < 400; ++i) plugin->processReplacing(quiet, outs, 512);
  // The marker is held for nine ticks, whatever happens in between.
  for (int tick = 0; tick < 9; ++tick) {
    clock.advance(20);
    for (int idle = 0; idle < 5; ++idle) {
      editor->idle();
      Window().invalidate({0, 0, 773, 491});  // the host asks for a full repaint
      Window().paint();
    }
    EXPECT_EQ(editor->LevelMeter()->Shown(0).marker, 36) << tick;
  }
  clock.advance(20);  // falls by 0.3
  clock.advance(20);  // and by 0.6
  EXPECT_EQ(editor->LevelMeter()->Shown(0).marker, 36);
  clock.advance(20);
  EXPECT_EQ(editor->LevelMeter()->Shown(0).marker, 37);  // P = -36.89
}

// A tick draws each bar that moved on its own: the scale between the bars, which never
// changes, is not drawn again (at 200 % it would be most of the pixels put).
TEST_F(EditorTest, MeterTickDrawsTheBarsButNotTheScaleBetweenThem) {
  Open();
  auto& clock = raster::RasterPlatform::instance();
  for (int tick = 0; tick < 60; ++tick) clock.advance(20);  // the opening markers fall
  Window().paint();
  raster::RasterSurface& s = Window().surface();
  const int row = 178 + 200;  // -33 dB: lit by both the input and the output
  const int between[] = {655, 680, 705};  // between bars 0-1, 1-2 (the scale), 2-3
  for (int x : between) s.pixels()[row * s.stride() + x] = 0xff123456u;
  const uint32_t unlit[2] = {s.pixel(650, row), s.pixel(699, row)};

  std::vector<float> loud(512, 0.5f), out(512);
  float* in[2] = {loud.data(), loud.data()};
  float* outs[2] = {out.data(), out.data()};
  plugin->processReplacing(in, outs, 512);
  clock.advance(20);
  EXPECT_NE(s.pixel(650, row), unlit[0]) << "input bar not drawn";
  EXPECT_NE(s.pixel(699, row), unlit[1]) << "output bar not drawn";
  for (int x : between) EXPECT_EQ(s.pixel(x, row), 0xff123456u) << x;
}

// No window can be made (no parent, or no display on X11): open says so and leaves
// nothing behind, so that effEditOpen answers 0.
TEST_F(EditorTest, OpenWithoutAWindowAnswersFalse) {
  EXPECT_FALSE(editor->open(nullptr));
  EXPECT_EQ(editor->getFrame(), nullptr);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(raster::RasterPlatform::instance().timerCount(), 0u);
  editor->idle();
  Open();  // and a later open with a window works
}
