#pragma once
// A top-level window standing in for a plug-in host's, for programs that host a frame
// themselves (the demo), and what a window shows on screen.
#include <cstdint>
#include <functional>
#include <vector>

namespace win32 {

class HostWindow {
 public:
  HostWindow(const char* title, int32_t width, int32_t height);  // shown at once
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  void* handle() const { return hwnd_; }  // null when it could not be made
  // Dispatches messages until the window is closed, calling idle after each one.
  void runUntilClosed(const std::function<void()>& idle);
  // The pixels `window` shows once its pending paints are done: rows of 8-bit RGB.
  static bool shownPixels(void* window, int32_t width, int32_t height, std::vector<uint8_t>& rgb);

 private:
  void* hwnd_ = nullptr;
};

}  // namespace win32
