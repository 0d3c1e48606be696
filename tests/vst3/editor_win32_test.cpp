// Soravel.vst3's editor view in a real host window under Wine: attached to an
// HWND, painted by the window system's messages and idled by a thread timer (the
// test pumps messages as a host's GUI thread does), a knob drag reaching the host
// as one gesture, the content scale asking the frame for the size, and nothing
// left behind.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include "formats/vst3/params.h"
#include "tests/editor_e2e/capture.h"
#include "tests/support/shot.h"
#include "tests/vst3/vst3_host.h"

namespace vst3test {
namespace {

constexpr int kWidth = 773, kHeight = 491;
constexpr int kSizeKnobX = 476, kSizeKnobY = 224;

// A top-level host window at the screen's top-left, one for the process (Wine waits
// for every top-level window it destroys without a window manager).
HWND HostWindow() {
  static HWND h = nullptr;
  if (!h) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SoravelVst3Host";
    RegisterClassA(&wc);
    h = CreateWindowExA(WS_EX_TOPMOST, "SoravelVst3Host", "Soravel host",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight, nullptr,
                        nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  return h;
}

HWND EditorWindow() { return FindWindowExA(HostWindow(), nullptr, "TVSTEditor", nullptr); }

// A painted editor: dark with light lettering, many colours.
bool LooksPainted(const Shot& s) {
  if (s.width != kWidth || s.height != kHeight) return false;
  int light = 0;
  long long sum = 0;
  for (uint32_t p : s.px) {
    const int b = Brightness(p & 0xffffff);
    sum += b;
    light += b > 180;
  }
  const long long mean = sum / static_cast<long long>(s.px.size());
  return mean > 15 && mean < 120 && light > 500;
}

void Send(UINT msg, WPARAM flags, int x, int y) { SendMessageA(EditorWindow(), msg, flags, MAKELPARAM(x, y)); }

}  // namespace

TEST(Vst3EditorWin32, AttachedToAnHwndPaintedDraggedAndRemoved) {
  ASSERT_NE(Factory(), nullptr) << TLoadedModule::Get().error;
  THandler handler;
  TFrame frame;
  {
    TPlugin p(nullptr, &handler);
    ASSERT_TRUE(p.Ok());
    IPlugView* view = p.controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
    view->setFrame(&frame);
    ASSERT_EQ(view->attached(HostWindow(), kPlatformTypeHWND), kResultOk);
    ASSERT_NE(EditorWindow(), nullptr);
    RECT r{};
    GetClientRect(EditorWindow(), &r);
    EXPECT_EQ(r.right, kWidth);
    EXPECT_EQ(r.bottom, kHeight);
    Shot shown;
    EXPECT_TRUE(frame.loop.RunUntil([&] { return LooksPainted(shown = Capture(EditorWindow())); }));

    p.controller->setParamNormalized(kSize, 0.3);
    frame.loop.RunFor(60);
    handler.log.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kSizeKnobX, kSizeKnobY);
    for (int dy = 5; dy <= 50; dy += 5) Send(WM_MOUSEMOVE, MK_LBUTTON, kSizeKnobX, kSizeKnobY - dy);
    Send(WM_LBUTTONUP, 0, kSizeKnobX, kSizeKnobY - 50);
    ASSERT_GE(handler.log.size(), 3u);
    EXPECT_EQ(handler.log.front(), "begin 9");
    EXPECT_EQ(handler.log.back(), "end 9");
    EXPECT_NEAR(p.controller->getParamNormalized(kSize), 0.55, 0.01);

    void* obj = nullptr;
    ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid.bytes, &obj), kResultOk);
    auto* scale = static_cast<IPlugViewContentScaleSupport*>(obj);
    EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
    ASSERT_EQ(frame.asked.size(), 1u);
    EXPECT_EQ(frame.asked[0], std::make_pair(1546, 982));
    EXPECT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
    scale->release();

    EXPECT_EQ(view->removed(), kResultOk);
    frame.loop.RunFor(20);
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_EQ(view->release(), 0u);
  }
  EXPECT_TRUE(frame.Balanced());
  EXPECT_TRUE(handler.Balanced());
}

}  // namespace vst3test
