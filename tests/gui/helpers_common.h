#pragma once
// Shared pieces of the view framework tests: an editor stub, a recording view and a
// recording listener, and a frame in a raster window with a manual clock.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/controls.h"
#include "gui/frame.h"
#include "gui/idle_pacer.h"

struct StubEditor : GuiEditorInterface {
  int32_t mode = kCircularMode;
  int idles = 0, hostIdles = 0;
  std::vector<std::string> edits;
  IdlePacer pacer;
  CFrame* frame = nullptr;
  std::function<void()> onIdleCall;  // runs on every doIdleStuff call
  void doIdleStuff() override {
    if (onIdleCall) onIdleCall();
    pacer.run([this] { ++idles; if (frame) frame->idle(); }, [this] { ++hostIdles; });
  }
  int32_t getKnobMode() const override { return mode; }
  void beginEdit(int32_t i) override { edits.push_back("begin " + std::to_string(i)); }
  void endEdit(int32_t i) override { edits.push_back("end " + std::to_string(i)); }
};

// A view that records what reaches it and answers as told.
struct RecView : CView {
  explicit RecView(const CBounds& r, CMouseEventResult down = kMouseEventHandled)
      : CView(r), downResult(down) {}
  CMouseEventResult downResult;
  int32_t keyResult = -1;
  std::vector<std::string> log;
  std::vector<uint32_t> buttons;
  CPosition lastWhere;
  int draws = 0;
  CMouseEventResult mouseDown(CPosition& w, const uint32_t& b) override {
    log.push_back("down"); buttons.push_back(b); lastWhere = w; return downResult;
  }
  CMouseEventResult mouseUp(CPosition& w, const uint32_t& b) override {
    log.push_back("up"); buttons.push_back(b); lastWhere = w; return kMouseEventHandled;
  }
  CMouseEventResult mouseMoved(CPosition& w, const uint32_t& b) override {
    log.push_back("moved"); buttons.push_back(b); lastWhere = w; return kMouseEventHandled;
  }
  CMouseEventResult mouseEntered(CPosition&, const uint32_t&) override {
    log.push_back("entered"); return kMouseEventHandled;
  }
  CMouseEventResult mouseExited(CPosition&, const uint32_t&) override {
    log.push_back("exited"); return kMouseEventHandled;
  }
  void mouseTrack(CDrawContext* c, CPosition& w, uint32_t) override {
    log.push_back(c ? "track" : "track-null"); lastWhere = w;
  }
  bool wheel(const CPosition& w, float d, uint32_t) override {
    log.push_back("wheel " + std::to_string(d)); lastWhere = w; return true;
  }
  int32_t keyDown(CKeyCode& k) override {
    log.push_back("key " + std::to_string(k.virt)); return keyResult;
  }
  void draw(CDrawContext* c) override { ++draws; CView::draw(c); }
};

struct RecListener : CControlListener {
  std::vector<std::string> log;
  std::vector<float> values;
  bool claimModifiers = false;
  void valueChanged(CControl* c) override {
    log.push_back("changed"); values.push_back(c->getValue());
  }
  bool modifierClicked(CControl*, uint32_t) override {
    log.push_back("modifier"); return claimModifiers;
  }
  void beginEdit(CControl*) override { log.push_back("begin"); }
  void endEdit(CControl*) override { log.push_back("end"); }
};

constexpr uint32_t bgra(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  return static_cast<uint32_t>(b) | (static_cast<uint32_t>(g) << 8) |
         (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(a) << 24);
}
