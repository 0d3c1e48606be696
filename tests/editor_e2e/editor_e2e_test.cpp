// The editor of the built Soravel.dll in a real host window (under Wine with a virtual
// display): opening, painting, the gestures a musician makes and what reaches the host,
// the level meter, the about view, closing, object counts, and screenshots.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/editor_e2e/capture.h"
#include "tests/support/native_path.h"
#include "tests/support/vst2/host_events.h"
#include "tests/support/vst2/host_log.h"
#include "tests/support/vst2/instance.h"
#include "tests/support/vst2/library.h"

namespace {

constexpr int kWidth = 773, kHeight = 491;

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// What a host does between user actions for about `ms` milliseconds: editor idle calls
// and message pumping (paints, the meter's timer).
void Idle(Instance& p, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    p.Dispatch(effEditIdle);
    Pump();
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// Messages only, no editor idle calls: what moves now is moved by the editor's timers.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    Pump();
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// Keys that reach the host window, as "down 32", "char 32", "up 32".
std::vector<std::string>& HostKeys() {
  static std::vector<std::string> keys;
  return keys;
}

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR) {
    HostKeys().push_back(std::string(m == WM_KEYDOWN ? "down " : m == WM_KEYUP ? "up " : "char ") +
                         std::to_string(w));
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

// A top-level host window at the screen's top-left whose client area is the editor's
// size. One for the whole process: without a window manager, Wine waits two seconds for
// every top-level window it destroys. Each caller gets it without children.
HWND HostWindow() {
  static HWND h = nullptr;
  if (!h) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SoravelE2EHost";
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    RECT r{0, 0, kWidth, kHeight};
    AdjustWindowRect(&r, style, FALSE);
    h = CreateWindowExA(WS_EX_TOPMOST, "SoravelE2EHost", "Soravel host", style, 0, 0,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
  }
  // Whatever a failed test left behind goes.
  while (HWND c = GetWindow(h, GW_CHILD)) DestroyWindow(c);
  Pump();
  return h;
}

HWND EditorWindow(HWND host) { return FindWindowExA(host, nullptr, "TVSTEditor", nullptr); }

// Dark grey background with light lettering, many colours: a painted editor, not a blank
// or single-coloured window.
::testing::AssertionResult LooksPainted(const Shot& s) {
  if (s.width != kWidth || s.height != kHeight)
    return ::testing::AssertionFailure() << "capture is " << s.width << " x " << s.height;
  long long sum = 0;
  int light = 0;
  std::vector<uint32_t> colours;
  for (uint32_t p : s.px) {
    const int b = Brightness(p & 0xffffff);
    sum += b;
    if (b > 180) ++light;
    if (colours.size() < 200 &&
        std::find(colours.begin(), colours.end(), p & 0xffffff) == colours.end())
      colours.push_back(p & 0xffffff);
  }
  const long long mean = sum / static_cast<long long>(s.px.size());
  if (mean < 15 || mean > 120 || light < 500 || colours.size() < 100)
    return ::testing::AssertionFailure() << "mean brightness " << mean << ", light pixels "
                                         << light << ", colours " << colours.size();
  return ::testing::AssertionSuccess();
}

std::string ShotPath(const char* name) {
  return NativePath(std::string(SORAVEL_SHOT_DIR) + "/" + name);
}

void Save(const Shot& s, const char* name) {
  std::string error;
  EXPECT_TRUE(WritePng(s, ShotPath(name), &error)) << error;
}

// Control positions in frame pixels (the editor's layout).
struct Point {
  int x, y;
};
constexpr Point kDryKnob{386, 85};           // level knob, tag 2
constexpr Point kDecayDisplay{303, 272};     // tag 7
constexpr Point kFreezeSwitch{382, 235};     // tag 8
constexpr Point kSizeKnob{476, 224};         // linear knob, tag 9
constexpr Point kLogo{100, 60};              // about area, clear of the close mark
constexpr Point kAboutClose{167, 78};
constexpr int kMeter[4] = {648, 178, 711, 435};
constexpr int kSwitch[4] = {354, 206, 410, 265};

class EditorE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PluginLibrary::Get().error.empty()) << PluginLibrary::Get().error;
    p = std::make_unique<Instance>();
    ASSERT_NE(p->effect(), nullptr);
    ASSERT_TRUE(p->effect()->flags & effFlagsHasEditor) << "Soravel.dll reports no editor";
    p->Start();
    host = HostWindow();
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, host), 1);
    editor = EditorWindow(host);
    ASSERT_NE(editor, nullptr);
    Idle(*p, 60);
    Events().clear();
  }
  void TearDown() override {
    if (p && p->effect()) {
      p->Dispatch(effEditClose);
      p->Close();
    }
    Pump();
  }

  void Send(UINT msg, WPARAM flags, Point at) {
    SendMessageA(editor, msg, flags, MAKELPARAM(at.x, at.y));
  }
  void Click(Point at, WPARAM modifiers = 0) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON | modifiers, at);
    Send(WM_LBUTTONUP, modifiers, at);
  }
  // The picture once the meter's peak markers have come to rest: two captures in a row
  // agree (at most a few seconds). The captures lie further apart than a marker's hold
  // (nine ticks of the meter's 20 ms timer), so that a held marker is not taken for one
  // at rest.
  Shot Settled() {
    Idle(*p, 60);
    Shot last = Capture(editor);
    for (int i = 0; i < 20; ++i) {
      Idle(*p, 200);
      Shot now = Capture(editor);
      if (CountDiffering(last, now, 0, 0, kWidth, kHeight, 0) == 0) return now;
      last = std::move(now);
    }
    ADD_FAILURE() << "the editor's picture never came to rest";
    return last;
  }
  int Differing(const Shot& a, const Shot& b, const int (&r)[4]) {
    return CountDiffering(a, b, r[0], r[1], r[2], r[3]);
  }

  std::unique_ptr<Instance> p;
  HWND host = nullptr;
  HWND editor = nullptr;
};

}  // namespace

TEST(EditorRecord, RectIsKnownBeforeOpeningAndIdleWithoutWindowIsHarmless) {
  ASSERT_TRUE(PluginLibrary::Get().error.empty()) << PluginLibrary::Get().error;
  Instance p;
  ASSERT_NE(p.effect(), nullptr);
  EXPECT_TRUE(p.effect()->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(p.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, kWidth);
  EXPECT_EQ(rect->bottom - rect->top, kHeight);
  p.Dispatch(effEditIdle);  // not open: nothing to do
  p.Dispatch(effEditClose);
  Pump();
}

TEST_F(EditorE2E, OpensAsChildOfTheHostAndPaintsTheEditor) {
  EXPECT_EQ(GetParent(editor), host);
  RECT r{};
  GetClientRect(editor, &r);
  EXPECT_EQ(r.right, kWidth);
  EXPECT_EQ(r.bottom, kHeight);
  const Shot plain = Settled();
  EXPECT_TRUE(LooksPainted(plain));
  Save(plain, "editor-default.png");

  // Decay Freeze on from the host: the switch and its text follow at the next idle.
  p->Set(8, 1.0f);
  const Shot frozen = Settled();
  EXPECT_GT(Differing(plain, frozen, kSwitch), 100);
  EXPECT_GT(CountDiffering(plain, frozen, 360, 267, 405, 277), 5) << "freeze text unchanged";
  Save(frozen, "editor-freeze.png");
  EXPECT_TRUE(Events().empty()) << "host changes are not edits: " << Sequence();
}

TEST_F(EditorE2E, KnobDragSetsTheParameterAsOneHostGesture) {
  p->Set(9, 0.3f);
  const Shot before = Settled();
  Events().clear();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, kSizeKnob);
  for (int dy = 5; dy <= 50; dy += 5) Send(WM_MOUSEMOVE, MK_LBUTTON, {kSizeKnob.x, kSizeKnob.y - dy});
  Send(WM_LBUTTONUP, 0, {kSizeKnob.x, kSizeKnob.y - 50});
  // Linear dragging: 200 pixels span the whole range.
  EXPECT_NEAR(p->Get(9), 0.55f, 0.01f);
  EXPECT_TRUE(IsOneGesture(9));
  EXPECT_NEAR(Log().lastAutomateValue.load(), p->Get(9), 1e-6f);
  const Shot after = Settled();
  EXPECT_GT(CountDiffering(before, after, 440, 188, 512, 260), 20) << "knob not redrawn";
  EXPECT_GT(CountDiffering(before, after, 452, 265, 500, 279), 5) << "display not redrawn";
}

// Another window takes the mouse in the middle of a drag (a host's dialog, a deactivation):
// the host gets the end of the edit then and no second one; the next drag is whole.
TEST_F(EditorE2E, LosingTheMouseMidDragEndsTheHostGesture) {
  p->Set(9, 0.3f);
  Idle(*p, 30);
  Events().clear();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, kSizeKnob);
  Send(WM_MOUSEMOVE, MK_LBUTTON, {kSizeKnob.x, kSizeKnob.y - 20});
  ASSERT_EQ(GetCapture(), editor);
  SetCapture(host);
  EXPECT_TRUE(IsOneGesture(9));
  Send(WM_MOUSEMOVE, MK_LBUTTON, {kSizeKnob.x, kSizeKnob.y - 40});
  Send(WM_LBUTTONUP, 0, {kSizeKnob.x, kSizeKnob.y - 40});
  ReleaseCapture();
  EXPECT_TRUE(IsOneGesture(9));  // nothing after the end
  EXPECT_NEAR(p->Get(9), 0.4f, 0.01f);

  Events().clear();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, kSizeKnob);
  Send(WM_MOUSEMOVE, MK_LBUTTON, {kSizeKnob.x, kSizeKnob.y - 20});
  Send(WM_LBUTTONUP, 0, {kSizeKnob.x, kSizeKnob.y - 20});
  EXPECT_TRUE(IsOneGesture(9));
  EXPECT_NEAR(p->Get(9), 0.5f, 0.01f);
}

// After a click on a knob, Space (the host's play key) still reaches the host window
// through real keyboard input, and the arrows still move the knob.
TEST_F(EditorE2E, HostKeepsItsKeysAfterAKnobClick) {
  SetForegroundWindow(host);
  p->Set(9, 0.3f);
  Idle(*p, 30);
  Click(kSizeKnob);
  ASSERT_EQ(GetFocus(), editor);
  Events().clear();
  HostKeys().clear();
  auto press = [&](WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, in, sizeof(INPUT)), 2u);
    Idle(*p, 60);
  };
  press(VK_SPACE);
  EXPECT_EQ(HostKeys(), (std::vector<std::string>{"down 32", "char 32", "up 32"}));
  EXPECT_TRUE(Events().empty()) << Sequence();
  HostKeys().clear();
  press(VK_UP);
  EXPECT_TRUE(HostKeys().empty()) << HostKeys().front();
  EXPECT_NEAR(p->Get(9), 0.4f, 1e-4f);
  EXPECT_TRUE(IsOneGesture(9));
}

TEST_F(EditorE2E, ControlClickResetsALevelKnobToItsMiddle) {
  p->Set(2, 0.3f);
  Idle(*p, 30);
  Events().clear();
  Click(kDryKnob, MK_CONTROL);
  // Knob position 0.5 on the level curve.
  EXPECT_NEAR(p->Get(2), 0.9101f, 1e-3f);
  EXPECT_TRUE(IsOneGesture(2));
  // A plain click without moving changes nothing.
  Events().clear();
  const float reset = p->Get(2);
  Click(kDryKnob);
  EXPECT_NEAR(p->Get(2), reset, 1e-5f);
}

TEST_F(EditorE2E, WheelNotchMovesTheKnobByOneIncrement) {
  p->Set(9, 0.3f);
  Idle(*p, 30);
  Events().clear();
  POINT s{kSizeKnob.x, kSizeKnob.y};
  ClientToScreen(editor, &s);  // the wheel's point arrives in screen coordinates
  SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(s.x, s.y));
  EXPECT_NEAR(p->Get(9), 0.4f, 1e-4f);
  EXPECT_TRUE(IsOneGesture(9));
  Events().clear();
  SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)),
               MAKELPARAM(s.x, s.y));
  EXPECT_NEAR(p->Get(9), 0.2f, 1e-4f);
  EXPECT_TRUE(IsOneGesture(9));
}

TEST_F(EditorE2E, TypingIntoAValueDisplaySetsTheParameter) {
  const Shot before = Settled();
  Events().clear();
  Click(kDecayDisplay);
  HWND edit = FindWindowExA(editor, nullptr, "EDIT", nullptr);
  ASSERT_NE(edit, nullptr) << "no text entry opened";
  char shown[64] = {};
  GetWindowTextA(edit, shown, sizeof shown);
  EXPECT_NE(std::string(shown).find(" sec"), std::string::npos) << shown;  // value and unit
  for (char c : std::string("3 sec")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(IsWindow(edit));
  // Decay time is log10 of seconds over -1..2.
  EXPECT_NEAR(p->Get(7), (std::log10(3.0f) + 1.0f) / 3.0f, 1e-4f);
  int automates = 0, begins = 0, ends = 0;
  for (const HostEvent& ev : Events()) {
    EXPECT_EQ(ev.index, 7) << Sequence();
    if (ev.op == audioMasterAutomate) {
      ++automates;
      EXPECT_NEAR(ev.value, 0.49237f, 1e-4f);
    }
    begins += ev.op == audioMasterBeginEdit;
    ends += ev.op == audioMasterEndEdit;
  }
  EXPECT_EQ(automates, 1) << Sequence();
  EXPECT_EQ(begins, ends) << Sequence();
  EXPECT_TRUE(IsOneGesture(7));  // the new value goes out before the edit ends
  const Shot after = Settled();
  EXPECT_GT(CountDiffering(before, after, 279, 265, 327, 279), 5) << "display not redrawn";
  EXPECT_GT(CountDiffering(before, after, 255, 167, 351, 263), 20) << "knob did not follow";
}

// Escape in a value display's text entry: the entry closes, the display shows the value it
// had, and the host hears of no change.
TEST_F(EditorE2E, EscapeInAValueDisplayCancelsTheTyping) {
  const float decay = p->Get(7);
  const Shot before = Settled();
  Events().clear();
  Click(kDecayDisplay);
  HWND edit = FindWindowExA(editor, nullptr, "EDIT", nullptr);
  ASSERT_NE(edit, nullptr) << "no text entry opened";
  for (char c : std::string("9 sec")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(p->Get(7), decay);
  for (const HostEvent& ev : Events()) EXPECT_NE(ev.op, audioMasterAutomate) << Sequence();
  EXPECT_EQ(CountDiffering(before, Settled(), 279, 265, 327, 279), 0) << "display changed";
}

TEST_F(EditorE2E, FreezeSwitchTogglesOnEachClick) {
  ASSERT_EQ(p->Get(8), 0.0f);
  const Shot off = Settled();
  Events().clear();
  Click(kFreezeSwitch);
  EXPECT_EQ(p->Get(8), 1.0f);
  EXPECT_TRUE(IsOneGesture(8));
  const Shot on = Settled();
  EXPECT_GT(Differing(off, on, kSwitch), 100);
  Events().clear();
  Click(kFreezeSwitch);
  EXPECT_EQ(p->Get(8), 0.0f);
  EXPECT_TRUE(IsOneGesture(8));
  // Only the left button toggles.
  Send(WM_RBUTTONDOWN, MK_RBUTTON, kFreezeSwitch);
  Send(WM_RBUTTONUP, 0, kFreezeSwitch);
  EXPECT_EQ(p->Get(8), 0.0f);
  EXPECT_EQ(Differing(off, Settled(), kSwitch), 0);
}

TEST_F(EditorE2E, MeterRisesWithAudioAndFallsBackInSilence) {
  const Shot unlit = Settled();
  p->Process(0.9f, 44100 / 4);
  // Four bars of 5 x 257 pixels; a signal near 0 dB lights most of them. The meter's
  // 20 ms timer alone redraws it: no host idle calls here.
  Shot lit;
  for (int i = 0; i < 40 && (lit.px.empty() || Differing(unlit, lit, kMeter) <= 2000); ++i) {
    PumpFor(50);
    lit = Capture(editor);
  }
  EXPECT_GT(Differing(unlit, lit, kMeter), 2000);
  EXPECT_EQ(CountDiffering(unlit, lit, 0, 0, kMeter[0], kHeight), 0) << "more than the meter moved";

  // Silence long enough for the reverb tail to die, then the peak markers fall.
  p->Process(0.0f, 44100 * 8);
  int left = -1;
  for (int i = 0; i < 100 && left != 0; ++i) {
    PumpFor(50);
    left = Differing(unlit, Capture(editor), kMeter);
  }
  EXPECT_LE(left, 10) << "pixels still lit after silence";
}

TEST_F(EditorE2E, AboutViewCoversTheEditorAndClosesByMarkOrEscape) {
  const Shot plain = Settled();
  Click(kLogo);
  const Shot about = Settled();
  EXPECT_GT(CountDiffering(plain, about, 0, 0, kWidth, kHeight), kWidth * kHeight / 2);
  Save(about, "editor-about.png");
  // Modal: a click on the freeze switch below does not reach it.
  Click(kFreezeSwitch);
  EXPECT_EQ(p->Get(8), 0.0f);
  EXPECT_TRUE(Events().empty()) << Sequence();
  // Just outside the close mark (right and bottom edges excluded): stays.
  Click({187, 98});
  EXPECT_GT(CountDiffering(plain, Settled(), 0, 0, kWidth, kHeight), kWidth * kHeight / 2);
  Click(kAboutClose);
  EXPECT_LE(CountDiffering(plain, Settled(), 0, 0, kWidth, kHeight), 10);

  Click(kLogo);
  EXPECT_GT(CountDiffering(plain, Settled(), 0, 0, kWidth, kHeight), kWidth * kHeight / 2);
  SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);  // not a closing key
  EXPECT_GT(CountDiffering(plain, Settled(), 0, 0, kWidth, kHeight), kWidth * kHeight / 2);
  SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_LE(CountDiffering(plain, Settled(), 0, 0, kWidth, kHeight), 10);
  EXPECT_TRUE(Events().empty()) << Sequence();
}

namespace {
// GDI and USER objects of this process. Windows counts them for GetGuiResources; Wine
// answers 0 there, so under Wine the GDI handle table is probed (a handle value with a
// zero upper word matches any live entry of that index) and windows are counted.
struct GuiCounts {
  DWORD gdi, user;
  bool system;  // counted by GetGuiResources
};
BOOL CALLBACK CountChild(HWND, LPARAM n) {
  ++*reinterpret_cast<DWORD*>(n);
  return TRUE;
}
BOOL CALLBACK CountTop(HWND w, LPARAM n) {
  ++*reinterpret_cast<DWORD*>(n);
  EnumChildWindows(w, CountChild, n);
  return TRUE;
}
GuiCounts Counts() {
  GuiCounts c{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
              GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), true};
  if (c.gdi != 0 || c.user != 0) return c;
  c.system = false;
  for (ULONG_PTR v = 1; v <= 0xffff; ++v)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(v)) != 0) ++c.gdi;
  EnumThreadWindows(GetCurrentThreadId(), CountTop, reinterpret_cast<LPARAM>(&c.user));
  return c;
}
}  // namespace

TEST(EditorLifecycle, ReopensAndOpenCloseCyclesLeaveNoObjectsBehind) {
  ASSERT_TRUE(PluginLibrary::Get().error.empty()) << PluginLibrary::Get().error;
  Instance p;
  ASSERT_NE(p.effect(), nullptr);
  p.Start();
  HWND host = HostWindow();
  ASSERT_NE(host, nullptr);
  {  // the counting itself sees one object of each kind come and go
    const GuiCounts base = Counts();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HWND extra = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 4, 4, host, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    const GuiCounts more = Counts();
    EXPECT_EQ(more.gdi, base.gdi + 1);
    EXPECT_EQ(more.user, base.user + 1);
    DeleteObject(brush);
    DestroyWindow(extra);
  }

  ASSERT_EQ(p.Dispatch(effEditOpen, 0, 0, host), 1);
  HWND first = EditorWindow(host);
  ASSERT_NE(first, nullptr);
  p.Dispatch(effEditClose);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(EditorWindow(host), nullptr);
  p.Set(9, 0.25f);  // while closed: nothing to show, nothing to crash
  ASSERT_EQ(p.Dispatch(effEditOpen, 0, 0, host), 1);
  HWND second = EditorWindow(host);
  ASSERT_NE(second, nullptr);
  Idle(p, 100);
  EXPECT_TRUE(LooksPainted(Capture(second)));
  p.Dispatch(effEditClose);
  Pump();

  // One cycle: open, paint, optionally leave a text entry open, close.
  auto cycle = [&](bool editing) {
    if (p.Dispatch(effEditOpen, 0, 0, host) != 1) {
      ADD_FAILURE() << "effEditOpen refused";
      return;
    }
    HWND w = EditorWindow(host);
    p.Dispatch(effEditIdle);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (editing) {
      SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kDecayDisplay.x, kDecayDisplay.y));
      SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(kDecayDisplay.x, kDecayDisplay.y));
      EXPECT_NE(FindWindowExA(w, nullptr, "EDIT", nullptr), nullptr);
    }
    Pump();
    p.Dispatch(effEditClose);
    Pump();
    EXPECT_FALSE(IsWindow(w));
  };
  // The first text entry creates objects Wine keeps for the process (4 GDI objects
  // here, the same after 1 or 25 cycles): one cycle of each kind before counting.
  cycle(false);
  cycle(true);
  const GuiCounts start = Counts();
  for (int i = 0; i < 25; ++i) cycle(false);
  const GuiCounts plain = Counts();
  for (int i = 0; i < 25; ++i) cycle(true);
  const GuiCounts editing = Counts();
  std::printf("%s: GDI objects %lu -> %lu -> %lu, USER objects %lu -> %lu -> %lu\n",
              start.system ? "GetGuiResources" : "probed handle table, windows",
              static_cast<unsigned long>(start.gdi), static_cast<unsigned long>(plain.gdi),
              static_cast<unsigned long>(editing.gdi), static_cast<unsigned long>(start.user),
              static_cast<unsigned long>(plain.user), static_cast<unsigned long>(editing.user));
  EXPECT_EQ(plain.gdi, start.gdi);
  EXPECT_EQ(plain.user, start.user);
  EXPECT_EQ(editing.gdi, start.gdi) << "with a text entry open at close";
  EXPECT_EQ(editing.user, start.user) << "with a text entry open at close";
  Pump();
}

TEST(EditorLifecycle, EffCloseWithTheEditorOpenClosesItsWindowFirst) {
  ASSERT_TRUE(PluginLibrary::Get().error.empty()) << PluginLibrary::Get().error;
  auto p = std::make_unique<Instance>();
  ASSERT_NE(p->effect(), nullptr);
  p->Start();
  HWND host = HostWindow();
  ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, host), 1);
  HWND w = EditorWindow(host);
  ASSERT_NE(w, nullptr);
  Idle(*p, 60);
  // A text entry open, so that its window must go too.
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kDecayDisplay.x, kDecayDisplay.y));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(kDecayDisplay.x, kDecayDisplay.y));
  HWND edit = FindWindowExA(w, nullptr, "EDIT", nullptr);
  EXPECT_NE(edit, nullptr);
  p->Close();
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(IsWindow(edit));
  PumpFor(150);  // timers and paints must not reach the freed editor
  InvalidateRect(host, nullptr, TRUE);
  UpdateWindow(host);
  Pump();
  p.reset();
  Pump();
}

// ---- Zoom ----
// A ctest entry of their own: the user's zoom choice lasts as long as the process, so
// these run in order in a fresh one and leave the choice at 100 %. The screen's DPI is
// read when a process starts: that test runs a child process of this executable with
// the Windows setting for 200 % (LogPixels 192) in the registry.

namespace {

constexpr int kWidth2 = 1546, kHeight2 = 982;
const char* const kDpiChildVariable = "SORAVEL_E2E_DPI_CHILD";
constexpr Point kZoom100{251, 375};  // the about view's zoom choices
constexpr Point kZoom200{339, 375};

void SizeHost(HWND host, int width, int height) {
  SetWindowPos(host, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
}

class EditorE2EZoom : public ::testing::Test {
 protected:
  void SetUp() override {
    // A host that follows the screen's DPI (before any window of the process).
    if (std::getenv(kDpiChildVariable)) SetProcessDPIAware();
    ASSERT_TRUE(PluginLibrary::Get().error.empty()) << PluginLibrary::Get().error;
    p = std::make_unique<Instance>();
    ASSERT_NE(p->effect(), nullptr);
    p->Start();
    host = HostWindow();
    Events().clear();
    SizeRequests().clear();
    HostResizes() = true;
  }
  void TearDown() override {
    if (p && p->effect()) {
      p->Dispatch(effEditClose);
      p->Close();
    }
    SizeHost(host, kWidth, kHeight);
  }
  std::pair<int, int> Rect() {
    ERect* r = nullptr;
    EXPECT_EQ(p->Dispatch(effEditGetRect, 0, 0, &r), 1);
    return r ? std::make_pair(r->right - r->left, r->bottom - r->top) : std::make_pair(0, 0);
  }
  // Opens as a host does: its window made the size the editor asks for.
  void Open() {
    const auto [w, h] = Rect();
    SizeHost(host, w, h);
    ASSERT_EQ(p->Dispatch(effEditOpen, 0, 0, host), 1);
    editor = EditorWindow(host);
    ASSERT_NE(editor, nullptr);
    Idle(*p, 60);
  }
  std::pair<int, int> WindowSize() {
    RECT r{};
    GetClientRect(editor, &r);
    return {r.right, r.bottom};
  }
  void Send(UINT msg, WPARAM flags, int x, int y) {
    SendMessageA(editor, msg, flags, MAKELPARAM(x, y));
  }
  void Click(int x, int y) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Send(WM_LBUTTONUP, 0, x, y);
  }
  // At 2x: a drag of 100 pixels and a click on the switch reach the host as 50 pixels
  // and a click do at 1x; the picture is the editor's, twice as large.
  void WorksAtTwoX(const char* shotName = nullptr) {
    EXPECT_EQ(WindowSize(), std::make_pair(kWidth2, kHeight2));
    Idle(*p, shotName ? 1500 : 100);  // for a picture: the meter's markers come to rest
    const Shot shot = Capture(editor);
    ASSERT_EQ(shot.width, kWidth2);
    // The panel's lettering lies where the layout puts it, twice as far out: the Size
    // knob's label ("SIZE", light on the card) under its display at 2x.
    int light = 0;
    for (int y = 2 * 281; y < 2 * 291; ++y)
      for (int x = 2 * 460; x < 2 * 492; ++x) light += Brightness(shot.at(x, y)) > 150;
    EXPECT_GT(light, 40) << "no label where the layout puts it at 2x";
    if (shotName) Save(shot, shotName);
    p->Set(9, 0.3f);
    Idle(*p, 30);
    Events().clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 2 * kSizeKnob.x, 2 * kSizeKnob.y);
    for (int dy = 10; dy <= 100; dy += 10)
      Send(WM_MOUSEMOVE, MK_LBUTTON, 2 * kSizeKnob.x, 2 * kSizeKnob.y - dy);
    Send(WM_LBUTTONUP, 0, 2 * kSizeKnob.x, 2 * kSizeKnob.y - 100);
    EXPECT_NEAR(p->Get(9), 0.55f, 0.01f);
    EXPECT_TRUE(IsOneGesture(9));
    Events().clear();
    const float frozen = p->Get(8);
    Click(2 * kFreezeSwitch.x, 2 * kFreezeSwitch.y);
    EXPECT_NE(p->Get(8), frozen);
    EXPECT_TRUE(IsOneGesture(8));
  }
  std::unique_ptr<Instance> p;
  HWND host = nullptr;
  HWND editor = nullptr;
};

}  // namespace

// The host's content scale before opening, and a change of it while open.
TEST_F(EditorE2EZoom, HostContentScaleBeforeAndAfterOpening) {
  EXPECT_EQ(p->Dispatch(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 2.0f), 1);
  EXPECT_EQ(Rect(), std::make_pair(kWidth2, kHeight2));
  Open();
  WorksAtTwoX("editor-200.png");
  EXPECT_TRUE(SizeRequests().empty());
  EXPECT_EQ(p->Dispatch(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 1.0f), 1);
  ASSERT_EQ(SizeRequests().size(), 1u);
  EXPECT_EQ(SizeRequests()[0].width, kWidth);
  EXPECT_EQ(SizeRequests()[0].height, kHeight);
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
  EXPECT_EQ(Rect(), std::make_pair(kWidth, kHeight));
  EXPECT_EQ(p->Dispatch(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 8.0f), 0);
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
}

// The user's choice in the about view: refused by the host, the editor stays as it was;
// reopened, it comes at the choice; the next instance asks for that size too.
TEST_F(EditorE2EZoom, UserChoiceRefusedThenReopenedAndRemembered) {
  Open();
  Click(kLogo.x, kLogo.y);
  Idle(*p, 30);
  HostResizes() = false;
  Click(kZoom200.x, kZoom200.y);
  ASSERT_EQ(SizeRequests().size(), 1u);
  EXPECT_EQ(SizeRequests()[0].width, kWidth2);
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
  EXPECT_EQ(Rect(), std::make_pair(kWidth, kHeight));
  p->Dispatch(effEditClose);
  HostResizes() = true;
  EXPECT_EQ(Rect(), std::make_pair(kWidth2, kHeight2));
  Open();
  WorksAtTwoX();
  {
    Instance second;
    second.Start();
    ERect* r = nullptr;
    second.Dispatch(effEditGetRect, 0, 0, &r);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->right - r->left, kWidth2);
  }
  // Back to 100 % from the about view at 2x.
  Click(2 * kLogo.x, 2 * kLogo.y);
  Idle(*p, 30);
  SizeRequests().clear();
  Click(2 * kZoom100.x, 2 * kZoom100.y);
  ASSERT_EQ(SizeRequests().size(), 1u);
  EXPECT_EQ(WindowSize(), std::make_pair(kWidth, kHeight));
}

// Windows at 200 % (LogPixels 192): a DPI-aware host's editor opens at 200 %. Runs
// this executable again with the setting, as the system reads it when a process starts.
TEST_F(EditorE2EZoom, OpensAtTwiceByTheScreensDpi) {
  if (std::getenv(kDpiChildVariable)) {
    Open();
    WorksAtTwoX();
    return;
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD old = 0, oldSize = sizeof old, type = 0;
  const bool hadOld = RegQueryValueExA(key, "LogPixels", nullptr, &type,
                                       reinterpret_cast<BYTE*>(&old), &oldSize) == ERROR_SUCCESS;
  const DWORD dpi = 192;
  ASSERT_EQ(RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                           sizeof dpi),
            ERROR_SUCCESS);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self +
                        "\" --gtest_brief=1 --gtest_filter=EditorE2EZoom.OpensAtTwiceByTheScreensDpi";
  SetEnvironmentVariableA(kDpiChildVariable, "1");
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &si, &pi);
  SetEnvironmentVariableA(kDpiChildVariable, nullptr);
  DWORD exitCode = 1;
  if (started) {
    WaitForSingleObject(pi.hProcess, 120000);
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  if (hadOld)
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof old);
  else
    RegDeleteValueA(key, "LogPixels");
  RegCloseKey(key);
  ASSERT_TRUE(started);
  EXPECT_EQ(exitCode, 0u) << "the editor did not work at 200 % in a process at 192 dpi";
}
