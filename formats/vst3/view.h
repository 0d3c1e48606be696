#pragma once
// Soravel.vst3's editor view: the controller's editor in the host's window (an
// X11 window id on Linux, an HWND on Windows).
//
// One view shows the editor at a time; another one's attached() is refused while
// it does. The view holds a reference to its controller. On Linux the editor's X
// events, timers and paints run from the host's run loop (the frame's IRunLoop: a
// handler on the X connection's descriptor and a timer), never from a thread of
// ours; on Windows the window system delivers them and a thread timer idles the
// editor. The size is fixed at each zoom (canResize is false); the host's content
// scale feeds the editor's zoom, and a zoom change asks the frame to resize.
#include "formats/vst3/com_object.h"
#include "formats/vst3/gui_tick.h"
#include "formats/vst3/vst3_view.h"

namespace vst3 {

class TController;

class TView final : public TObject<TView, IPlugView, IPlugViewContentScaleSupport> {
 public:
  explicit TView(TController* controller);
  ~TView();

  tresult queryInterface(const char* iid, void** obj) override;

  tresult isPlatformTypeSupported(FIDString type) override;
  tresult attached(void* parent, FIDString type) override;
  tresult removed() override;
  tresult onWheel(float distance) override;
  tresult onKeyDown(char16 key, int16 keyCode, int16 modifiers) override;
  tresult onKeyUp(char16 key, int16 keyCode, int16 modifiers) override;
  tresult getSize(ViewRect* size) override;
  tresult onSize(ViewRect* newSize) override;
  tresult onFocus(TBool state) override;
  tresult setFrame(IPlugFrame* frame) override;
  tresult canResize() override { return kResultFalse; }
  tresult checkSizeConstraint(ViewRect* rect) override;

  tresult setContentScaleFactor(float factor) override;

  // The editor's zoom change: asks the host's frame for a window of this size.
  bool RequestSize(int width, int height);

 private:
  static void Idle(void* view);
  tresult Key(bool down, char16 key, int16 keyCode, int16 modifiers);

  TController* controller;  // one reference held
  TRef<IPlugFrame> frame;
  bool shown = false;  // this view shows the editor
  TGuiTick tick;
};

}  // namespace vst3
