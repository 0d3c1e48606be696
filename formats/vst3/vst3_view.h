#pragma once
// The VST 3 binary interface, part four: the editor's view in a host window, the
// host's frame around it, the content scale a host announces, and on Linux the
// host's run loop, which delivers the window system's events and timers to the
// plug-in (hosts run no event loop of the plug-in's).
#include "formats/vst3/vst3_base.h"

namespace vst3 {

struct ViewRect {
  int32 left, top, right, bottom;
};

// The window handle types attached() may name.
inline constexpr const char* kPlatformTypeHWND = "HWND";
inline constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";

class IPlugFrame;

class IPlugView : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
  virtual tresult isPlatformTypeSupported(FIDString type) = 0;
  virtual tresult attached(void* parent, FIDString type) = 0;
  virtual tresult removed() = 0;
  virtual tresult onWheel(float distance) = 0;
  virtual tresult onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult getSize(ViewRect* size) = 0;
  virtual tresult onSize(ViewRect* newSize) = 0;
  virtual tresult onFocus(TBool state) = 0;
  virtual tresult setFrame(IPlugFrame* frame) = 0;
  virtual tresult canResize() = 0;
  virtual tresult checkSizeConstraint(ViewRect* rect) = 0;

 protected:
  ~IPlugView() = default;
};

class IPlugFrame : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
  // The host resizes its window and, before it answers, calls the view's onSize.
  virtual tresult resizeView(IPlugView* view, ViewRect* newSize) = 0;

 protected:
  ~IPlugFrame() = default;
};

class IPlugViewContentScaleSupport : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
  virtual tresult setContentScaleFactor(float factor) = 0;

 protected:
  ~IPlugViewContentScaleSupport() = default;
};

// The host's run loop (Linux): it calls an event handler when its file descriptor
// is readable and a timer handler every so many milliseconds, on its GUI thread.
// A host offers it through its frame (and often its context).
class IEventHandler : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
  virtual void onFDIsSet(int fd) = 0;

 protected:
  ~IEventHandler() = default;
};

class ITimerHandler : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);
  virtual void onTimer() = 0;

 protected:
  ~ITimerHandler() = default;
};

class IRunLoop : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
  virtual tresult registerEventHandler(IEventHandler* handler, int fd) = 0;
  virtual tresult unregisterEventHandler(IEventHandler* handler) = 0;
  virtual tresult registerTimer(ITimerHandler* handler, uint64 milliseconds) = 0;
  virtual tresult unregisterTimer(ITimerHandler* handler) = 0;

 protected:
  ~IRunLoop() = default;
};

static_assert(sizeof(ViewRect) == 16 && offsetof(ViewRect, bottom) == 12);

}  // namespace vst3
