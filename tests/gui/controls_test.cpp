// Controls: knob geometry and tracking, filmstrip knob, switch, displays, text fields.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "tests/gui/helpers.h"

using Controls = FrameFixture;

namespace {
CKnob* addKnob(CFrame* f, RecListener* l, int32_t tag = 5) {
  auto* k = new CKnob(CBounds(0, 0, 40, 40), l, tag, nullptr, nullptr);
  f->addView(k);
  return k;
}
}  // namespace

TEST(KnobGeometry, ValueToPointAndBackFollowTheDefaultAngles) {
  CKnob k(CBounds(0, 0, 40, 40), nullptr, 0, nullptr, nullptr);
  EXPECT_FLOAT_EQ(k.getStartAngle(), 3.9269907f);
  EXPECT_FLOAT_EQ(k.getRangeAngle(), -4.712389f);
  EXPECT_EQ(k.getInsetValue(), 3);
  CPosition p;
  k.setValue(0.f);
  k.valueToPoint(p);
  EXPECT_EQ(p, CPosition(8, 32));
  k.setValue(1.f);
  k.valueToPoint(p);
  EXPECT_EQ(p, CPosition(32, 32));
  k.setValue(0.5f);
  k.valueToPoint(p);
  EXPECT_EQ(p, CPosition(20, 3));
  EXPECT_NEAR(k.valueFromPoint(CPosition(20, 0)), 0.5f, 1e-5);
  EXPECT_NEAR(k.valueFromPoint(CPosition(40, 20)), 1.f - 45.f / 270.f, 1e-5);
  EXPECT_NEAR(k.valueFromPoint(CPosition(0, 20)), 1.f - 225.f / 270.f, 1e-5);
  EXPECT_EQ(k.valueFromPoint(CPosition(25, 40)), 1.f);  // right of the bottom gap
  EXPECT_EQ(k.valueFromPoint(CPosition(15, 40)), 0.f);  // left of it
  // A positive (counter-clockwise) range mirrors the mapping.
  k.setRangeAngle(4.712389f);
  k.setStartAngle(-0.7853982f);
  EXPECT_NEAR(k.valueFromPoint(CPosition(20, 0)), 0.5f, 1e-5);
  EXPECT_EQ(k.valueFromPoint(CPosition(25, 40)), 0.f);
  EXPECT_EQ(k.valueFromPoint(CPosition(15, 40)), 1.f);
  // A handle bitmap sets the inset from its width.
  uint32_t px[10 * 4] = {};
  auto* handle = new CBitmap(10, 4, px, false);
  CKnob h(CBounds(0, 0, 40, 40), nullptr, 0, nullptr, handle);
  EXPECT_EQ(h.getInsetValue(), 7);
  handle->release();
}

TEST_F(Controls, CircularDragFollowsThePointerAndNeverWrapsAcrossTheGap) {
  RecListener l;
  CKnob* k = addKnob(frame, &l);
  k->setValue(0.2f);
  CPosition down(20, 0);
  EXPECT_EQ(frame->mouseDown(down, kLButton), kMouseEventHandled);
  EXPECT_NEAR(k->getValue(), 0.5f, 1e-5);
  EXPECT_EQ(frame->getFocusView(), k);
  CPosition right(38, 28);
  frame->mouseMoved(right, kLButton);
  EXPECT_NEAR(k->getValue(), 1.f - 21.2f / 270.f, 2e-3);
  CPosition gap(15, 40);  // across the bottom gap: keeps the maximum
  frame->mouseMoved(gap, kLButton);
  EXPECT_EQ(k->getValue(), 1.f);
  const size_t changes = l.values.size();
  frame->mouseMoved(gap, kLButton);  // same point: nothing happens
  EXPECT_EQ(l.values.size(), changes);
  frame->mouseUp(gap, 0);
  EXPECT_EQ(l.log.front(), "begin");
  EXPECT_EQ(l.log.back(), "end");
  EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 5", "end 5"}));
}

TEST_F(Controls, LinearDragUsesTwoHundredPixelsAndShiftRescalesWithoutAJump) {
  editor.mode = kLinearMode;
  RecListener l;
  CKnob* k = addKnob(frame, &l);
  k->setValue(0.3f);
  CPosition p(20, 20);
  frame->mouseDown(p, kLButton);
  EXPECT_FLOAT_EQ(k->getValue(), 0.3f);
  CPosition up10(20, 10);
  frame->mouseMoved(up10, kLButton);
  EXPECT_NEAR(k->getValue(), 0.35f, 1e-6);
  CPosition up20(20, 0);
  frame->mouseMoved(up20, kLButton | kShift);  // Shift pressed: same value as without
  EXPECT_NEAR(k->getValue(), 0.4f, 1e-6);
  CPosition up50(20, -30);
  frame->mouseMoved(up50, kLButton | kShift);  // 30 more pixels at 1/300
  EXPECT_NEAR(k->getValue(), 0.5f, 1e-6);
  CPosition right(50, -30);  // right increases too
  frame->mouseMoved(right, kLButton | kShift);
  EXPECT_NEAR(k->getValue(), 0.6f, 1e-6);
  CPosition far(20, -1000);
  frame->mouseMoved(far, kLButton);
  EXPECT_EQ(k->getValue(), 1.f);  // clamped
  frame->mouseUp(far, 0);
  // Alt flips the mode back to circular.
  CPosition top(20, 0);
  frame->mouseDown(top, kLButton | kAlt);
  EXPECT_NEAR(k->getValue(), 0.5f, 1e-5);
  frame->mouseUp(top, 0);
  // ...and Alt in circular mode means linear.
  editor.mode = kCircularMode;
  k->setValue(0.1f);
  frame->mouseDown(top, kLButton | kAlt);
  EXPECT_FLOAT_EQ(k->getValue(), 0.1f);
}

TEST_F(Controls, ControlClickResetsOnlyForTheExactButtonWord) {
  RecListener l;
  CKnob* k = addKnob(frame, &l);
  k->setDefaultValue(0.25f);
  k->setValue(0.9f);
  k->setDirty(false);
  CPosition p(20, 20);
  EXPECT_EQ(frame->mouseDown(p, 0x22u), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_FLOAT_EQ(k->getValue(), 0.25f);
  EXPECT_EQ(l.values, std::vector<float>{0.25f});
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
  k->setValue(0.9f);
  k->setDirty(false);
  CPosition q(20, 0);
  frame->mouseDown(q, 0x32u);  // with Shift as well: no reset, a normal click
  EXPECT_NEAR(k->getValue(), 0.5f, 1e-5);
  EXPECT_NE(k->getValue(), 0.25f);
}

TEST_F(Controls, WheelAndArrowKeysStepByTheIncrement) {
  RecListener l;
  CKnob* k = addKnob(frame, &l);
  k->setValue(0.5f);
  EXPECT_TRUE(frame->wheel(CPosition(20, 20), 1.f, 0));
  EXPECT_NEAR(k->getValue(), 0.6f, 1e-6);
  frame->wheel(CPosition(20, 20), -1.f, kShift);
  EXPECT_NEAR(k->getValue(), 0.59f, 1e-6);
  EXPECT_EQ(l.log, (std::vector<std::string>{"begin", "changed", "end", "begin", "changed", "end"}));
  frame->wheel(CPosition(20, 20), 20.f, 0);
  EXPECT_EQ(k->getValue(), 1.f);
  // Keys reach the knob once it is the focus view (a click makes it so).
  frame->setFocusView(k);
  CKeyCode left{0, VKEY_LEFT, 0}, upShift{0, VKEY_UP, MODIFIER_SHIFT}, other{0, VKEY_SPACE, 0};
  EXPECT_EQ(frame->keyDown(left), 1);
  EXPECT_NEAR(k->getValue(), 0.9f, 1e-6);
  EXPECT_EQ(frame->keyDown(upShift), 1);
  EXPECT_NEAR(k->getValue(), 0.91f, 1e-6);
  EXPECT_EQ(k->keyDown(other), -1);
  k->setMouseEnabled(false);
  EXPECT_FALSE(k->wheel(CPosition(20, 20), 1.f, 0));
}

TEST_F(Controls, AnimKnobShowsFirstImageAtZeroAndLastAtOne) {
  // 129 images of 10 rows, image i filled with red = i.
  std::vector<uint32_t> strip(10 * 10 * 129);
  for (int i = 0; i < 129; ++i)
    for (int j = 0; j < 100; ++j) strip[i * 100 + j] = bgra(static_cast<uint8_t>(i), 0, 0);
  auto* bmp = new CBitmap(10, 10 * 129, strip.data(), true);
  auto* k = new CAnimKnob(CBounds(5, 5, 15, 15), nullptr, 0, 129, 10, bmp);
  bmp->release();
  frame->addView(k);
  k->setValue(1.f);
  paintAll();
  EXPECT_EQ(k->lastDrawnImageY(), 1280);
  EXPECT_EQ(px(8, 8), bgra(128, 0, 0));
  k->setValue(0.f);
  EXPECT_TRUE(k->isDirty());
  paintAll();
  EXPECT_EQ(k->lastDrawnImageY(), 0);
  EXPECT_EQ(px(8, 8), bgra(0, 0, 0));
  k->setValue(0.5f);
  paintAll();
  EXPECT_EQ(k->lastDrawnImageY() % 10, 0);
  EXPECT_EQ(px(8, 8), bgra(static_cast<uint8_t>(k->lastDrawnImageY() / 10), 0, 0));
  EXPECT_FALSE(k->isDirty());
  k->setInverseBitmap(true);
  k->setValue(1.f);
  paintAll();
  EXPECT_EQ(k->lastDrawnImageY(), 0);
  EXPECT_TRUE(k->isTypeOf("CKnob"));
  EXPECT_TRUE(k->isTypeOf("CAnimKnob"));
}

TEST_F(Controls, VerticalSwitchPicksThePositionUnderTheClick) {
  RecListener l;
  uint32_t img[4 * 40];
  for (int i = 0; i < 160; ++i) img[i] = i < 80 ? bgra(0, 0, 255) : bgra(0, 255, 0);
  auto* bmp = new CBitmap(4, 40, img, true);
  auto* s = new CVerticalSwitch(CBounds(10, 10, 14, 30), &l, 8, 2, 20, 2, bmp);
  bmp->release();
  frame->addView(s);
  CPosition lower(12, 25);
  EXPECT_EQ(frame->mouseDown(lower, kLButton), kMouseEventHandled);
  EXPECT_EQ(s->getValue(), 1.f);
  frame->mouseUp(lower, 0);
  paintAll();
  EXPECT_EQ(px(12, 20), bgra(0, 255, 0));
  CPosition upper(12, 15);
  frame->mouseDown(upper, kLButton);
  EXPECT_EQ(s->getValue(), 0.f);
  frame->mouseUp(upper, 0);
  paintAll();
  EXPECT_EQ(px(12, 20), bgra(0, 0, 255));
  CPosition right(12, 15);
  EXPECT_EQ(frame->mouseDown(right, kRButton), kMouseEventNotHandled);
  EXPECT_EQ(l.values, (std::vector<float>{1.f, 0.f}));
}

namespace {
void percent(float v, char* out) { std::snprintf(out, 256, "%d%%", static_cast<int>(v * 100.f + 0.5f)); }
}  // namespace

TEST_F(Controls, ParamDisplayStylesDecideFrameEdgesAndText) {
  auto* d = new CParamDisplay(CBounds(10, 10, 70, 30));
  d->setFrameColor(kRedCRGBA);
  d->setBackColor(kBlueCRGBA);
  d->setStringConvert(percent);
  d->setValue(0.5f);
  frame->addView(d);
  paintAll();
  EXPECT_EQ(px(10, 20), bgra(255, 0, 0));  // frame
  EXPECT_EQ(px(69, 29), bgra(255, 0, 0));
  EXPECT_EQ(px(12, 12), bgra(0, 0, 255));  // back colour
  int ink = 0;
  for (int y = 11; y < 29; ++y)
    for (int x = 11; x < 69; ++x) ink += px(x, y) != bgra(0, 0, 255);
  EXPECT_GT(ink, 10);  // "50%" in white

  d->setStyle(kNoFrame | kNoTextStyle);
  paintAll();
  EXPECT_EQ(px(10, 20), bgra(0, 0, 255));
  ink = 0;
  for (int y = 11; y < 29; ++y)
    for (int x = 11; x < 69; ++x) ink += px(x, y) != bgra(0, 0, 255);
  EXPECT_EQ(ink, 0);

  d->setStyle(k3DIn | kNoTextStyle);  // sunken: back colour top-left, frame colour bottom-right
  d->setBackColor(kGreenCRGBA);
  paintAll();
  EXPECT_EQ(px(10, 20), bgra(0, 255, 0));
  EXPECT_EQ(px(30, 10), bgra(0, 255, 0));
  EXPECT_EQ(px(69, 20), bgra(255, 0, 0));
  EXPECT_EQ(px(30, 29), bgra(255, 0, 0));
  d->setStyle(k3DOut | kNoTextStyle);
  paintAll();
  EXPECT_EQ(px(30, 10), bgra(255, 0, 0));
  EXPECT_EQ(px(30, 29), bgra(0, 255, 0));

  d->setStyle(kShadowText);
  d->setShadowColor(kYellowCRGBA);
  paintAll();
  int shadow = 0;
  for (int y = 11; y < 29; ++y)
    for (int x = 11; x < 69; ++x) {
        const uint32_t c = px(x, y);
        shadow += ((c >> 16) & 0xff) > 150 && (c & 0xff) < 100;  // yellowish over blue
      }
  EXPECT_GT(shadow, 0);

  // Marking the view drawn, unchanged setters leave it clean; changes make it dirty.
  d->setDirty(false);
  d->setShadowColor(kYellowCRGBA);
  d->setHoriAlign(kCenterText);
  EXPECT_FALSE(d->isDirty());
  d->setHoriAlign(kLeftText);
  EXPECT_TRUE(d->isDirty());
  d->setDirty(false);
  d->setFont(kNormalFont);  // always dirty
  EXPECT_TRUE(d->isDirty());

  d->setStyle(kNoDrawStyle);
  frame->setBackgroundColor(kCyanCRGBA);
  paintAll();
  EXPECT_EQ(px(30, 20), bgra(0, 255, 255));  // nothing drawn over the frame
}

TEST_F(Controls, TextEditOpensOnClickClosesOnReturnAndNotifies) {
  struct Box : CViewContainer {
    using CViewContainer::CViewContainer;
    int looseFocus = 0;
    CMessageResult notify(CBaseObject* s, const char* m) override {
      if (m == kMsgLooseFocus) { ++looseFocus; return kMessageNotified; }
      return CViewContainer::notify(s, m);
    }
  };
  RecListener l;
  auto* box = new Box(CBounds(20, 10, 180, 60), frame);
  frame->addView(box);
  auto* t = new CTextEdit(CBounds(10, 10, 110, 30), &l, 9, "start");
  box->addView(t);
  paintAll();
  CPosition p(50, 30);
  EXPECT_EQ(frame->mouseDown(p, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  ASSERT_TRUE(t->isEditing());
  EXPECT_EQ(frame->getFocusView(), t);
  raster::RasterTextEntry* e = win().focusedEntry();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->value(), "start");
  EXPECT_TRUE(e->allSelected());
  EXPECT_EQ(e->params().rect.left, 30);  // moved by the container's origin
  EXPECT_EQ(e->params().rect.top, 20);
  EXPECT_EQ(e->params().rect.right, 131);  // one pixel wider and taller
  EXPECT_EQ(e->params().rect.bottom, 41);
  EXPECT_EQ(e->params().font.pixelHeight, 12);
  // A second click on an open field is not handled.
  CPosition again(50, 30);
  EXPECT_EQ(t->mouseDown(again, kLButton), kMouseEventNotHandled);
  win().typeText("hello");
  EXPECT_EQ(win().keyDown(0x0d, VKEY_RETURN, 0), 1);
  EXPECT_FALSE(t->isEditing());
  EXPECT_TRUE(t->returnPressed());
  EXPECT_STREQ(t->getText(), "hello");
  // The new value goes out inside the gesture, before it ends.
  EXPECT_EQ(l.log, (std::vector<std::string>{"begin", "changed", "end"}));
  EXPECT_EQ(box->looseFocus, 1);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 9", "end 9"}));
}

TEST_F(Controls, TextEditClosesWhenAnythingElseIsClickedAndKeeps255Characters) {
  RecListener l;
  auto* t = new CTextEdit(CBounds(10, 10, 110, 30), &l, 1, "x");
  auto* other = new RecView(CBounds(150, 10, 190, 30));
  frame->addView(t);
  frame->addView(other);
  CPosition p(20, 20);
  frame->mouseDown(p, kLButton);
  ASSERT_TRUE(t->isEditing());
  std::string longText(300, 'a');
  win().typeText(longText.c_str());
  CPosition q(160, 20);
  frame->mouseDown(q, kLButton);  // clears the focus view first
  EXPECT_FALSE(t->isEditing());
  EXPECT_EQ(std::strlen(t->getText()), 255u);
  EXPECT_EQ(l.values.size(), 1u);
  // Unchanged text: no notice.
  frame->mouseDown(p, kLButton);
  frame->setFocusView(nullptr);
  EXPECT_EQ(l.values.size(), 1u);
  // The frame window taking the keyboard focus closes the field too.
  frame->mouseDown(p, kLButton);
  win().typeText("b");
  win().takeKeyboardFocus();
  EXPECT_FALSE(t->isEditing());
  EXPECT_STREQ(t->getText(), "b");
  // setText cuts at 255 and null clears.
  t->setText(longText.c_str());
  EXPECT_EQ(std::strlen(t->getText()), 255u);
  t->setText(nullptr);
  EXPECT_STREQ(t->getText(), "");
}

TEST_F(Controls, DoubleClickStyleOpensOnlyOnADoubleClick) {
  auto* t = new CTextEdit(CBounds(10, 10, 110, 30), nullptr, 1, "x", nullptr, kDoubleClickStyle);
  frame->addView(t);
  CPosition p(20, 20);
  EXPECT_EQ(frame->mouseDown(p, kLButton), kMouseEventNotHandled);
  EXPECT_FALSE(t->isEditing());
  EXPECT_EQ(frame->mouseDown(p, kLButton | kDoubleClick),
            kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_TRUE(t->isEditing());
  // Destroying an open field closes the widget quietly.
  frame->removeView(t);
  EXPECT_EQ(win().focusedEntry(), nullptr);
}

TEST_F(Controls, DirtyTracksValueAgainstOldValue) {
  CControl c(CBounds(0, 0, 1, 1));
  EXPECT_TRUE(c.isDirty());  // constructed dirty
  c.setDirty(false);
  EXPECT_FALSE(c.isDirty());
  c.setValue(0.3f);
  EXPECT_TRUE(c.isDirty());
  c.setDirty(false);
  EXPECT_FLOAT_EQ(c.getOldValue(), 0.3f);
  c.setValue(-1.f);
  c.setDirty(true);
  EXPECT_EQ(c.getOldValue(), 0.f);  // must differ from the value
  c.setValue(2.f);
  c.bounceValue();
  EXPECT_EQ(c.getValue(), 1.f);
}

// Every one-frame step of a filmstrip knob is redrawn (comparing handle points missed
// most of them), and a step within one frame is not.
TEST_F(Controls, AnimKnobRedrawsEveryFrameChangeAndNothingElse) {
  std::vector<uint32_t> strip(10 * 10 * 129);
  for (int i = 0; i < 129; ++i)
    for (int j = 0; j < 100; ++j) strip[i * 100 + j] = bgra(static_cast<uint8_t>(i), 0, 0);
  auto* bmp = new CBitmap(10, 10 * 129, strip.data(), true);
  auto* k = new CAnimKnob(CBounds(5, 5, 45, 45), nullptr, 0, 129, 10, bmp);
  bmp->release();
  frame->addView(k);
  k->setValue(0.f);
  paintAll();
  int missed = 0;
  for (int step = 1; step <= 128; ++step) {
    k->setValue(static_cast<float>(step) / 128.f);
    if (!k->isDirty()) ++missed;
    paintAll();
    EXPECT_EQ(k->lastDrawnImageY(), k->imageY()) << step;
  }
  EXPECT_EQ(missed, 0);
  k->setValue(0.5f);
  paintAll();
  k->setValue(0.501f);  // inside the same frame
  EXPECT_EQ(k->imageY(), k->lastDrawnImageY());
  EXPECT_FALSE(k->isDirty());
}

// Only the left button turns a knob; a Control-click reset is one gesture.
TEST_F(Controls, KnobGesturesReachTheHostOnlyWhenTheyChangeSomething) {
  RecListener l;
  CKnob* k = addKnob(frame, &l);
  k->setValue(0.9f);
  for (uint32_t b : {uint32_t{kRButton}, uint32_t{kMButton}, uint32_t{kRButton | kControl}}) {
    CPosition p(20, 20);
    EXPECT_EQ(frame->mouseDown(p, b), kMouseEventNotHandled);
  }
  EXPECT_EQ(std::count(l.log.begin(), l.log.end(), "begin"), 0);
  EXPECT_TRUE(editor.edits.empty());
  l.log.clear();
  CPosition p(20, 20);
  frame->mouseDown(p, kLButton | kControl);
  EXPECT_EQ(l.log, (std::vector<std::string>{"modifier", "begin", "changed", "end"}));
  EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 5", "end 5"}));
}

// The same for the switch's Control-click.
TEST_F(Controls, SwitchResetIsOneGesture) {
  RecListener l;
  auto* s = new CVerticalSwitch(CBounds(0, 0, 10, 20), &l, 3, 2, 10, 2, nullptr);
  frame->addView(s);
  s->setDefaultValue(0.f);
  s->setValue(1.f);
  CPosition p(5, 15);
  EXPECT_EQ(frame->mouseDown(p, kLButton | kControl), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_EQ(s->getValue(), 0.f);
  EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 3", "end 3"}));
}

// Escape cancels typing: the text stays and nobody hears of it; an unchanged commit
// sends nothing either.
TEST_F(Controls, TextEditEscapeCancelsAndUnchangedTextSendsNothing) {
  RecListener l;
  auto* t = new CTextEdit(CBounds(10, 10, 110, 30), &l, 9, "start");
  frame->addView(t);
  paintAll();
  CPosition p(50, 20);
  frame->mouseDown(p, kLButton);
  ASSERT_TRUE(t->isEditing());
  win().typeText("changed");
  EXPECT_EQ(win().keyDown(0x1b, VKEY_ESCAPE, 0), 1);
  EXPECT_FALSE(t->isEditing());
  EXPECT_STREQ(t->getText(), "start");
  EXPECT_EQ(frame->getFocusView(), nullptr);
  frame->mouseDown(p, kLButton);
  ASSERT_TRUE(t->isEditing());
  win().keyDown(0x0d, VKEY_RETURN, 0);  // committed as it was
  EXPECT_STREQ(t->getText(), "start");
  EXPECT_TRUE(l.log.empty());
  EXPECT_TRUE(editor.edits.empty());
  // The next edit works as ever.
  frame->mouseDown(p, kLButton);
  win().typeText("next");
  win().keyDown(0x0d, VKEY_RETURN, 0);
  EXPECT_EQ(l.log, (std::vector<std::string>{"begin", "changed", "end"}));
  EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 9", "end 9"}));
}

// Losing the mouse capture mid-drag ends the gesture as a release would; the next drag
// works normally. Keys the editor does not use go on to the host's window.
TEST_F(Controls, CaptureLossEndsTheDragAndUnusedKeysGoToTheHost) {
  RecListener l;
  CKnob* k = addKnob(frame, &l);
  editor.mode = kLinearMode;
  k->setValue(0.5f);
  plat.setButtonState(kLButton);
  win().mouseDown(20, 20, kLButton);
  win().mouseMove(20, 0, kLButton);
  EXPECT_TRUE(win().captured());
  win().loseCapture();
  EXPECT_EQ(l.log.back(), "end");
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
  EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 5", "end 5"}));
  const float left = k->getValue();
  win().mouseMove(20, -40, kLButton);  // moves after the loss change nothing
  EXPECT_EQ(k->getValue(), left);
  win().mouseDown(20, 20, kLButton);
  win().mouseMove(20, 10, kLButton);
  win().mouseUp(20, 10, 0);
  plat.setButtonState(0);
  EXPECT_NEAR(k->getValue(), left + 0.05f, 1e-5f);
  EXPECT_EQ(editor.edits.size(), 4u);
  // The knob is the focus view: arrows are its own, Space and letters are not.
  EXPECT_EQ(frame->getFocusView(), k);
  EXPECT_EQ(win().keyDown(0, VKEY_UP, 0), 1);
  EXPECT_EQ(win().keyDown(' ', VKEY_SPACE, 0), -1);
  EXPECT_EQ(win().keyDown('A', 0, 0), -1);
  EXPECT_EQ(win().passedKeys(), (std::vector<int32_t>{' ', 'A'}));
}
