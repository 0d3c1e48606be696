// The demo on the Win32 window system: a top-level host window (win32_host_window.h).
#include <memory>

#include "gui/demo/demo_host.h"
#include "gui/platform/win32/win32_host_window.h"

namespace demo {
namespace {
std::unique_ptr<win32::HostWindow> gHost;
}  // namespace

const char* defaultShotName() { return "win32_demo.png"; }

void* openHost(int32_t width, int32_t height) {
  gHost = std::make_unique<win32::HostWindow>("Soravel demo", width, height);
  return gHost->handle();  // null when it could not be made
}

void closeHost() { gHost.reset(); }

bool windowPixels(CFrame* frame, std::vector<uint8_t>& rgb) {
  platform::Window* w = frame->platformWindow();
  return w && win32::HostWindow::shownPixels(w->nativeHandle(), frame->windowWidth(),
                                             frame->windowHeight(), rgb);
}

void showUntilClosed(CFrame* frame) {
  if (gHost) gHost->runUntilClosed([frame] { frame->idle(); });
}

}  // namespace demo
