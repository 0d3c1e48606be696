// Shows every control class in a real Win32 frame window and writes a PNG screenshot of
// the window's pixels. Usage: soravel_win32_demo.exe [out.png] [--show]
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gui/demo/demo_scene.h"
#include "gui/demo/png_write.h"

namespace {
struct NoEditor : GuiEditorInterface {
  void doIdleStuff() override {}
  int32_t getKnobMode() const override { return 0; }
  void beginEdit(int32_t) override {}
  void endEdit(int32_t) override {}
};
LRESULT CALLBACK hostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcA(h, m, w, l);
}
}  // namespace

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "win32_demo.png";
  const bool show = argc > 2 && std::strcmp(argv[2], "--show") == 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SoravelDemoHost";
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  RegisterClassA(&wc);
  HWND host = CreateWindowExA(0, "SoravelDemoHost", "Soravel demo", WS_POPUP | WS_VISIBLE, 0, 0,
                              demo::kWidth, demo::kHeight, nullptr, nullptr, wc.hInstance, nullptr);
  if (!host) return 1;
  NoEditor editor;
  auto* frame = new CFrame(CBounds(0, 0, demo::kWidth, demo::kHeight), host, &editor);
  std::vector<CBitmap*> bitmaps;
  demo::buildScene(frame, bitmaps);
  HWND w = static_cast<HWND>(frame->platformWindow()->nativeHandle());
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

  HDC wdc = GetDC(w);
  HDC mem = CreateCompatibleDC(wdc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = demo::kWidth;
  bi.bmiHeader.biHeight = -demo::kHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, demo::kWidth, demo::kHeight, wdc, 0, 0, SRCCOPY);
  GdiFlush();
  std::string error;
  const bool ok =
      demo::writePng(out, static_cast<const uint32_t*>(bits), demo::kWidth, demo::kHeight, error);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(w, wdc);
  if (show) {  // interactive: run until the host window is closed
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      frame->idle();
    }
  }
  frame->release();
  for (CBitmap* b : bitmaps) b->release();
  DestroyWindow(host);
  std::printf(ok ? "wrote %s\n" : "%s\n", ok ? out : error.c_str());
  return ok ? 0 : 1;
}
