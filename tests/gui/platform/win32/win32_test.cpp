// The framework on the real Win32 window system (run under Wine with a virtual display):
// messages to the frame window, painting, the EDIT control, timers, pixel agreement with
// the raster, what image draws and fonts cost, and no GDI/USER objects left behind by
// opening and closing frames.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui/platform/raster/raster_surface.h"
#include "gui/platform/win32/win32_platform.h"
#include "gui/timer.h"
#include "tests/gui/helpers_common.h"

namespace {

// Key messages that reach the host window, as "down 32", "char 32", "up 32", "sysdown 70".
std::vector<std::string> gHostKeys;
HWND gBounceTo = nullptr;  // a host that hands every key on to this window

LRESULT CALLBACK hostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  const char* kind = m == WM_KEYDOWN      ? "down"
                     : m == WM_KEYUP      ? "up"
                     : m == WM_CHAR       ? "char"
                     : m == WM_SYSKEYDOWN ? "sysdown"
                     : m == WM_SYSKEYUP   ? "sysup"
                                          : nullptr;
  if (kind) {
    gHostKeys.push_back(std::string(kind) + " " + std::to_string(w));
    if (gBounceTo) return SendMessageA(gBounceTo, m, w, l);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

HWND makeHost() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SoravelTestHost";
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
    registered = true;
  }
  HWND h = CreateWindowExA(0, "SoravelTestHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 320, 220,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  return h;
}

void pump(DWORD ms = 0) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms) Sleep(2);
  } while (ms && static_cast<int32_t>(GetTickCount() - end) < 0);
}

struct Win32Frame : ::testing::Test {
  StubEditor editor;
  HWND host = nullptr;
  CFrame* frame = nullptr;
  HWND hwnd = nullptr;
  void SetUp() override {
    host = makeHost();
    ASSERT_NE(host, nullptr);
    frame = new CFrame(CBounds(0, 0, 300, 200), host, &editor);
    editor.frame = frame;
    ASSERT_NE(frame->platformWindow(), nullptr);
    hwnd = static_cast<HWND>(frame->platformWindow()->nativeHandle());
    pump();
  }
  void TearDown() override {
    frame->release();
    DestroyWindow(host);
    pump();
  }
  static LPARAM at(int x, int y) { return MAKELPARAM(x, y); }
};

}  // namespace

TEST_F(Win32Frame, WindowIsTheNamedChildOfTheHost) {
  char cls[64] = {}, title[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  GetWindowTextA(hwnd, title, sizeof title);
  EXPECT_STREQ(cls, "TVSTEditor");
  EXPECT_STREQ(title, "VSTEditor");
  EXPECT_EQ(GetParent(hwnd), host);
  RECT r{};
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200);
  EXPECT_EQ(SendMessageA(hwnd, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
  EXPECT_EQ(SendMessageA(hwnd, WM_ERASEBKGND, 0, 0), 1);
  EXPECT_TRUE(frame->isDropActive());
  // Position: the frame window climbs to the caption-less host of similar size.
  SetWindowPos(host, nullptr, 15, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  int32_t x = -1, y = -1;
  EXPECT_TRUE(frame->getPosition(x, y));
  EXPECT_EQ(x, 15);
  EXPECT_EQ(y, 25);
  CBounds hostRect;
  EXPECT_TRUE(frame->getHostWindowRect(hostRect));
  EXPECT_EQ(hostRect, CBounds(15, 25, 335, 245));
  // A new size: the host is resized by the margin it shows around the resized child,
  // which here leaves it as it was.
  EXPECT_TRUE(frame->setSize(280, 150));
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.right, 280);
  EXPECT_EQ(r.bottom, 150);
  RECT hr{};
  GetWindowRect(host, &hr);
  EXPECT_EQ(hr.right - hr.left, 320);
  EXPECT_EQ(hr.bottom - hr.top, 220);
  EXPECT_FALSE(frame->setSize(280, 150));  // unchanged size
}

TEST_F(Win32Frame, MouseMessagesReachTheRightViewsWithTheirButtonWords) {
  auto* a = new RecView(CBounds(10, 10, 60, 60));
  auto* b = new RecView(CBounds(100, 10, 150, 60));
  frame->addView(a);
  frame->addView(b);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(20, 30));
  EXPECT_EQ(GetCapture(), hwnd);  // handled: the window captures the mouse
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(200, 150));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, at(200, 150));
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_EQ(a->log, (std::vector<std::string>{"down", "moved", "up"}));
  EXPECT_EQ(a->buttons[0], kLButton | kShift);
  EXPECT_EQ(a->buttons[1], kLButton);
  EXPECT_TRUE(b->log.empty());
  SendMessageA(hwnd, WM_RBUTTONDBLCLK, MK_RBUTTON | MK_CONTROL, at(120, 20));
  SendMessageA(hwnd, WM_RBUTTONUP, 0, at(120, 20));
  ASSERT_FALSE(b->buttons.empty());
  EXPECT_EQ(b->buttons[0], kRButton | kControl | kDoubleClick);
  SendMessageA(hwnd, WM_MBUTTONDOWN, MK_MBUTTON, at(120, 20));
  SendMessageA(hwnd, WM_MBUTTONUP, 0, at(120, 20));
  EXPECT_EQ(b->buttons[2], kMButton);
  SendMessageA(hwnd, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), at(120, 20));
  SendMessageA(hwnd, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), at(120, 20));
  EXPECT_EQ(b->buttons[4], kButton4);
  // The wheel's point arrives in screen coordinates.
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(wr.left + 30, wr.top + 30));
  ASSERT_EQ(a->log.size(), 4u);
  EXPECT_EQ(a->log[3], "wheel 2.000000");
  // Half notches (a high-resolution wheel) arrive as such and add up to a whole one.
  SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(wr.left + 30, wr.top + 30));
  EXPECT_EQ(a->log.size(), 4u);
  SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(wr.left + 30, wr.top + 30));
  ASSERT_EQ(a->log.size(), 5u);
  EXPECT_EQ(a->log[4], "wheel 1.000000");
}

// Another window takes the capture, or it is released, in the middle of a drag: the
// gesture ends there, once, and the next drag is a whole one of its own.
TEST_F(Win32Frame, LostCaptureEndsTheDragOnce) {
  RecListener l;
  auto* k = new CKnob(CBounds(10, 10, 50, 50), &l, 3, nullptr, nullptr);
  frame->addView(k);
  k->setValue(0.5f);
  editor.mode = kLinearMode;
  for (bool takenByAnother : {true, false}) {
    l.log.clear();
    editor.edits.clear();
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 30));
    ASSERT_EQ(GetCapture(), hwnd);
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(30, 20));
    if (takenByAnother) SetCapture(host);
    else ReleaseCapture();
    EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 3", "end 3"})) << takenByAnother;
    ASSERT_FALSE(l.log.empty());
    EXPECT_EQ(l.log.back(), "end");
    // The button's release comes later, to whichever window: no second end.
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(30, 5));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at(30, 5));
    ReleaseCapture();
    EXPECT_EQ(editor.edits.size(), 2u);
  }
  // A normal drag after it: one begin, one end, the value follows.
  editor.edits.clear();
  const float before = k->getValue();
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 30));
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(30, 10));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, at(30, 10));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(editor.edits, (std::vector<std::string>{"begin 3", "end 3"}));
  EXPECT_NEAR(k->getValue(), before + 0.1f, 1e-5f);  // 20 of 200 pixels
}

TEST_F(Win32Frame, KeysGoToTheFocusViewAndTabMovesFocus) {
  RecListener l;
  auto* k1 = new CKnob(CBounds(10, 10, 50, 50), &l, 1, nullptr, nullptr);
  auto* k2 = new CKnob(CBounds(60, 10, 100, 50), &l, 2, nullptr, nullptr);
  frame->addView(k1);
  frame->addView(k2);
  k1->setValue(0.5f);
  k2->setValue(0.5f);
  SendMessageA(hwnd, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(frame->getFocusView(), k1);
  SendMessageA(hwnd, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(frame->getFocusView(), k2);
  SendMessageA(hwnd, WM_KEYDOWN, VK_UP, 0);
  EXPECT_NEAR(k2->getValue(), 0.6f, 1e-6);
  SendMessageA(hwnd, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_NEAR(k2->getValue(), 0.5f, 1e-6);
  EXPECT_FLOAT_EQ(k1->getValue(), 0.5f);
  EXPECT_EQ(editor.edits.size(), 4u);  // each key step is one begin/end pair
}

// After a click on a knob the frame window has the keyboard: arrows move the knob, and
// keys it has no use for (Space, letters, function keys, Alt combinations) go on to the
// host's window with their characters, as queued input from the message loop.
TEST_F(Win32Frame, KeysTheEditorDoesNotUseReachTheHost) {
  RecListener l;
  auto* k = new CKnob(CBounds(10, 10, 50, 50), &l, 1, nullptr, nullptr);
  frame->addView(k);
  k->setValue(0.5f);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 30));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, at(30, 30));
  ASSERT_EQ(GetFocus(), hwnd);
  auto press = [](WPARAM vk, bool alt = false) {
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = alt ? WM_SYSKEYUP : WM_KEYUP;
    const LPARAM altBit = alt ? (1 << 29) : 0;
    PostMessageA(GetFocus(), down, vk, 1 | altBit);
    pump();
    PostMessageA(GetFocus(), up, vk, static_cast<LPARAM>(0xC0000001u) | altBit);
    pump();
  };
  gHostKeys.clear();
  press(VK_SPACE);
  EXPECT_EQ(gHostKeys, (std::vector<std::string>{"down 32", "char 32", "up 32"}));
  gHostKeys.clear();
  const float before = k->getValue();
  press(VK_DOWN);
  EXPECT_TRUE(gHostKeys.empty()) << gHostKeys[0];
  EXPECT_NEAR(k->getValue(), before - 0.1f, 1e-6f);
  press('A');
  press(VK_F5);
  press('F', true);
  EXPECT_EQ(gHostKeys, (std::vector<std::string>{"down 65", "char 97", "up 65", "down 116",
                                                 "up 116", "sysdown 70", "sysup 70"}));
  // A host that hands keys back to its focused child does not start a loop.
  gHostKeys.clear();
  gBounceTo = hwnd;
  press(VK_F5);
  gBounceTo = nullptr;
  EXPECT_EQ(gHostKeys, (std::vector<std::string>{"down 116", "up 116"}));
}

TEST_F(Win32Frame, PaintMessagesDrawWhatIsDirty) {
  auto* a = new RecView(CBounds(10, 10, 60, 60));
  auto* b = new RecView(CBounds(100, 10, 150, 60));
  frame->addView(a);
  frame->addView(b);
  frame->idle();  // added views are dirty: the first paint draws both
  UpdateWindow(hwnd);
  EXPECT_GE(a->draws, 1);
  const int da = a->draws, db = b->draws;
  b->setDirty();
  frame->idle();
  UpdateWindow(hwnd);  // WM_PAINT now
  EXPECT_EQ(b->draws, db + 1);
  EXPECT_EQ(a->draws, da);
  frame->idle();  // nothing dirty: no new paint
  UpdateWindow(hwnd);
  EXPECT_EQ(b->draws, db + 1);
  // The idle pacing of tracking loops repaints through one pending paint message.
  a->setDirty();
  editor.doIdleStuff();
  EXPECT_EQ(a->draws, da + 1);
  EXPECT_EQ(editor.idles, 1);
  EXPECT_EQ(editor.hostIdles, 1);
  // Cursor shapes: a known type, then the default again.
  frame->setCursor(9);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  frame->setCursor(0);
  EXPECT_NE(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
}

// The system asks for the cursor before every mouse move: the client area answers with
// the one the editor chose last, so that a hand over a link does not flicker.
TEST_F(Win32Frame, CursorQueriesAnswerTheChosenCursor) {
  const HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  const LPARAM client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  frame->setCursor(9);
  SetCursor(arrow);
  EXPECT_EQ(SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), client), TRUE);
  EXPECT_EQ(GetCursor(), hand);
  frame->setCursor(0);
  SetCursor(hand);
  EXPECT_EQ(SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), client), TRUE);
  EXPECT_EQ(GetCursor(), arrow);
  // Not the client area: the system's answer.
  frame->setCursor(9);
  SetCursor(arrow);
  SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTBORDER, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), hand);
}

TEST_F(Win32Frame, TextFieldEditsThroughTheEditControl) {
  RecListener l;
  auto* t = new CTextEdit(CBounds(20, 20, 140, 40), &l, 7, "old");
  frame->addView(t);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 30));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, at(30, 30));
  ASSERT_TRUE(t->isEditing());
  HWND edit = FindWindowExA(hwnd, nullptr, "EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  char buf[300] = {};
  GetWindowTextA(edit, buf, sizeof buf);
  EXPECT_STREQ(buf, "old");
  RECT er{};
  GetWindowRect(edit, &er);
  EXPECT_EQ(er.right - er.left, 121);  // one pixel wider than the field
  EXPECT_EQ(GetFocus(), edit);
  for (char c : std::string("new")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  GetWindowTextA(edit, buf, sizeof buf);
  EXPECT_STREQ(buf, "new");  // the whole old text was selected
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(t->isEditing());
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_TRUE(t->returnPressed());
  EXPECT_STREQ(t->getText(), "new");
  EXPECT_EQ(l.log, (std::vector<std::string>{"begin", "changed", "end"}));  // value inside the gesture

  // 255 characters at most; focus loss closes the field too.
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 30));
  edit = FindWindowExA(hwnd, nullptr, "EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  for (int i = 0; i < 300; ++i) SendMessageA(edit, WM_CHAR, 'x', 0);
  SetFocus(hwnd);
  EXPECT_FALSE(t->isEditing());
  EXPECT_EQ(std::string(t->getText()), std::string(255, 'x'));
}

// Escape closes the field and keeps the old text: nothing reaches the listener but the
// end of the edit. The keyboard goes back to the frame window.
TEST_F(Win32Frame, EscapeInTheEditControlCancels) {
  RecListener l;
  auto* t = new CTextEdit(CBounds(20, 20, 140, 40), &l, 7, "old");
  frame->addView(t);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 30));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, at(30, 30));
  HWND edit = FindWindowExA(hwnd, nullptr, "EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  for (char c : std::string("new")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  pump();  // and the Escape's character, which goes nowhere
  EXPECT_FALSE(t->isEditing());
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_STREQ(t->getText(), "old");
  EXPECT_FALSE(t->returnPressed());
  EXPECT_TRUE(l.log.empty());  // a cancelled edit is no gesture at all
  EXPECT_EQ(GetFocus(), hwnd);
}

namespace {
// An opaque 40 x 30 image with a different colour at every pixel and the key colour
// (magenta) on its diagonal.
std::vector<uint32_t> numbered() {
  std::vector<uint32_t> px(40 * 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      px[static_cast<size_t>(y) * 40 + x] =
          x == y ? bgra(255, 0, 255) : bgra(static_cast<uint8_t>(x * 6), static_cast<uint8_t>(y * 8), 77);
  return px;
}
}  // namespace

// Every image draw reads only the part of its area inside the clip, from the right place
// of the image, whether the image was prepared for the platform or not.
TEST_F(Win32Frame, ImageDrawsTouchOnlyTheClippedArea) {
  const std::vector<uint32_t> px = numbered();
  platform::Platform& p = platform::current();
  platform::Pixmap img{40, 30, px.data(), nullptr};
  std::unique_ptr<platform::NativeImage> native = p.prepareImage(img);
  ASSERT_NE(native, nullptr);
  enum Op { kCopy, kBlend, kKey };
  for (bool prepared : {false, true})
    for (Op op : {kCopy, kBlend, kKey}) {
      SCOPED_TRACE(std::string(prepared ? "prepared " : "plain ") + std::to_string(op));
      img.native = prepared ? native.get() : nullptr;
      std::unique_ptr<platform::Surface> s = p.createOffscreen(60, 50);
      s->fillRect({0, 0, 60, 50}, {1, 2, 3, 255});
      s->setClip({12, 14, 22, 19});  // 10 x 5
      // Destination from (5, 6), source from (3, 2): the clip starts 7 right, 8 down.
      const platform::Rect dst{5, 6, 45, 34};
      const long long before = win32::imagePixelsDrawn();
      if (op == kCopy) s->copyImage(img, dst, 3, 2);
      if (op == kBlend) s->blendImage(img, dst, 3, 2, 255);
      if (op == kKey) s->keyImage(img, dst, 3, 2, {255, 0, 255, 255});
      EXPECT_EQ(win32::imagePixelsDrawn() - before, 50);
      const uint32_t* out = s->pixels();
      ASSERT_NE(out, nullptr);
      for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) {
          const uint32_t got = out[y * 60 + x] & 0xffffff;
          const bool inside = x >= 12 && x < 22 && y >= 14 && y < 19;
          const int ix = x - 5 + 3, iy = y - 6 + 2;
          uint32_t want = bgra(1, 2, 3) & 0xffffff;
          if (inside && !(op == kKey && ix == iy)) want = px[static_cast<size_t>(iy) * 40 + ix] & 0xffffff;
          ASSERT_EQ(got, want) << "at " << x << "," << y;
        }
    }
  // Outside the image or the clip: nothing drawn, nothing counted.
  std::unique_ptr<platform::Surface> s = p.createOffscreen(60, 50);
  s->setClip({0, 0, 10, 10});
  img.native = native.get();
  const long long before = win32::imagePixelsDrawn();
  s->copyImage(img, {20, 20, 40, 40}, 0, 0);
  s->copyImage(img, {0, 0, 10, 10}, 40, 0);
  EXPECT_EQ(win32::imagePixelsDrawn(), before);
}

// A frame repainting a small area of a large background transfers that area alone.
TEST_F(Win32Frame, SmallRepaintsOfALargeBackgroundStaySmall) {
  std::vector<uint32_t> big(300 * 200, bgra(40, 50, 60));
  auto* background = new CBitmap(300, 200, big.data(), true);
  frame->setBackground(background);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  for (int i = 0; i < 20; ++i) {
    const long long before = win32::imagePixelsDrawn();
    frame->invalidateRect(CBounds(100, 50, 163, 80));
    UpdateWindow(hwnd);
    EXPECT_GT(win32::imagePixelsDrawn(), before);
    EXPECT_LE(win32::imagePixelsDrawn() - before, 63 * 30);
  }
  frame->setBackground(nullptr);
  background->release();
}

// Fonts are made once per description, not per paint; a change of size makes one more.
TEST_F(Win32Frame, PaintsMakeNoFonts) {
  auto* d = new CParamDisplay(CBounds(10, 10, 110, 30));
  d->setValue(0.25f);
  auto* font = new CFontDesc("Arial", 13);
  d->setFont(font);
  frame->addView(d);
  frame->addView(new CTextEdit(CBounds(10, 40, 110, 60), nullptr, 1, "text"));
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const int made = win32::fontsCreated();
  for (int i = 0; i < 50; ++i) {
    d->setValue(static_cast<float>(i) / 50.f);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_EQ(win32::fontsCreated(), made);
  font->setSize(15);
  for (int i = 0; i < 5; ++i) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(win32::fontsCreated(), made + 1);
  font->release();
  // A description without the platform's font: the surface makes one and keeps it.
  std::unique_ptr<platform::Surface> s = platform::current().createOffscreen(100, 40);
  const platform::FontSpec plain{"Arial", 12, 0, nullptr};
  s->text("a", {0, 0, 100, 20}, plain, {255, 255, 255, 255}, {0, 0, 0, 0}, platform::kAlignLeft);
  s->text("b", {0, 20, 100, 40}, plain, {255, 255, 255, 255}, {0, 0, 0, 0}, platform::kAlignLeft);
  EXPECT_EQ(win32::fontsCreated(), made + 2);
}

namespace {
struct Counter : CBaseObject {
  int fired = 0;
  CMessageResult notify(CBaseObject*, const char* m) override {
    if (m == kMsgTimerFired) ++fired;
    return kMessageNotified;
  }
};
}  // namespace

TEST_F(Win32Frame, ThreadTimersFire) {
  Counter c;
  auto* t = new CGuiTimer(&c, 10);
  ASSERT_TRUE(t->start());
  pump(300);
  EXPECT_GE(c.fired, 3);
  EXPECT_TRUE(t->stop());
  const int after = c.fired;
  pump(60);
  EXPECT_EQ(c.fired, after);
  t->release();
}

namespace {
// A scene without text: container colour, alpha-blended bitmap, opaque bitmap, key colour,
// knob handle lines, display frames.
std::vector<uint32_t> gradient(int w, int h) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[static_cast<size_t>(y) * w + x] =
          premultiplyRGBA(static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8), 200,
                          static_cast<uint8_t>(60 + x * 6));
  return px;
}

void buildScene(CFrame* f, std::vector<CBitmap*>& keep) {
  f->setBackgroundColor(CRGBA{30, 40, 50, 255});
  auto* box = new CViewContainer(CBounds(150, 20, 290, 180), f);
  box->setBackgroundColor(CRGBA{200, 180, 20, 255});
  f->addView(box);
  std::vector<uint32_t> g = gradient(30, 30);
  auto* alpha = new CBitmap(30, 30, g.data(), false);
  auto* v = new CView(CBounds(10, 10, 40, 40));
  v->setBackground(alpha);
  box->addView(v);
  std::vector<uint32_t> opaque(20 * 20, bgra(10, 200, 30));
  for (int i = 0; i < 20; ++i) opaque[static_cast<size_t>(i) * 20 + i] = bgra(255, 0, 255);
  auto* op = new CBitmap(20, 20, opaque.data(), true);
  op->setTransparentColor(kMagentaCRGBA);
  auto* keyed = new CView(CBounds(60, 10, 80, 30));
  keyed->setBackground(op);
  keyed->setTransparency(true);
  box->addView(keyed);
  auto* knob = new CKnob(CBounds(10, 20, 50, 60), nullptr, 0, nullptr, nullptr);
  knob->setValue(0.5f);
  f->addView(knob);
  auto* d = new CParamDisplay(CBounds(10, 100, 110, 120), nullptr, kNoTextStyle);
  d->setFrameColor(kRedCRGBA);
  d->setBackColor(kBlueCRGBA);
  f->addView(d);
  auto* d2 = new CParamDisplay(CBounds(10, 130, 110, 150), nullptr, kNoTextStyle | k3DIn);
  d2->setFrameColor(kWhiteCRGBA);
  d2->setBackColor(kGreenCRGBA);
  f->addView(d2);
  std::vector<uint32_t> two(10 * 20);
  for (size_t i = 0; i < two.size(); ++i) two[i] = i < 100 ? bgra(90, 90, 90) : bgra(0, 220, 90);
  auto* sw = new CBitmap(10, 20, two.data(), true);
  auto* vs = new CVerticalSwitch(CBounds(60, 60, 70, 70), nullptr, 0, 2, 10, 2, sw);
  vs->setValue(1.f);  // the second image: source offset 10 rows down
  f->addView(vs);
  auto* anim = new CAnimKnob(CBounds(80, 60, 90, 70), nullptr, 0, 2, 10, sw);
  anim->setValue(0.f);
  f->addView(anim);
  keep = {alpha, op, sw};
}
}  // namespace

class Win32Pixels : public Win32Frame, public ::testing::WithParamInterface<bool> {};

TEST_P(Win32Pixels, WindowPixelsMatchTheRasterWhereNoTextIsDrawn) {
  win32::paintThroughBackBuffer(GetParam());
  std::vector<CBitmap*> bitmaps;
  buildScene(frame, bitmaps);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  pump(50);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

  // Read the window back.
  HDC wdc = GetDC(hwnd);
  HDC mem = CreateCompatibleDC(wdc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 300;
  bi.bmiHeader.biHeight = -200;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, 300, 200, wdc, 0, 0, SRCCOPY);
  GdiFlush();
  ReleaseDC(hwnd, wdc);
  const uint32_t* win = static_cast<const uint32_t*>(bits);

  // The same views drawn on the raster.
  raster::RasterSurface ras(300, 200);
  CDrawContext* ctx = new CDrawContext(frame, &ras);
  frame->drawInRect(ctx, CBounds(0, 0, 300, 200));
  ctx->release();

  int differing = 0, worst = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      const uint32_t a = win[y * 300 + x], b = ras.pixel(x, y);
      int d = 0;
      for (int s = 0; s < 24; s += 8)
        d = std::max(d, std::abs(static_cast<int>((a >> s) & 0xff) - static_cast<int>((b >> s) & 0xff)));
      if (d > 3) {
        ++differing;
        if (getenv("SHOWDIFF")) std::printf("diff at %d,%d win %08x raster %08x\n", x, y, a, b);
      }
      worst = std::max(worst, d);
    }
  // Line rasterisation may differ on a pixel or two of the knob handle.
  EXPECT_LE(differing, 4) << "worst channel difference " << worst;
  EXPECT_EQ(win[150 * 300 + 5] & 0xffffff, bgra(30, 40, 50) & 0xffffff);
  EXPECT_EQ(win[110 * 300 + 10] & 0xffffff, bgra(255, 0, 0) & 0xffffff);
  EXPECT_EQ(win[65 * 300 + 65] & 0xffffff, bgra(0, 220, 90) & 0xffffff);
  EXPECT_EQ(win[65 * 300 + 85] & 0xffffff, bgra(90, 90, 90) & 0xffffff);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  for (CBitmap* b : bitmaps) b->release();
  win32::paintThroughBackBuffer(false);
}

INSTANTIATE_TEST_SUITE_P(DirectAndBuffered, Win32Pixels, ::testing::Bool());

TEST(Win32Resources, HundredOpenCloseCyclesLeaveNoObjectsBehind) {
  HWND host = makeHost();
  ASSERT_NE(host, nullptr);
  auto cycle = [host] {
    StubEditor editor;
    auto* f = new CFrame(CBounds(0, 0, 300, 200), host, &editor);
    std::vector<CBitmap*> bitmaps;
    buildScene(f, bitmaps);
    auto* t = new CTextEdit(CBounds(10, 160, 100, 180), nullptr, 1, "t");
    f->addView(t);
    HWND w = static_cast<HWND>(f->platformWindow()->nativeHandle());
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(win32::liveObjects(), 0);  // the count does see the open window
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 170));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(20, 170));
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
    f->release();
    for (CBitmap* b : bitmaps) b->release();
    pump();
  };
  cycle();  // first use creates the lasting process-wide objects
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  std::printf("GDI objects %lu, USER objects %lu\n", static_cast<unsigned long>(gdi),
              static_cast<unsigned long>(user));
  const int live = win32::liveObjects();
  for (int i = 0; i < 100; ++i) {
    win32::paintThroughBackBuffer(i % 2 == 1);
    cycle();
  }
  win32::paintThroughBackBuffer(false);
  EXPECT_EQ(win32::liveObjects(), live);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
  EXPECT_EQ(win32::windowClassUseCount(), 0);
  DestroyWindow(host);
}
