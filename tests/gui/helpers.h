#pragma once
// The raster fixture on top of the shared test pieces.
#include "gui/platform/raster/raster_platform.h"
#include "tests/gui/helpers_common.h"

// A frame in a raster window, a manual clock starting at 1000 ms.
struct FrameFixture : ::testing::Test {
  raster::RasterPlatform& plat = raster::RasterPlatform::instance();
  StubEditor editor;
  int parentToken = 0;
  CFrame* frame = nullptr;
  void SetUp() override {
    plat.useManualClock(1000);
    plat.setButtonState(0);
    editor.pacer = IdlePacer();
    frame = new CFrame(CBounds(0, 0, 200, 100), &parentToken, &editor);
    editor.frame = frame;
  }
  void TearDown() override {
    if (frame) frame->release();
    frame = nullptr;
    EXPECT_EQ(plat.windowCount(), 0u);
  }
  raster::RasterWindow& win() { return *static_cast<raster::RasterWindow*>(frame->platformWindow()); }
  void paintAll() {
    frame->idle();
    win().paint();
  }
  uint32_t px(int32_t x, int32_t y) { return win().surface().pixel(x, y); }
};

