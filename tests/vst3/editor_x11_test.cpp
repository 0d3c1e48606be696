// Soravel.vst3's editor view in a real X window (under Xvfb), driven the way a
// Linux host drives it: the view attached to the host's window with a frame that
// offers the host's run loop, which the test runs (a poll on the descriptors the
// plug-in registered, and its timers). Real input through XTest; the picture is
// compared with the VST 2.x editor drawn by the raster platform in this process.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "formats/vst3/params.h"
#include "plugin/vst_plugin.h"
#include "tests/vst3/vst3_host.h"

// Last: Xlib's macros clash with names in the headers above.
#include "tests/editor_x11/raster_reference.h"
#include "tests/editor_x11/x11_capture.h"
#include "tests/editor_x11/x11_resources.h"
#include "tests/editor_x11/x11_test_window.h"
#include <X11/extensions/XRes.h>

namespace vst3test {
namespace {

constexpr int kSizeKnobX = 476, kSizeKnobY = 224;
constexpr int kMeter[4] = {648, 178, 711, 435};

void* WindowId(::Window w) { return reinterpret_cast<void*>(static_cast<uintptr_t>(w)); }

class Vst3EditorX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Dpy(), nullptr) << "no X display: run under xvfb-run";
    ASSERT_NE(Factory(), nullptr) << TLoadedModule::Get().error;
    MoveTo(700, 470);  // clear of every control
  }
  void TearDown() override {
    for (unsigned b = 1; b <= 3; ++b) Button(b, false);
  }
  // Runs the frame's run loop until the editor's window shows `expected`; answers
  // the pixels that still differ.
  int ShowsAfterRunning(TFrame& frame, ::Window editor, const Shot& expected) {
    Shot shown;
    frame.loop.RunUntil([&] { return Differing(shown = Capture(editor), expected) == 0; });
    return Differing(shown, expected);
  }
};

// One view attached to the host's window: the editor as Soravel.so draws it, the
// X connection's descriptor and a timer registered with the host's run loop, a
// knob drag reaching the host as one gesture, and nothing left behind by removed().
TEST_F(Vst3EditorX11, AttachedToTheHostWindowAndDrivenByItsRunLoop) {
  THandler handler;
  TFrame frame;
  {
    TPlugin p(nullptr, &handler);
    ASSERT_TRUE(p.Ok());
    p.controller->setParamNormalized(vst3::kProgramChangeId, 5.0 / 15.0);
    IPlugView* view = p.controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(view->canResize(), kResultFalse);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right - size.left, kWidth);
    EXPECT_EQ(size.bottom - size.top, kHeight);

    // Without a frame there is no run loop, and nothing would ever draw the window.
    EXPECT_EQ(view->attached(WindowId(HostWindow()), kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_TRUE(Children(HostWindow()).empty());
    view->setFrame(&frame);
    EXPECT_EQ(view->attached(WindowId(HostWindow()), kPlatformTypeHWND), kResultFalse);
    ASSERT_EQ(view->attached(WindowId(HostWindow()), kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(frame.loop.Registered(), 2u) << "a descriptor watch and a timer";
    const std::vector<::Window> kids = Children(HostWindow());
    ASSERT_EQ(kids.size(), 1u);
    EXPECT_EQ(ShowsAfterRunning(frame, kids[0], RasterReference([](VstPlugin& v) { v.setProgram(5); })), 0);

    // A host's change moves the knob; a drag reaches the host as one gesture.
    handler.log.clear();
    p.controller->setParamNormalized(kSize, 0.3);
    MoveTo(kSizeKnobX, kSizeKnobY);
    frame.loop.RunFor(60);
    Button(1, true);
    for (int dy = 5; dy <= 50; dy += 5) {
      MoveTo(kSizeKnobX, kSizeKnobY - dy);
      frame.loop.RunFor(0);
    }
    Button(1, false);
    ASSERT_TRUE(frame.loop.RunUntil([&] { return !handler.log.empty() && handler.log.back() == "end 9"; }));
    EXPECT_EQ(handler.log.front(), "begin 9");
    for (size_t i = 1; i + 1 < handler.log.size(); ++i) EXPECT_EQ(handler.log[i], "perform 9");
    ASSERT_FALSE(handler.performed.empty());
    const ParamValue dragged = handler.performed.back().second;
    EXPECT_NEAR(dragged, 0.55, 0.01);  // linear: 200 pixels span the range
    EXPECT_EQ(p.controller->getParamNormalized(kSize), dragged);
    EXPECT_EQ(ShowsAfterRunning(frame, kids[0], RasterReference([&](VstPlugin& v) {
                                  v.setProgram(5);
                                  v.setParameter(kSize, static_cast<float>(dragged));
                                })),
              0);

    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(frame.loop.Registered(), 0u);
    EXPECT_TRUE(Children(HostWindow()).empty());
    EXPECT_EQ(view->release(), 0u);
  }
  EXPECT_TRUE(frame.Balanced()) << frame.Refs();
  EXPECT_TRUE(handler.Balanced());
}

// The host's content scale: the view asks its frame for the size at the zoom and
// answers it; a frame that refuses keeps the editor at its size.
TEST_F(Vst3EditorX11, ContentScaleAsksTheFrameForTheSize) {
  TFrame frame;
  TPlugin p;
  ASSERT_TRUE(p.Ok());
  IPlugView* view = p.controller->createView(kViewTypeEditor);
  ASSERT_NE(view, nullptr);
  void* obj = nullptr;
  ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid.bytes, &obj), kResultOk);
  auto* scale = static_cast<IPlugViewContentScaleSupport*>(obj);
  view->setFrame(&frame);
  ASSERT_EQ(view->attached(WindowId(HostWindow()), kPlatformTypeX11EmbedWindowID), kResultOk);
  frame.loop.RunFor(40);
  frame.refuse = true;
  EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
  ASSERT_EQ(frame.asked.size(), 1u);
  EXPECT_EQ(frame.asked[0], std::make_pair(1546, 982));
  ViewRect size{};
  view->getSize(&size);
  EXPECT_EQ(size.right, kWidth) << "refused: the editor keeps its size";
  frame.refuse = false;
  EXPECT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
  EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
  view->getSize(&size);
  EXPECT_EQ(size.right, 1546);
  EXPECT_EQ(size.bottom, 982);
  EXPECT_EQ(scale->setContentScaleFactor(NAN), kResultFalse);
  EXPECT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
  view->getSize(&size);
  EXPECT_EQ(size.right, kWidth);
  view->removed();
  scale->release();
  EXPECT_EQ(view->release(), 0u);
}

// The meter shows the processor's levels: the controller reads them from the
// processor the host connected it to.
TEST_F(Vst3EditorX11, TheMeterShowsTheConnectedProcessorsLevels) {
  TFrame frame;
  TPlugin p;
  ASSERT_TRUE(p.Ok() && p.Start());
  IPlugView* view = p.controller->createView(kViewTypeEditor);
  view->setFrame(&frame);
  ASSERT_EQ(view->attached(WindowId(HostWindow()), kPlatformTypeX11EmbedWindowID), kResultOk);
  const ::Window editor = Children(HostWindow()).at(0);
  frame.loop.RunFor(100);
  const Shot still = Capture(editor);
  std::vector<float> loud(512, 0.5f);
  Shot lit;
  EXPECT_TRUE(frame.loop.RunUntil([&] {
    p.Process(loud.data(), loud.data(), loud.data(), loud.data(), 512);
    for (float& x : loud) x = 0.5f;
    return Differing(lit = Capture(editor), still, kMeter[0], kMeter[1], kMeter[2], kMeter[3]) > 100;
  }));
  EXPECT_EQ(Differing(lit, still, 0, 0, kMeter[0], kHeight), 0) << "only the meter moves";
  view->removed();
  EXPECT_EQ(view->release(), 0u);
}

// Hosts open and close editors all session long: nothing piles up in the X server
// or the process, and every run loop registration is given back.
TEST_F(Vst3EditorX11, OpenCloseCyclesLeaveNothingBehind) {
  int event = 0, error = 0;
  ASSERT_TRUE(XResQueryExtension(Dpy(), &event, &error)) << "no X-Resource extension";
  TFrame frame;
  TPlugin p;
  ASSERT_TRUE(p.Ok());
  const int fdsBefore = OpenDescriptors();
  Resources first, last;
  for (int i = 0; i < 40; ++i) {
    IPlugView* view = p.controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    view->setFrame(&frame);
    ASSERT_EQ(view->attached(WindowId(HostWindow()), kPlatformTypeX11EmbedWindowID), kResultOk);
    frame.loop.RunFor(i % 10 == 0 ? 60 : 0);
    const ::Window editor = Children(HostWindow()).at(0);
    if (i == 0) first = ClientResources(editor);
    if (i == 39) last = ClientResources(editor);
    if (i % 2) view->removed();  // else the host lets the view go attached
    EXPECT_EQ(view->release(), 0u);
    EXPECT_EQ(frame.loop.Registered(), 0u);
  }
  EXPECT_TRUE(Children(HostWindow()).empty());
  EXPECT_EQ(first, last);
  EXPECT_EQ(OpenDescriptors(), fdsBefore) << "the display connection stayed open";
  EXPECT_TRUE(frame.Balanced());
}

}  // namespace
}  // namespace vst3test
