// The editor of the built Soravel.so in a real X window (under Xvfb): a host window of
// our own, the plug-in loaded with dlopen, effEditIdle every 20 ms or so, real input
// through XTest, pixels read back with XGetImage and compared with the same editor drawn
// by the raster platform in this process, resources counted with X-Resource.
#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/editor.h"
#include "gui/platform/raster/raster_platform.h"
#include "plugin/vst_plugin.h"
#include "tests/editor_x11/raster_reference.h"
#include "tests/support/vst2/host_events.h"
#include "tests/support/vst2/host_log.h"
#include "tests/support/vst2/instance.h"
#include "tests/support/vst2/library.h"

// Last: Xlib's macros (None, Bool, Status) clash with names in the headers above.
#include "tests/editor_x11/x11_capture.h"
#include "tests/editor_x11/x11_resources.h"
#include "tests/editor_x11/x11_test_window.h"
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;

// What a host does: editor idle about every 20 ms, until `done` holds or a generous
// time has passed (the answer says which).
bool IdleUntil(Instance& p, const std::function<bool()>& done, int timeoutMs = 10000) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    p.Dispatch(effEditIdle);
    if (done()) return true;
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
void IdleFor(Instance& p, int ms) { IdleUntil(p, [] { return false; }, ms); }
// Idles until the host has heard the end of every gesture it heard begin.
bool IdleUntilGesturesEnd(Instance& p) {
  return IdleUntil(p, [] {
    return Count(audioMasterEndEdit) > 0 && Count(audioMasterEndEdit) == Count(audioMasterBeginEdit);
  });
}

void Key(KeySym sym, bool down) {
  XTestFakeKeyEvent(Dpy(), XKeysymToKeycode(Dpy(), sym), down ? True : False, 0);
  XSync(Dpy(), False);
}
void Tap(KeySym sym) {
  Key(sym, true);
  Key(sym, false);
}
void Click(int x, int y, unsigned b = 1) {
  MoveTo(x, y);
  Button(b, true);
  Button(b, false);
}

struct Point {
  int x, y;
};
constexpr Point kDryKnob{386, 85};
constexpr Point kDecayDisplay{303, 272};
constexpr Point kFreezeSwitch{382, 235};
constexpr Point kSizeKnob{476, 224};
constexpr Point kLogo{100, 60};
constexpr Point kAboutClose{167, 78};
constexpr Point kWebLink{430, 310};
constexpr int kMeter[4] = {648, 178, 711, 435};

class EditorX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Dpy(), nullptr) << "no X display: run under xvfb-run";
    ASSERT_TRUE(PluginLibrary::Get().error.empty()) << PluginLibrary::Get().error;
    p = std::make_unique<Instance>();
    ASSERT_NE(p->effect(), nullptr);
    ASSERT_TRUE(p->effect()->flags & effFlagsHasEditor);
    p->Start();
    host = HostWindow();
    MoveTo(700, 470);  // clear of every control
    ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)), 1);
    const std::vector<::Window> kids = Children(host);
    ASSERT_EQ(kids.size(), 1u);
    editor = kids[0];
    IdleFor(*p, 60);
    Events().clear();
  }
  void TearDown() override {
    for (unsigned b = 1; b <= 3; ++b) Button(b, false);
    if (p && p->effect()) {
      p->Dispatch(effEditClose);
      p->Close();
    }
  }
  // The picture once it has come to rest: two captures further apart than the meter's
  // peak markers hold still agree.
  Shot Settled() {
    Shot last = Capture(editor), now;
    IdleUntil(*p, [&] {
      IdleFor(*p, 250);
      now = Capture(editor);
      const bool same = Differing(last, now) == 0;
      last = now;
      return same;
    });
    return now;
  }
  bool IdleUntilEnded() { return IdleUntilGesturesEnd(*p); }

  std::unique_ptr<Instance> p;
  ::Window host = 0, editor = 0;
};

}  // namespace

TEST_F(EditorX11, ChildOfTheHostPaintingWhatTheRasterDraws) {
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(Dpy(), editor, &a));
  EXPECT_EQ(a.width, kWidth);
  EXPECT_EQ(a.height, kHeight);
  EXPECT_EQ(a.map_state, IsViewable);
  const Shot reference = RasterReference();
  ASSERT_EQ(reference.px.size(), static_cast<size_t>(kWidth) * kHeight);
  Shot shown;
  IdleUntil(*p, [&] { return Differing(shown = Capture(editor), reference) == 0; });
  EXPECT_EQ(Differing(shown, reference), 0) << "pixels differ from the raster's picture";
  EXPECT_TRUE(WritePng(shown, std::string(SORAVEL_SHOT_DIR) + "/editor-linux.png"));

  // A change from the host shows at the next idle, as the raster draws it too.
  p->Set(kDecayFreeze, 1.0f);
  const Shot frozen = RasterReference([](VstPlugin& v) { v.setParameter(kDecayFreeze, 1.0f); });
  IdleUntil(*p, [&] { return Differing(shown = Capture(editor), frozen) == 0; });
  EXPECT_EQ(Differing(shown, frozen), 0);
  EXPECT_GT(Differing(reference, frozen), 100);
  EXPECT_TRUE(Events().empty()) << "host changes are not edits: " << Sequence();
}

TEST_F(EditorX11, KnobDragControlClickAndWheelReachTheHostAsGestures) {
  p->Set(kSize, 0.3f);
  IdleFor(*p, 40);
  Events().clear();
  MoveTo(kSizeKnob.x, kSizeKnob.y);
  Button(1, true);
  for (int dy = 5; dy <= 50; dy += 5) {
    MoveTo(kSizeKnob.x, kSizeKnob.y - dy);
    IdleFor(*p, 0);
  }
  Button(1, false);
  ASSERT_TRUE(IdleUntilEnded()) << Sequence();
  EXPECT_NEAR(p->Get(kSize), 0.55f, 0.01f);  // linear: 200 pixels span the range
  EXPECT_TRUE(IsOneGesture(kSize));
  EXPECT_NEAR(Log().lastAutomateValue.load(), p->Get(kSize), 1e-6f);

  // Control-click puts a level knob in the middle of its travel.
  p->Set(kDryLevel, 0.3f);
  Events().clear();
  MoveTo(kDryKnob.x, kDryKnob.y);
  Key(XK_Control_L, true);
  Click(kDryKnob.x, kDryKnob.y);
  Key(XK_Control_L, false);
  ASSERT_TRUE(IdleUntilEnded()) << Sequence();
  EXPECT_NEAR(p->Get(kDryLevel), 0.9101f, 1e-3f);
  EXPECT_TRUE(IsOneGesture(kDryLevel));

  // Wheel notches: button 4 up, 5 down, one increment each.
  p->Set(kSize, 0.3f);
  Events().clear();
  Click(kSizeKnob.x, kSizeKnob.y, 4);
  ASSERT_TRUE(IdleUntilEnded()) << Sequence();
  EXPECT_NEAR(p->Get(kSize), 0.4f, 1e-4f);
  EXPECT_TRUE(IsOneGesture(kSize));
  Events().clear();
  Click(kSizeKnob.x, kSizeKnob.y, 5);
  Click(kSizeKnob.x, kSizeKnob.y, 5);
  ASSERT_TRUE(IdleUntil(*p, [] { return Count(audioMasterEndEdit) == 2; })) << Sequence();
  EXPECT_NEAR(p->Get(kSize), 0.2f, 1e-4f);
}

TEST_F(EditorX11, DragEndsWhenTheFocusLeavesTheWindow) {
  p->Set(kSize, 0.3f);
  Events().clear();
  MoveTo(kSizeKnob.x, kSizeKnob.y);
  Button(1, true);
  MoveTo(kSizeKnob.x, kSizeKnob.y - 20);
  ASSERT_TRUE(IdleUntil(*p, [] { return Count(audioMasterAutomate) > 0; })) << Sequence();
  // The host takes the keyboard focus while the button is still down.
  XSetInputFocus(Dpy(), host, RevertToParent, CurrentTime);
  XSync(Dpy(), False);
  EXPECT_TRUE(IdleUntilEnded()) << "the gesture did not end: " << Sequence();
  Button(1, false);
  IdleFor(*p, 60);
  EXPECT_TRUE(IsOneGesture(kSize));
  EXPECT_NEAR(p->Get(kSize), 0.4f, 0.01f);
}

TEST_F(EditorX11, TypedValueCommitsOnReturnAndEscapeCancels) {
  const Shot before = Settled();
  Events().clear();
  Click(kDecayDisplay.x, kDecayDisplay.y);
  // The entry opens with its text selected: the display's area turns light.
  Shot editing;
  ASSERT_TRUE(IdleUntil(*p, [&] {
    return Differing(before, editing = Capture(editor), 279, 265, 327, 279) > 20;
  }));
  for (KeySym k : {XK_3, XK_space, XK_s, XK_e, XK_c}) Tap(k);
  Tap(XK_Return);
  ASSERT_TRUE(IdleUntilEnded()) << Sequence();
  EXPECT_NEAR(p->Get(kDecayTime), (std::log10(3.0f) + 1.0f) / 3.0f, 1e-4f);
  EXPECT_EQ(Count(audioMasterAutomate), 1) << Sequence();
  EXPECT_TRUE(IsOneGesture(kDecayTime));

  // Escape leaves the value as it was and sends the host nothing at all.
  const float kept = p->Get(kDecayTime);
  const Shot committed = Settled();
  Events().clear();
  Click(kDecayDisplay.x, kDecayDisplay.y);
  IdleUntil(*p, [&] { return Differing(committed, Capture(editor), 279, 265, 327, 279) > 20; });
  Tap(XK_9);
  Tap(XK_BackSpace);
  Tap(XK_1);
  Tap(XK_Escape);
  ASSERT_TRUE(IdleUntil(*p, [&] { return Differing(committed, Capture(editor)) == 0; }))
      << "the display did not come back";
  EXPECT_EQ(p->Get(kDecayTime), kept);
  EXPECT_TRUE(Events().empty()) << Sequence();

  // A click elsewhere commits what was typed.
  Events().clear();
  Click(kDecayDisplay.x, kDecayDisplay.y);
  IdleUntil(*p, [&] { return Differing(committed, Capture(editor), 279, 265, 327, 279) > 20; });
  Tap(XK_1);
  Click(700, 470);
  ASSERT_TRUE(IdleUntilEnded()) << Sequence();
  EXPECT_NEAR(p->Get(kDecayTime), 1.0f / 3.0f, 1e-4f);  // 1 second
}

TEST_F(EditorX11, FreezeSwitchAndTheAboutView) {
  const Shot off = Settled();
  Click(kFreezeSwitch.x, kFreezeSwitch.y);
  ASSERT_TRUE(IdleUntilEnded()) << Sequence();
  EXPECT_EQ(p->Get(kDecayFreeze), 1.0f);
  EXPECT_TRUE(IsOneGesture(kDecayFreeze));
  Events().clear();
  Click(kFreezeSwitch.x, kFreezeSwitch.y);
  ASSERT_TRUE(IdleUntilEnded()) << Sequence();
  EXPECT_EQ(p->Get(kDecayFreeze), 0.0f);
  const Shot plain = Settled();
  EXPECT_EQ(Differing(off, plain), 0);

  // The logo opens the about view; its links go to xdg-open (a stand-in here).
  char dir[] = "/tmp/soravel-x11-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string opened = std::string(dir) + "/opened";
  {
    std::ofstream script(std::string(dir) + "/xdg-open");
    script << "#!/bin/sh\necho \"$1\" > " << opened << ".tmp && mv " << opened << ".tmp "
           << opened << "\n";
  }
  chmod((std::string(dir) + "/xdg-open").c_str(), 0755);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (std::string(dir) + ":" + oldPath).c_str(), 1);

  Events().clear();
  Click(kLogo.x, kLogo.y);
  Shot about;
  ASSERT_TRUE(IdleUntil(*p, [&] {
    return Differing(plain, about = Capture(editor)) > kWidth * kHeight / 2;
  }));
  WritePng(about, std::string(SORAVEL_SHOT_DIR) + "/editor-linux-about.png");
  Click(kFreezeSwitch.x, kFreezeSwitch.y);  // modal: nothing below takes the click
  Click(kWebLink.x, kWebLink.y);
  std::string url;
  IdleUntil(*p, [&] {
    std::ifstream in(opened);
    return static_cast<bool>(std::getline(in, url));
  });
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(url, "https://www.quellmark.example/");
  int status = 0;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1) << "a child is left to reap";
  EXPECT_EQ(errno, ECHILD);
  std::remove(opened.c_str());
  std::remove((std::string(dir) + "/xdg-open").c_str());
  rmdir(dir);

  Click(kAboutClose.x, kAboutClose.y);
  ASSERT_TRUE(IdleUntil(*p, [&] { return Differing(plain, Capture(editor)) == 0; }));
  Click(kLogo.x, kLogo.y);
  ASSERT_TRUE(IdleUntil(*p, [&] { return Differing(plain, Capture(editor)) > 1000; }));
  Tap(XK_Escape);
  EXPECT_TRUE(IdleUntil(*p, [&] { return Differing(plain, Capture(editor)) == 0; }));
  EXPECT_EQ(p->Get(kDecayFreeze), 0.0f);
  EXPECT_TRUE(Events().empty()) << Sequence();
}

TEST_F(EditorX11, KeysTheEditorDoesNotUseGoOnToTheHostWindow) {
  XEvent ev;
  while (XCheckWindowEvent(Dpy(), host, KeyPressMask | KeyReleaseMask, &ev)) {
  }
  MoveTo(600, 450);
  Tap(XK_space);
  bool passed = false;
  IdleUntil(*p, [&] {
    while (XCheckWindowEvent(Dpy(), host, KeyPressMask, &ev))
      if (XLookupKeysym(&ev.xkey, 0) == XK_space) passed = true;
    return passed;
  });
  EXPECT_TRUE(passed) << "Space never reached the host window";
}

TEST_F(EditorX11, MeterMovesWithTheAudioOnAnAudioThread) {
  const Shot unlit = Settled();
  std::thread audio([this] { p->Process(0.9f, 44100 / 4); });
  Shot lit;
  const bool rose = IdleUntil(*p, [&] {
    return Differing(unlit, lit = Capture(editor), kMeter[0], kMeter[1], kMeter[2], kMeter[3]) > 2000;
  });
  audio.join();
  EXPECT_TRUE(rose);
  EXPECT_EQ(Differing(unlit, lit, 0, 0, kMeter[0], kHeight), 0) << "more than the meter moved";
  p->Process(0.0f, 44100 * 8);
  EXPECT_TRUE(IdleUntil(*p, [&] {
    return Differing(unlit, Capture(editor), kMeter[0], kMeter[1], kMeter[2], kMeter[3]) <= 10;
  }));
}

// A second thread automates every parameter and switches programs thousands of times
// while the host's GUI thread idles the editor: afterwards the window shows exactly
// what the raster draws for the final values (also run under ThreadSanitizer).
TEST_F(EditorX11, AutomationFromAnotherThreadEndsOnTheFinalValues) {
  auto finalValue = [](int i) { return static_cast<float>((i * 29) % 17) / 16.0f; };
  std::atomic<bool> done{false};
  std::thread automation([&] {
    for (int round = 0; round < 2000; ++round) {
      if (round % 250 == 0) p->Dispatch(effSetProgram, 0, round / 250 % kNumPrograms);
      for (int i = 0; i < kNumParams; ++i)
        p->Set(i, static_cast<float>((round * 7 + i * 13) % 101) / 100.0f);
    }
    p->Dispatch(effSetProgram, 0, 3);
    for (int i = 0; i < kNumParams; ++i) p->Set(i, finalValue(i));
    done.store(true);
  });
  IdleUntil(*p, [&] { return done.load(); }, 60000);
  automation.join();
  const Shot reference = RasterReference([&](VstPlugin& v) {
    v.setProgram(3);
    for (int i = 0; i < kNumParams; ++i) v.setParameter(i, finalValue(i));
  });
  Shot shown;
  IdleUntil(*p, [&] { return Differing(shown = Capture(editor), reference) == 0; });
  EXPECT_EQ(Differing(shown, reference), 0) << "the editor does not show the final values";
  EXPECT_TRUE(Events().empty()) << "automation is not an edit: " << Sequence();
}

TEST(EditorX11Lifecycle, OpenCloseCyclesLeaveNoServerResourcesOrDescriptors) {
  ASSERT_NE(Dpy(), nullptr);
  int major = 0, minor = 0, event = 0, error = 0;
  ASSERT_TRUE(XResQueryExtension(Dpy(), &event, &error) && XResQueryVersion(Dpy(), &major, &minor))
      << "no X-Resource extension";
  Instance p;
  ASSERT_NE(p.effect(), nullptr);
  p.Start();
  const ::Window host = HostWindow();
  void* parent = reinterpret_cast<void*>(host);

  // One cycle with everything used once: the hand cursor, a text entry left open.
  auto cycle = [&](bool full, Resources* seen) {
    ASSERT_EQ(p.Dispatch(effEditOpen, 0, 0, parent), 1);
    p.Dispatch(effEditIdle);
    if (full) {
      MoveTo(kLogo.x, kLogo.y);
      MoveTo(kLogo.x + 1, kLogo.y);
      Click(kDecayDisplay.x, kDecayDisplay.y);
      IdleFor(p, 60);
    }
    if (seen) *seen = ClientResources(Children(host).at(0));
    p.Dispatch(effEditClose);
    EXPECT_TRUE(Children(host).empty());
  };
  const int fdsBefore = OpenDescriptors();
  Resources first, last;
  cycle(true, &first);
  for (int i = 0; i < 100; ++i) cycle(i % 10 == 0, nullptr);
  cycle(true, &last);
  EXPECT_EQ(first, last) << "first " << first << "; after 100 cycles " << last;
  EXPECT_EQ(first.windows, 1) << first;
  EXPECT_EQ(OpenDescriptors(), fdsBefore) << "the display connection stayed open";
  for (unsigned b = 1; b <= 3; ++b) Button(b, false);
}

TEST(EditorX11Lifecycle, ReopensAndGoesWithThePlugin) {
  ASSERT_NE(Dpy(), nullptr);
  const ::Window host = HostWindow();
  auto p = std::make_unique<Instance>();
  p->Start();
  ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)), 1);
  p->Dispatch(effEditClose);
  p->Dispatch(effEditClose);  // twice is harmless
  p->Set(kSize, 0.25f);
  ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)), 1);
  // A second open without a close rebuilds in place.
  ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)), 1);
  EXPECT_EQ(Children(host).size(), 1u);
  IdleFor(*p, 60);
  Click(kDecayDisplay.x, kDecayDisplay.y);  // a text entry open as the plug-in goes
  IdleFor(*p, 60);
  p->Close();
  EXPECT_TRUE(Children(host).empty());
  p.reset();
}

TEST(EditorX11Lifecycle, HostWindowDestroyedFirst) {
  ASSERT_NE(Dpy(), nullptr);
  Instance p;
  p.Start();
  ::Window own = XCreateSimpleWindow(Dpy(), HostWindow(), 0, 0, kWidth, kHeight, 0, 0, 0);
  XMapWindow(Dpy(), own);
  XSync(Dpy(), False);
  ASSERT_EQ(p.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(own)), 1);
  IdleFor(p, 40);
  XDestroyWindow(Dpy(), own);  // the host's window goes before effEditClose
  XSync(Dpy(), False);
  IdleFor(p, 60);
  p.Dispatch(effEditClose);
  EXPECT_GT(p.Process(0.5f, 4096), 0.0f);
}

TEST(EditorX11NoDisplay, OpenAnswersZeroAndAudioGoesOn) {
  Instance p;
  ASSERT_NE(p.effect(), nullptr);
  p.Start();
  // Not a window of the display: refused, nothing else happens.
  if (Dpy()) {
    EXPECT_EQ(p.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1fffff0)), 0);
  }
  EXPECT_EQ(p.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(~uintptr_t{0})), 0);
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  EXPECT_EQ(p.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x400001)), 0);
  if (display) setenv("DISPLAY", saved.c_str(), 1);
  p.Dispatch(effEditIdle);
  p.Dispatch(effEditClose);
  EXPECT_GT(p.Process(0.5f, 4096), 0.0f);
}

// ---- Zoom ----
// Run in a process of their own (a ctest entry of its own): the user's zoom choice holds
// for the rest of the process, so these tests run in order and leave it at 100 %.

namespace {

constexpr int kWidth2 = 1546, kHeight2 = 982;

// The server's resource database, as xrdb sets it: the RESOURCE_MANAGER property of the
// root window, read by every connection opened afterwards.
void SetResources(const char* text) {
  Display* d = Dpy();
  const Atom rm = XInternAtom(d, "RESOURCE_MANAGER", False);
  if (text)
    XChangeProperty(d, DefaultRootWindow(d), rm, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text), static_cast<int>(std::strlen(text)));
  else
    XDeleteProperty(d, DefaultRootWindow(d), rm);
  XSync(d, False);
}

// The part of a zoomed editor on this server's screen.
int VisibleWidth(int w) { return std::min(w, DisplayWidth(Dpy(), DefaultScreen(Dpy()))); }
int VisibleHeight(int h) { return std::min(h, DisplayHeight(Dpy(), DefaultScreen(Dpy()))); }

class EditorX11Zoom : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Dpy(), nullptr) << "no X display: run under xvfb-run";
    ASSERT_TRUE(PluginLibrary::Get().error.empty()) << PluginLibrary::Get().error;
    p = std::make_unique<Instance>();
    ASSERT_NE(p->effect(), nullptr);
    p->Start();
    host = HostWindow();
    MoveTo(kWidth - 5, kHeight - 5);
    Events().clear();
    SizeRequests().clear();
    HostResizes() = true;
  }
  void TearDown() override {
    for (unsigned b = 1; b <= 3; ++b) Button(b, false);
    if (p && p->effect()) {
      p->Dispatch(effEditClose);
      p->Close();
    }
    SetResources(nullptr);
    XResizeWindow(Dpy(), host, kWidth, kHeight);
    XSync(Dpy(), False);
  }
  std::pair<int, int> Rect() {
    ERect* r = nullptr;
    EXPECT_EQ(p->Dispatch(effEditGetRect, 0, 0, &r), 1);
    return r ? std::make_pair(r->right - r->left, r->bottom - r->top) : std::make_pair(0, 0);
  }
  // Opens as a host does: its window made the size the editor asks for.
  void Open() {
    const auto [w, h] = Rect();
    XResizeWindow(Dpy(), host, static_cast<unsigned>(w), static_cast<unsigned>(h));
    ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)), 1);
    const std::vector<::Window> kids = Children(host);
    ASSERT_EQ(kids.size(), 1u);
    editor = kids[0];
    IdleFor(*p, 60);
  }
  std::pair<int, int> WindowSize() {
    XWindowAttributes a{};
    XSync(Dpy(), False);
    XGetWindowAttributes(Dpy(), editor, &a);
    return {a.width, a.height};
  }
  // What the window shows on screen is what the raster draws at 2x.
  void ShowsTheRasterAtTwoX(const char* shotName = nullptr) {
    const int w = VisibleWidth(kWidth2), h = VisibleHeight(kHeight2);
    IdleFor(*p, 1500);  // the meter's markers, at the top on opening, come to rest
    const Shot reference = RasterReference({}, 2.0f, w, h);
    Shot shown;
    IdleUntil(*p, [&] { return Differing(shown = Capture(editor, w, h), reference, 0, 0, w, h) == 0; });
    EXPECT_EQ(Differing(shown, reference, 0, 0, w, h), 0) << "pixels differ from the raster's";
    if (shotName && w == kWidth2 && h == kHeight2) {  // a screen large enough for all of it
      EXPECT_TRUE(WritePng(shown, std::string(SORAVEL_SHOT_DIR) + "/" + shotName));
    }
  }
  // A drag of 100 pixels and a click on the switch at 2x reach the host as 50 pixels
  // and a click do at 1x.
  void DragAndClickAtTwoX() {
    p->Set(kSize, 0.3f);
    IdleFor(*p, 40);
    Events().clear();
    MoveTo(2 * kSizeKnob.x, 2 * kSizeKnob.y);
    Button(1, true);
    for (int dy = 10; dy <= 100; dy += 10) {
      MoveTo(2 * kSizeKnob.x, 2 * kSizeKnob.y - dy);
      IdleFor(*p, 0);
    }
    Button(1, false);
    ASSERT_TRUE(IdleUntilEnded()) << Sequence();
    EXPECT_NEAR(p->Get(kSize), 0.55f, 0.01f);
    EXPECT_TRUE(IsOneGesture(kSize));
    Events().clear();
    const float frozen = p->Get(kDecayFreeze);
    Click(2 * kFreezeSwitch.x, 2 * kFreezeSwitch.y);
    ASSERT_TRUE(IdleUntilEnded()) << Sequence();
    EXPECT_NE(p->Get(kDecayFreeze), frozen);
    EXPECT_TRUE(IsOneGesture(kDecayFreeze));
  }
  bool IdleUntilEnded() { return IdleUntilGesturesEnd(*p); }
  std::unique_ptr<Instance> p;
  ::Window host = 0, editor = 0;
};

}  // namespace

// A desktop at 200 % (Xft.dpi 192): the editor asks for twice its size and opens at it.
TEST_F(EditorX11Zoom, OpensAtTwiceBySettingOfTheDesktop) {
  SetResources("Xft.antialias:\t1\nXft.dpi:\t192\n");
  EXPECT_EQ(Rect(), std::make_pair(kWidth2, kHeight2));
  Open();
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth2, kHeight2));
  ShowsTheRasterAtTwoX();
  DragAndClickAtTwoX();
  EXPECT_TRUE(SizeRequests().empty());
}

// The host's content scale before opening, and a change of it while open.
TEST_F(EditorX11Zoom, HostContentScaleBeforeAndAfterOpening) {
  EXPECT_EQ(p->Dispatch(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 2.0f), 1);
  EXPECT_EQ(Rect(), std::make_pair(kWidth2, kHeight2));
  Open();
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth2, kHeight2));
  ShowsTheRasterAtTwoX("editor-linux-200.png");
  DragAndClickAtTwoX();
  EXPECT_EQ(p->Dispatch(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 1.0f), 1);
  IdleFor(*p, 60);
  ASSERT_EQ(SizeRequests().size(), 1u);
  EXPECT_EQ(SizeRequests()[0].width, kWidth);
  EXPECT_EQ(SizeRequests()[0].height, kHeight);
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
  EXPECT_EQ(Rect(), std::make_pair(kWidth, kHeight));
  const float size = p->Get(kSize), freeze = p->Get(kDecayFreeze);
  const Shot reference = RasterReference([&](VstPlugin& v) {
    v.setParameter(kSize, size);
    v.setParameter(kDecayFreeze, freeze);
  });
  Shot shown;
  IdleUntil(*p, [&] { return Differing(shown = Capture(editor), reference) == 0; });
  EXPECT_EQ(Differing(shown, reference), 0);
}

// The user's choice in the about view: a host that refuses the size keeps the editor as
// it was; reopened, it comes at the choice, which the next instance keeps too. Last: it
// leaves the choice at 100 %.
TEST_F(EditorX11Zoom, UserChoiceRefusedThenReopenedAndRemembered) {
  Open();
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
  const Shot plain = Capture(editor);
  Click(kLogo.x, kLogo.y);
  ASSERT_TRUE(IdleUntil(*p, [&] { return Differing(plain, Capture(editor)) > 1000; }));
  HostResizes() = false;
  const CBounds twoX = about::kZoomChoices[2], oneX = about::kZoomChoices[0];
  Click((twoX.left + twoX.right) / 2, (twoX.top + twoX.bottom) / 2);
  IdleFor(*p, 60);
  ASSERT_EQ(SizeRequests().size(), 1u);
  EXPECT_EQ(SizeRequests()[0].width, kWidth2);
  EXPECT_EQ(SizeRequests()[0].height, kHeight2);
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
  EXPECT_EQ(Rect(), std::make_pair(kWidth, kHeight));
  p->Dispatch(effEditClose);
  HostResizes() = true;
  Open();
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth2, kHeight2));
  ShowsTheRasterAtTwoX();
  DragAndClickAtTwoX();

  Instance second;
  second.Start();
  ERect* r = nullptr;
  second.Dispatch(effEditGetRect, 0, 0, &r);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->right - r->left, kWidth2);
  second.Close();

  // Back to 100 % from the about view at 2x.
  Click(2 * kLogo.x, 2 * kLogo.y);
  IdleFor(*p, 60);
  SizeRequests().clear();
  Click(oneX.left + oneX.right, oneX.top + oneX.bottom);  // its centre at 2x
  IdleFor(*p, 60);
  ASSERT_EQ(SizeRequests().size(), 1u);
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
}
