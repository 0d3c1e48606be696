// The editor base joined to the plug-in shell: registration, rectangle, idle pacing with
// the host's idle request, knob mode, keys, wheel, drawing and parameter gestures.
#include "gui/aeffguieditor.h"
#include "plugin/audioeffect.h"
#include "tests/gui/helpers.h"

namespace {
struct Effect : AudioEffect {
  Effect() : AudioEffect(nullptr, 1, 18) {}
  std::vector<std::string> log;
  void masterIdle() override { log.push_back("host idle"); }
  bool beginEdit(VstInt32 i) override { log.push_back("begin " + std::to_string(i)); return true; }
  bool endEdit(VstInt32 i) override { log.push_back("end " + std::to_string(i)); return true; }
};

int gHost = 0;

struct Editor : AEffGUIEditor {
  explicit Editor(AudioEffect* e) : AEffGUIEditor(e) {
    rect.right = 200;
    rect.bottom = 100;
  }
  ~Editor() override { close(); }
  RecView* view = nullptr;
  bool open(void* parent) override {
    AEffGUIEditor::open(parent);
    frame = new CFrame(CBounds(0, 0, 200, 100), parent, this);
    view = new RecView(CBounds(10, 10, 60, 60));
    view->keyResult = 1;
    frame->addView(view);
    frame->setFocusView(view);
    return true;
  }
  void close() override {
    if (frame) frame->release();
    frame = nullptr;
    AEffGUIEditor::close();
  }
};

struct Glue : ::testing::Test {
  raster::RasterPlatform& plat = raster::RasterPlatform::instance();
  Effect* effect = nullptr;
  Editor* editor = nullptr;
  void SetUp() override {
    plat.useManualClock(5000);
    plat.setButtonState(0);
    effect = new Effect;
    editor = new Editor(effect);
  }
  void TearDown() override {
    delete effect;  // owns and deletes the editor
    setGlobalKnobMode(kCircularMode);
  }
  raster::RasterWindow& win() { return *static_cast<raster::RasterWindow*>(editor->getFrame()->platformWindow()); }
};
}  // namespace

TEST_F(Glue, ConstructionRegistersTheEditorAndTheRectangleIsHanded) {
  EXPECT_EQ(effect->getEditor(), editor);
  EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
  ERect* r = nullptr;
  EXPECT_TRUE(editor->getRect(&r));
  ASSERT_EQ(r->right, 200);
  EXPECT_FALSE(editor->getRect(nullptr));
  EXPECT_FALSE(editor->isOpen());
  // Nothing needs a frame while closed.
  VstKeyCode k{0, VKEY_UP, 0};
  EXPECT_EQ(editor->keyDown(k), 0);
  EXPECT_FALSE(editor->wheel(1.f));
  editor->draw(nullptr);
  editor->idle();
  // Opening through the host's dispatcher.
  EXPECT_EQ(effect->dispatcher(effEditOpen, 0, 0, &gHost, 0.f), 1);
  EXPECT_TRUE(editor->isOpen());
  effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(Glue, IdlePacingAsksTheHostAfterEachEditorIdle) {
  editor->open(&gHost);
  editor->doIdleStuff();
  EXPECT_EQ(effect->log, std::vector<std::string>{"host idle"});
  plat.advance(10);
  editor->doIdleStuff();  // too early: sleeps 4 ms only
  EXPECT_EQ(effect->log.size(), 1u);
  EXPECT_EQ(plat.ticks(), 5014u);
  plat.advance(34);
  editor->doIdleStuff();  // 48 ms after the first: idles
  EXPECT_EQ(effect->log.size(), 2u);
  // The editor idle repaints dirty views.
  editor->view->setDirty();
  plat.advance(200);
  const int draws = editor->view->draws;
  editor->doIdleStuff();
  EXPECT_EQ(editor->view->draws, draws + 1);
}

TEST_F(Glue, KnobModeIsSharedByAllEditorsAndGesturesReachThePlugin) {
  Effect other;
  auto* second = new Editor(&other);
  EXPECT_TRUE(editor->setKnobMode(kLinearMode));
  EXPECT_EQ(second->getKnobMode(), kLinearMode);
  editor->open(&gHost);
  EXPECT_EQ(editor->getFrame()->getKnobMode(), kLinearMode);
  RecListener l;
  auto* knob = new CKnob(CBounds(100, 10, 140, 50), &l, 13, nullptr, nullptr);
  editor->getFrame()->addView(knob);
  win().mouseDown(120, 30, kLButton);
  win().mouseUp(120, 30, 0);
  EXPECT_EQ(effect->log, (std::vector<std::string>{"begin 13", "end 13"}));
}

TEST_F(Glue, KeysWheelAndDrawGoThroughTheFrame) {
  editor->open(&gHost);
  VstKeyCode k{0, VKEY_UP, 0};
  EXPECT_EQ(editor->keyDown(k), 1);
  EXPECT_EQ(editor->view->log.back(), "key 12");
  editor->view->keyResult = -1;
  EXPECT_EQ(editor->keyDown(k), 0);
  plat.setCursorPosition({20, 20});
  EXPECT_TRUE(editor->wheel(1.f));
  EXPECT_EQ(editor->view->log.back(), "wheel 1.000000");
  plat.setCursorPosition({150, 90});
  EXPECT_FALSE(editor->wheel(1.f));
  const int draws = editor->view->draws;
  ERect swapped{60, 60, 0, 0};  // top, left, bottom, right in the wrong order
  editor->draw(&swapped);
  EXPECT_EQ(editor->view->draws, draws + 1);
  ERect outside{70, 70, 90, 90};
  editor->draw(&outside);
  EXPECT_EQ(editor->view->draws, draws + 1);
  editor->redraw();
  EXPECT_TRUE(editor->getFrame()->isDirty());
}
