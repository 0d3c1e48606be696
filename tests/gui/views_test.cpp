// Views and containers: event dispatch, dirty propagation, drawing, focus, ownership.
#include <algorithm>

#include "tests/gui/helpers.h"

using Views = FrameFixture;

// A view whose destruction is observed.
struct Counted : CView {
  explicit Counted(const CBounds& r, int* deaths) : CView(r), deaths_(deaths) {}
  ~Counted() override { ++*deaths_; }
  int* deaths_;
};

TEST_F(Views, TopmostChildGetsTheClickAndBecomesMouseDownView) {
  auto* under = new RecView(CBounds(10, 10, 60, 60));
  auto* over = new RecView(CBounds(40, 40, 90, 90));
  frame->addView(under);
  frame->addView(over);
  CPosition p(50, 50);
  EXPECT_EQ(frame->mouseDown(p, kLButton), kMouseEventHandled);
  EXPECT_EQ(over->log, std::vector<std::string>{"down"});
  EXPECT_TRUE(under->log.empty());
  EXPECT_EQ(frame->getMouseDownView(), over);
  CPosition m(70, 75);
  EXPECT_EQ(frame->mouseMoved(m, kLButton), kMouseEventHandled);
  EXPECT_EQ(frame->mouseUp(m, 0), kMouseEventHandled);
  EXPECT_EQ(over->log, (std::vector<std::string>{"down", "moved", "up"}));
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
  CPosition miss(150, 5);
  EXPECT_EQ(frame->mouseDown(miss, kLButton), kMouseEventNotHandled);
}

TEST_F(Views, MouseResultsDecideTrackingAndFollowUpEvents) {
  auto* a = new RecView(CBounds(0, 0, 20, 20), kMouseEventNotImplemented);
  auto* b = new RecView(CBounds(30, 0, 50, 20), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  auto* c = new RecView(CBounds(60, 0, 80, 20), kMouseEventNotHandled);
  frame->addView(a);
  frame->addView(b);
  frame->addView(c);
  CPosition pa(5, 5), pb(35, 5), pc(65, 5);
  EXPECT_EQ(frame->mouseDown(pa, kLButton), kMouseEventNotImplemented);
  EXPECT_EQ(a->log, (std::vector<std::string>{"down", "track"}));  // fell back to mouseTrack
  EXPECT_EQ(frame->mouseDown(pb, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
  EXPECT_EQ(frame->mouseUp(pb, 0), kMouseEventNotHandled);
  frame->mouseMoved(pb, kLButton);  // only the pointer-over bookkeeping sees it
  EXPECT_EQ(std::count(b->log.begin(), b->log.end(), "moved"), 0);
  EXPECT_EQ(std::count(b->log.begin(), b->log.end(), "up"), 0);
  EXPECT_EQ(frame->mouseDown(pc, kLButton), kMouseEventNotHandled);
  EXPECT_EQ(frame->getMouseDownView(), nullptr);
}

TEST_F(Views, ModifierClickHookConsumesTheClickBeforeTheControl) {
  RecListener l;
  l.claimModifiers = true;
  auto* knob = new CKnob(CBounds(0, 0, 40, 40), &l, 3, nullptr, nullptr);
  frame->addView(knob);
  CPosition p(20, 20);
  EXPECT_EQ(frame->mouseDown(p, kLButton | kControl), kMouseEventHandled);
  EXPECT_EQ(l.log, std::vector<std::string>{"modifier"});  // the knob never began an edit
  l.log.clear();
  l.claimModifiers = false;
  CPosition q(20, 20);
  frame->mouseDown(q, kLButton | kAlt);
  ASSERT_FALSE(l.log.empty());
  EXPECT_EQ(l.log[0], "modifier");
  EXPECT_EQ(l.log[1], "begin");  // declined: the knob got the click
  l.log.clear();
  CPosition r(20, 20);
  frame->mouseDown(r, kLButton);  // no modifier: the hook is not asked
  EXPECT_EQ(l.log[0], "begin");
}

TEST_F(Views, NestedContainersConvertCoordinatesAndSkipHiddenOrDisabledViews) {
  auto* box = new CViewContainer(CBounds(50, 20, 150, 90), frame);
  auto* inner = new RecView(CBounds(10, 10, 30, 30));
  auto* hidden = new RecView(CBounds(10, 10, 30, 30));
  frame->addView(box);
  box->addView(inner);
  box->addView(hidden);
  hidden->setVisible(false);
  CPosition p(65, 35);
  EXPECT_EQ(frame->mouseDown(p, kLButton), kMouseEventHandled);
  EXPECT_EQ(inner->lastWhere, CPosition(15, 15));
  EXPECT_TRUE(hidden->log.empty());
  inner->setMouseEnabled(false);
  CPosition q(65, 35);
  EXPECT_EQ(frame->mouseDown(q, kLButton), kMouseEventNotHandled);
  EXPECT_EQ(frame->viewAtPoint(CPosition(65, 35), true), inner);
  EXPECT_EQ(frame->containerAtPoint(CPosition(65, 35), true), box);
  CPosition local(65, 35);
  inner->frameToLocal(local);
  EXPECT_EQ(local, CPosition(15, 15));
  CPosition back(15, 15);
  EXPECT_EQ(inner->localToFrame(back), CPosition(65, 35));
}

TEST_F(Views, WheelGoesToTheViewUnderThePointWithAxisSign) {
  auto* v = new RecView(CBounds(10, 10, 50, 50));
  frame->addView(v);
  EXPECT_TRUE(frame->wheel(CPosition(20, 20), 2.f, 0));
  EXPECT_TRUE(frame->wheelOnAxis(CPosition(20, 20), kMouseWheelAxisX, 1.f, 0));
  EXPECT_FALSE(frame->wheel(CPosition(100, 80), 1.f, 0));
  EXPECT_EQ(v->log, (std::vector<std::string>{"wheel 2.000000", "wheel -1.000000"}));
  // The platform's wheel: 120 is one notch; 60 is half of one and sends nothing yet.
  win().wheel(20, 20, 120, 0);
  win().wheel(20, 20, 60, 0);
  EXPECT_EQ(v->log.size(), 3u);
  EXPECT_EQ(v->log[2], "wheel 1.000000");
}

// Fine wheel steps (touchpads, high-resolution wheels) add up to whole notches.
TEST_F(Views, FineWheelStepsAddUpToNotches) {
  auto* v = new RecView(CBounds(10, 10, 50, 50));
  frame->addView(v);
  for (int i = 0; i < 8; ++i) win().wheel(20, 20, 30, 0);  // 8 quarter notches
  EXPECT_EQ(v->log, (std::vector<std::string>{"wheel 1.000000", "wheel 1.000000"}));
  win().wheel(20, 20, 90, 0);
  win().wheel(20, 20, -60, 0);  // a change of direction drops the three quarters
  win().wheel(20, 20, -60, 0);
  EXPECT_EQ(v->log.back(), "wheel -1.000000");
  EXPECT_EQ(v->log.size(), 3u);
  for (int i = 0; i < 120; ++i) win().wheel(20, 20, 1, 0);  // one 120th at a time
  EXPECT_EQ(v->log.back(), "wheel 1.000000");
  EXPECT_EQ(v->log.size(), 4u);
  // The horizontal axis adds up on its own, and reaches views with the axis's sign.
  win().wheel(20, 20, 60, 0);
  win().horizontalWheel(20, 20, 60, 0);
  win().horizontalWheel(20, 20, 60, 0);
  EXPECT_EQ(v->log.back(), "wheel -1.000000");
  EXPECT_EQ(v->log.size(), 5u);
}

TEST_F(Views, InsertBeforeKeepsTheListLinkedBothWays) {
  auto* box = new CViewContainer(CBounds(0, 0, 100, 100), frame);
  frame->addView(box);
  auto* a = new CView(CBounds(0, 0, 1, 1));
  auto* b = new CView(CBounds(0, 0, 1, 1));
  auto* c = new CView(CBounds(0, 0, 1, 1));
  auto* d = new CView(CBounds(0, 0, 1, 1));
  EXPECT_TRUE(box->addView(a, nullptr));  // empty: the only child
  EXPECT_TRUE(box->addView(b));
  EXPECT_TRUE(box->addView(c, a));        // c a b
  EXPECT_TRUE(box->addView(d, frame));    // not a child: before the last (c a d b)
  ASSERT_EQ(box->viewCount(), 4);
  EXPECT_EQ(box->viewAt(0), c);
  EXPECT_EQ(box->viewAt(1), a);
  EXPECT_EQ(box->viewAt(2), d);
  EXPECT_EQ(box->viewAt(3), b);
  EXPECT_EQ(box->viewAt(4), nullptr);
  EXPECT_EQ(box->viewAt(-1), nullptr);
  EXPECT_TRUE(box->removeView(d));
  EXPECT_TRUE(box->removeView(c));
  EXPECT_EQ(box->viewAt(0), a);
  EXPECT_EQ(box->viewAt(1), b);
  EXPECT_FALSE(box->addView(a));  // already attached
  EXPECT_FALSE(box->addView(static_cast<CView*>(nullptr)));
}

TEST_F(Views, DirtyViewsBecomeExactlyTheirRectanglesInTheWindow) {
  auto* box = new CViewContainer(CBounds(100, 10, 180, 90), frame);
  auto* a = new RecView(CBounds(5, 5, 15, 15));
  auto* b = new RecView(CBounds(20, 20, 40, 30));
  auto* c = new RecView(CBounds(30, 40, 50, 60));
  frame->addView(c);
  frame->addView(box);
  box->addView(a);
  box->addView(b);
  paintAll();  // settle the first full paint
  EXPECT_FALSE(win().needsPaint());
  EXPECT_FALSE(frame->isDirty());

  b->setDirty();
  EXPECT_TRUE(box->isDirty());
  EXPECT_TRUE(frame->isDirty());
  frame->idle();
  ASSERT_TRUE(win().needsPaint());
  platform::Rect r = win().pendingRect();
  EXPECT_EQ(r.left, 120); EXPECT_EQ(r.top, 30); EXPECT_EQ(r.right, 140); EXPECT_EQ(r.bottom, 40);
  const int drawsA = a->draws, drawsB = b->draws, drawsC = c->draws;
  win().paint();
  EXPECT_EQ(b->draws, drawsB + 1);
  EXPECT_EQ(a->draws, drawsA);  // outside the painted area
  EXPECT_EQ(c->draws, drawsC);

  c->setDirty();
  frame->idle();
  r = win().pendingRect();
  EXPECT_EQ(r.left, 30); EXPECT_EQ(r.top, 40); EXPECT_EQ(r.right, 50); EXPECT_EQ(r.bottom, 60);
  win().paint();

  // A dirty container invalidates itself whole.
  box->setBackgroundColor(kRedCRGBA);
  frame->idle();
  r = win().pendingRect();
  EXPECT_EQ(r.left, 100); EXPECT_EQ(r.top, 10); EXPECT_EQ(r.right, 180); EXPECT_EQ(r.bottom, 90);
  win().paint();

  // Outside the container: never reaches the window. Partly outside: clipped.
  box->invalidateRect(CBounds(100, 100, 120, 120));
  EXPECT_FALSE(win().needsPaint());
  box->invalidateRect(CBounds(70, 70, 120, 120));
  r = win().pendingRect();
  EXPECT_EQ(r.left, 170); EXPECT_EQ(r.top, 80); EXPECT_EQ(r.right, 180); EXPECT_EQ(r.bottom, 90);
  win().paint();

  // A child outside its container's bounds does not make it dirty.
  auto* outside = new RecView(CBounds(200, 200, 210, 210));
  box->addView(outside);
  frame->idle();
  win().paint();
  outside->setDirty();
  EXPECT_FALSE(box->isDirty());

  // Invisible views do not invalidate.
  a->setVisible(false);
  a->invalidate();
  frame->invalidateDirtyViews();
}

TEST_F(Views, DrawingPaintsChildrenInOrderAndClipsToThem) {
  auto* box = new CViewContainer(CBounds(10, 10, 110, 60), frame);
  box->setBackgroundColor(kBlueCRGBA);
  frame->addView(box);
  struct Filler : CView {
    Filler(const CBounds& r, CRGBA c) : CView(r), color(c) {}
    CRGBA color;
    void draw(CDrawContext* ctx) override {
      ctx->setFillColor(color);
      ctx->fillRect(CBounds(-1000, -1000, 1000, 1000));  // clipped to the view
      setDirty(false);
    }
  };
  box->addView(new Filler(CBounds(10, 10, 30, 30), kRedCRGBA));
  box->addView(new Filler(CBounds(20, 20, 40, 40), kGreenCRGBA));
  paintAll();
  EXPECT_EQ(px(5, 5), bgra(0, 0, 0));          // frame background
  EXPECT_EQ(px(15, 15), bgra(0, 0, 255));      // container background
  EXPECT_EQ(px(22, 22), bgra(255, 0, 0));      // first child
  EXPECT_EQ(px(35, 35), bgra(0, 255, 0));      // later child on top
  EXPECT_EQ(px(45, 45), bgra(0, 255, 0));
  EXPECT_EQ(px(55, 55), bgra(0, 0, 255));      // outside both children
}

TEST_F(Views, OffscreenContainerDrawsThroughItsBuffer) {
  auto* box = new CViewContainer(CBounds(20, 20, 80, 70), frame);
  box->setDrawInOffscreen(true);
  box->setBackgroundColor(kYellowCRGBA);
  frame->addView(box);
  auto* child = new CViewContainer(CBounds(10, 10, 20, 20), frame);
  child->setBackgroundColor(kMagentaCRGBA);
  box->addView(child);
  paintAll();
  ASSERT_NE(box->getOffscreen(), nullptr);
  EXPECT_EQ(box->getOffscreen()->getWidth(), 60);
  EXPECT_EQ(px(25, 25), bgra(255, 255, 0));
  EXPECT_EQ(px(35, 35), bgra(255, 0, 255));
  EXPECT_EQ(px(19, 19), bgra(0, 0, 0));
  EXPECT_EQ(box->getOffscreen()->surface()->pixels()[15 * 60 + 15], bgra(255, 0, 255));
  // Resizing replaces the buffer.
  box->setViewSize(CBounds(20, 20, 100, 90));
  EXPECT_EQ(box->getOffscreen()->getWidth(), 80);
}

TEST_F(Views, TabAdvancesFocusThroughNestedContainersAndClearsAtTheEnd) {
  auto* a = new RecView(CBounds(0, 0, 10, 10));
  auto* box = new CViewContainer(CBounds(20, 0, 80, 40), frame);
  auto* b = new RecView(CBounds(0, 0, 10, 10));
  auto* c = new RecView(CBounds(20, 0, 30, 10));
  auto* d = new RecView(CBounds(100, 0, 110, 10));
  for (RecView* v : {a, b, c, d}) v->setWantsFocus(true);
  frame->addView(a);
  frame->addView(box);
  box->addView(b);
  box->addView(c);
  frame->addView(d);
  CKeyCode tab{0, VKEY_TAB, 0};
  EXPECT_EQ(frame->keyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), a);
  frame->keyDown(tab);
  EXPECT_EQ(frame->getFocusView(), b);
  frame->keyDown(tab);
  EXPECT_EQ(frame->getFocusView(), c);
  frame->keyDown(tab);
  EXPECT_EQ(frame->getFocusView(), d);
  CKeyCode shiftTab{0, VKEY_TAB, MODIFIER_SHIFT};
  frame->keyDown(shiftTab);
  EXPECT_EQ(frame->getFocusView(), c);
  frame->setFocusView(d);
  EXPECT_EQ(frame->keyDown(tab), -1);  // nothing after the last: focus cleared
  EXPECT_EQ(frame->getFocusView(), nullptr);
  // The focus view gets keys first; the frame's other children never do.
  frame->setFocusView(b);
  b->keyResult = 1;
  CKeyCode up{0, VKEY_UP, 0};
  EXPECT_EQ(frame->keyDown(up), 1);
  EXPECT_EQ(b->log.back(), "key 12");
  EXPECT_EQ(std::count(a->log.begin(), a->log.end(), "key 12"), 0);
}

TEST_F(Views, ModalViewConfinesClicksAndTab) {
  auto* a = new RecView(CBounds(0, 0, 10, 10));
  a->setWantsFocus(true);
  frame->addView(a);
  auto* modal = new CViewContainer(CBounds(50, 10, 150, 90), frame);
  auto* m1 = new RecView(CBounds(0, 0, 10, 10));
  auto* m2 = new RecView(CBounds(20, 0, 30, 10));
  m1->setWantsFocus(true);
  m2->setWantsFocus(true);
  modal->addView(m1);
  modal->addView(m2);
  EXPECT_TRUE(frame->setModalView(modal));
  auto* second = new CView(CBounds());
  EXPECT_FALSE(frame->setModalView(second));  // a modal view exists
  second->release();
  CPosition outside(5, 5);
  EXPECT_EQ(frame->mouseDown(outside, kLButton), kMouseEventNotHandled);
  EXPECT_TRUE(a->log.empty());
  CKeyCode tab{0, VKEY_TAB, 0};
  frame->keyDown(tab);
  EXPECT_EQ(frame->getFocusView(), m1);
  frame->keyDown(tab);
  EXPECT_EQ(frame->getFocusView(), m2);
  EXPECT_EQ(frame->keyDown(tab), -1);
  EXPECT_EQ(frame->viewUnderMouse(), modal);
  modal->retain();
  EXPECT_TRUE(frame->setModalView(nullptr));  // removed without the creator's release
  EXPECT_EQ(modal->refCount(), 2);
  EXPECT_FALSE(modal->isAttached());
  modal->release();
  modal->release();
}

TEST_F(Views, ContainersReleaseEachChildTwiceAndViewsCountReferences) {
  int deaths = 0;
  auto* box = new CViewContainer(CBounds(0, 0, 50, 50), frame);
  auto* a = new Counted(CBounds(0, 0, 5, 5), &deaths);
  auto* b = new Counted(CBounds(0, 0, 5, 5), &deaths);
  auto* kept = new Counted(CBounds(0, 0, 5, 5), &deaths);
  EXPECT_EQ(a->refCount(), 1);
  box->addView(a);
  EXPECT_EQ(a->refCount(), 2);
  box->addView(b);
  box->addView(kept);
  kept->retain();  // someone else holds it too
  box->removeView(b, false);
  EXPECT_EQ(b->refCount(), 1);
  EXPECT_EQ(deaths, 0);
  b->release();
  EXPECT_EQ(deaths, 1);
  box->release();  // destroys the container: a goes, kept survives
  EXPECT_EQ(deaths, 2);
  EXPECT_EQ(kept->refCount(), 1);
  kept->release();
  EXPECT_EQ(deaths, 3);

  // Bitmaps are shared by count.
  uint32_t pixels[4] = {};
  auto* bmp = new CBitmap(2, 2, pixels, true);
  auto* v = new CView(CBounds(0, 0, 2, 2));
  v->setBackground(bmp);
  EXPECT_EQ(bmp->refCount(), 2);
  CView* copy = v->clone();
  EXPECT_EQ(bmp->refCount(), 3);
  v->release();
  copy->release();
  EXPECT_EQ(bmp->refCount(), 1);
  bmp->release();
}

TEST_F(Views, CloneCopiesStateButNotParentsAndDeepCopiesAttributes) {
  auto* box = new CViewContainer(CBounds(0, 0, 50, 50), frame);
  auto* v = new CView(CBounds(1, 2, 3, 4));
  v->setTransparency(true);
  v->setWantsFocus(true);
  const char data[] = "abc";
  EXPECT_TRUE(v->setAttribute(7, sizeof data, data));
  box->addView(v);
  frame->addView(box);
  CView* copy = box->clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_FALSE(copy->isAttached());
  EXPECT_EQ(copy->refCount(), 1);
  auto* c = static_cast<CViewContainer*>(copy);
  ASSERT_EQ(c->viewCount(), 1);
  CView* vc = c->viewAt(0);
  EXPECT_NE(vc, v);
  EXPECT_TRUE(vc->getTransparency());
  EXPECT_TRUE(vc->wantsFocus());
  EXPECT_EQ(vc->getViewSize(), CBounds(1, 2, 3, 4));
  v->removeAttribute(7);
  char out[8] = {};
  uint32_t size = 0;
  EXPECT_TRUE(vc->getAttribute(7, sizeof out, out, size));
  EXPECT_EQ(size, sizeof data);
  EXPECT_STREQ(out, "abc");
  EXPECT_FALSE(vc->getAttribute(7, 2, out, size));  // too small: refused, nothing written
  EXPECT_TRUE(vc->isTypeOf("CView"));
  EXPECT_TRUE(c->isTypeOf("CViewContainer"));
  EXPECT_FALSE(vc->isTypeOf("CViewContainer"));
  EXPECT_TRUE(frame->isTypeOf("CFrame"));
  copy->release();
}

TEST_F(Views, MouseOverViewGetsEnterAndExit) {
  auto* a = new RecView(CBounds(0, 0, 20, 20));
  auto* b = new RecView(CBounds(30, 0, 50, 20));
  frame->addView(a);
  frame->addView(b);
  CPosition pa(5, 5), pb(35, 5), pa2(6, 6);
  frame->mouseMoved(pa, 0);
  frame->mouseMoved(pa2, 0);
  frame->mouseMoved(pb, 0);
  EXPECT_EQ(a->log, (std::vector<std::string>{"entered", "moved", "exited"}));
  EXPECT_EQ(b->log, std::vector<std::string>{"entered"});
  EXPECT_EQ(frame->getMouseOverView(), b);
  frame->removeView(b);
  EXPECT_EQ(frame->getMouseOverView(), nullptr);
}

TEST_F(Views, DropPlumbingDeliversToTheViewUnderThePoint) {
  struct DropView : RecView {
    using RecView::RecView;
    int32_t count = 0;
    bool drop(CDragContainer* d, const CPosition&) override { log.push_back("drop"); count = d->getCount(); return true; }
    void dragEnter(CDragContainer*, const CPosition&) override { log.push_back("enter"); }
    void dragLeave(CDragContainer*, const CPosition&) override { log.push_back("leave"); }
    void dragMove(CDragContainer*, const CPosition&) override { log.push_back("move"); }
  };
  auto* a = new DropView(CBounds(0, 0, 20, 20));
  auto* b = new DropView(CBounds(30, 0, 50, 20));
  frame->addView(a);
  frame->addView(b);
  EXPECT_TRUE(win().hasDropTarget());
  win().dragEnter(3, 5, 5);
  win().dragMove(6, 6);
  win().dragMove(35, 5);
  win().drop(36, 6);
  EXPECT_EQ(a->log, (std::vector<std::string>{"enter", "move", "leave"}));
  EXPECT_EQ(b->log, (std::vector<std::string>{"enter", "drop", "leave"}));
  EXPECT_EQ(b->count, 3);
  win().dragEnter(1, 5, 5);
  win().dragLeave();
  EXPECT_EQ(a->log.back(), "leave");
}

TEST(ViewsWithoutFrame, OperationsWithoutFrameOrWindowAreSafe) {
  CFrame* f = new CFrame(CBounds(0, 0, 10, 10), nullptr, nullptr);  // no parent window
  EXPECT_EQ(f->platformWindow(), nullptr);
  f->invalidate();
  f->setCursor(3);
  f->doIdleStuff();
  EXPECT_EQ(f->getKnobMode(), kCircularMode);
  EXPECT_FALSE(f->setDropActive(true));
  auto* v = new CView(CBounds(0, 0, 5, 5));
  EXPECT_EQ(v->getEditor(), nullptr);
  EXPECT_TRUE(v->visibleSize().isEmpty());
  v->invalidate();
  f->addView(v);
  EXPECT_EQ(v->visibleSize(), CBounds(0, 0, 5, 5));
  f->release();
}

TEST_F(Views, MouseObserverHearsEnterAndExitAndMarkDirtyHitsOverlappingChildren) {
  struct Observer : IMouseObserver {
    std::vector<std::string> log;
    void onMouseEntered(CView*, CFrame*) override { log.push_back("in"); }
    void onMouseExited(CView*, CFrame*) override { log.push_back("out"); }
  } observer;
  frame->setMouseObserver(&observer);
  auto* a = new RecView(CBounds(0, 0, 20, 20));
  auto* b = new RecView(CBounds(50, 50, 70, 70));
  frame->addView(a);
  frame->addView(b);
  CPosition in(5, 5), click(60, 60);
  frame->mouseMoved(in, 0);
  frame->mouseDown(click, kLButton);  // a click first ends the pointer-over state
  EXPECT_EQ(observer.log, (std::vector<std::string>{"in", "out"}));
  EXPECT_EQ(frame->getMouseOverView(), nullptr);
  frame->mouseUp(click, 0);
  frame->setMouseObserver(nullptr);

  paintAll();
  a->setDirty(false);
  b->setDirty(false);
  frame->markDirtyInRect(CBounds(15, 15, 30, 30));
  EXPECT_TRUE(a->isDirty());
  EXPECT_FALSE(b->isDirty());
}
