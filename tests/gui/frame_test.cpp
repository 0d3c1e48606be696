// Frame and host glue on the raster: idle pacing, timers, painting, window state.
#include "gui/timer.h"
#include "tests/gui/helpers.h"

using Frame = FrameFixture;

TEST_F(Frame, IdlePacingSleepsFourMillisecondsAndToleratesFifty) {
  editor.doIdleStuff();  // at 1000: due
  EXPECT_EQ(editor.idles, 1);
  EXPECT_EQ(editor.hostIdles, 1);
  EXPECT_EQ(editor.pacer.nextIdleTime(), 1100u);
  plat.advance(10);
  editor.doIdleStuff();  // 10 ms later: sleeps 4 ms, 1014 < 1050, no idle
  EXPECT_EQ(plat.ticks(), 1014u);
  EXPECT_EQ(editor.idles, 1);
  plat.advance(34);      // 48 ms after the first call
  editor.doIdleStuff();  // sleeps 4 ms: 1052 is not below 1050, idles
  EXPECT_EQ(editor.idles, 2);
  EXPECT_EQ(editor.pacer.nextIdleTime(), 1152u);
  EXPECT_FALSE(editor.pacer.inIdle());
}

TEST_F(Frame, IdleCallsRepaintDirtyViewsThroughThePlatform) {
  auto* v = new RecView(CBounds(10, 10, 20, 20));
  frame->addView(v);
  win().paint();
  const int draws = v->draws;
  v->setDirty();
  frame->doIdleStuff();  // editor idle -> frame idle -> repaint request -> one paint dispatched
  EXPECT_EQ(v->draws, draws + 1);
  EXPECT_FALSE(win().needsPaint());
  frame->setOpenFlag(false);
  v->setDirty();
  frame->idle();
  EXPECT_FALSE(win().needsPaint());  // closed frames do not repaint
}

struct TimerListener : CBaseObject {
  int fired = 0;
  CBaseObject* sender = nullptr;
  CMessageResult notify(CBaseObject* s, const char* m) override {
    if (m != kMsgTimerFired) return kMessageUnknown;
    ++fired;
    sender = s;
    return kMessageNotified;
  }
};

TEST_F(Frame, TimersFireStopAndChangePeriod) {
  TimerListener l;
  auto* t = new CGuiTimer(&l, 20);
  EXPECT_FALSE(t->isRunning());
  EXPECT_TRUE(t->start());
  plat.advance(100);
  EXPECT_EQ(l.fired, 5);
  EXPECT_EQ(l.sender, t);
  EXPECT_FALSE(t->setPeriod(20));  // same period: false, keeps running
  EXPECT_TRUE(t->isRunning());
  EXPECT_TRUE(t->setPeriod(50));
  EXPECT_TRUE(t->isRunning());
  plat.advance(100);
  EXPECT_EQ(l.fired, 7);
  EXPECT_TRUE(t->stop());
  EXPECT_FALSE(t->stop());
  plat.advance(100);
  EXPECT_EQ(l.fired, 7);
  EXPECT_TRUE(t->setPeriod(10));  // stopped: stays stopped
  EXPECT_FALSE(t->isRunning());
  plat.refuseTimers(true);
  EXPECT_FALSE(t->start());
  EXPECT_FALSE(t->isRunning());
  plat.refuseTimers(false);
  t->start();
  t->release();  // destruction stops it
  EXPECT_EQ(plat.timerCount(), 0u);
  plat.advance(50);
  EXPECT_EQ(l.fired, 7);
}

TEST_F(Frame, WindowEventsReachViewsAndCaptureFollowsTheResult) {
  auto* v = new RecView(CBounds(10, 10, 50, 50));
  frame->addView(v);
  EXPECT_EQ(win().mouseDown(20, 20, kLButton | kShift), 1);
  EXPECT_TRUE(win().captured());
  win().mouseMove(25, 26, kLButton);
  win().mouseUp(25, 26, 0);
  EXPECT_FALSE(win().captured());
  EXPECT_EQ(v->log, (std::vector<std::string>{"down", "moved", "up"}));
  EXPECT_EQ(v->buttons[0], kLButton | kShift);
  EXPECT_EQ(v->lastWhere, CPosition(25, 26));  // in the parent's (frame) coordinates
  v->downResult = kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  EXPECT_EQ(win().mouseDown(20, 20, kRButton), 3);
  EXPECT_FALSE(win().captured());
  frame->setCursor(9);
  EXPECT_EQ(win().cursor(), 9);
  // The current location is relative to the window's screen position.
  win().setScreenOrigin({300, 200});
  plat.setCursorPosition({310, 215});
  CPosition where;
  frame->getCurrentMouseLocation(where);
  EXPECT_EQ(where, CPosition(10, 15));
  plat.setButtonState(kLButton | kAlt);
  EXPECT_EQ(frame->getCurrentMouseButtons(), kLButton | kAlt);
  plat.setButtonState(0);
}

TEST_F(Frame, SizeChangesResizeTheWindowOnlyWhenOpenAndDifferent) {
  EXPECT_FALSE(frame->setSize(200, 100));
  EXPECT_TRUE(frame->setSize(300, 120));
  EXPECT_EQ(win().surface().width(), 300);
  EXPECT_EQ(frame->getViewSize(), CBounds(0, 0, 300, 120));
  frame->setOpenFlag(false);
  EXPECT_FALSE(frame->setSize(100, 100));
  EXPECT_FALSE(frame->setSize(-1, 100));
  int32_t x = -1, y = -1;
  EXPECT_TRUE(frame->getPosition(x, y));
  EXPECT_FALSE(frame->setPosition(1, 1));
}

TEST_F(Frame, BlockingTrackingLoopEndsWhenTheButtonIsReleased) {
  // A view answering 0 falls back to the blocking loop; the loop idles between reads.
  struct Tracker : CView {
    using CView::CView;
    int passes = 0;
    CMouseEventResult mouseDown(CPosition&, const uint32_t&) override { return kMouseEventNotImplemented; }
    void mouseTrack(CDrawContext* ctx, CPosition& where, uint32_t) override {
      auto& p = raster::RasterPlatform::instance();
      while (getFrame()->getCurrentMouseButtons() & kLButton) {
        mouseLocation(ctx, where);
        getFrame()->doIdleStuff();
        if (++passes == 3) p.setButtonState(0);
      }
    }
  };
  auto* t = new Tracker(CBounds(0, 0, 50, 50));
  frame->addView(t);
  plat.setButtonState(kLButton);
  CPosition p(10, 10);
  EXPECT_EQ(frame->mouseDown(p, kLButton), kMouseEventNotImplemented);
  EXPECT_EQ(t->passes, 3);
  EXPECT_GE(plat.ticks(), 1008u);  // the loop's idle calls slept
}

TEST_F(Frame, KnobBlockingTrackStepsTheValueUntilRelease) {
  editor.mode = kLinearMode;
  RecListener l;
  auto* k = new CKnob(CBounds(0, 0, 40, 40), &l, 2, nullptr, nullptr);
  frame->addView(k);
  k->setValue(0.5f);
  win().setScreenOrigin({0, 0});
  plat.setCursorPosition({20, 0});  // 20 px up from the click
  plat.setButtonState(0);           // released at once: one pass
  CDrawContext* ctx = new CDrawContext(frame, nullptr);
  CPosition p(20, 20);
  k->mouseTrack(ctx, p, kLButton);
  ctx->release();
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  EXPECT_EQ(l.log.front(), "begin");
  EXPECT_EQ(l.log.back(), "end");
}

TEST_F(Frame, FrameTrackingLoopSendsMovesAndEndsWithTheHeldButton) {
  auto* v = new RecView(CBounds(10, 10, 100, 90));
  frame->addView(v);
  plat.setButtonState(kLButton);
  plat.setCursorPosition({20, 20});
  int calls = 0;
  editor.onIdleCall = [&] {
    ++calls;
    if (calls == 2) plat.setCursorPosition({40, 30});
    if (calls == 4) plat.setButtonState(kRButton);  // the left button, held at the start, is up
  };
  CDrawContext* ctx = new CDrawContext(frame, nullptr);
  CPosition where(20, 20);
  frame->mouseTrack(ctx, where, kLButton);
  ctx->release();
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(v->log, (std::vector<std::string>{"down", "moved", "up"}));
  EXPECT_EQ(v->lastWhere, CPosition(40, 30));
  editor.onIdleCall = nullptr;
  plat.setButtonState(0);
}
