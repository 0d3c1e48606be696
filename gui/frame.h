#pragma once
// The root container: owns the platform child window inside the host's window, turns
// its events into view events, and holds the modal, focus and mouse-over views.
//
// Frame coordinates are units: window pixels divided by the frame's zoom (gui/scale.h),
// so that views are laid out once and look and behave the same at every zoom. The
// frame is the one place that converts: window events come in as units, repaints go out
// as pixels, and its drawing contexts draw units as pixels. Drawing happens only in the
// window's paint callback (or on a context made for one call); invalidation queues
// window repaints.
// Clicks first clear the focus view. With a modal view, only it gets clicks and Tab.
#include <memory>

#include "gui/editor_interface.h"
#include "gui/platform/platform.h"
#include "gui/view.h"

class CFrame;

class IMouseObserver {
 public:
  virtual ~IMouseObserver() = default;
  virtual void onMouseEntered(CView* view, CFrame* frame) = 0;
  virtual void onMouseExited(CView* view, CFrame* frame) = 0;
};

class CFrame : public CViewContainer, private platform::WindowListener,
               private platform::DropListener {
 public:
  CFrame(const CBounds& size, void* parentWindow, GuiEditorInterface* editor,
         double zoom = 1.0);
  ~CFrame() override;

  virtual bool open() { return false; }
  virtual bool close() { return false; }
  virtual bool isOpen() const { return openFlag_; }
  virtual void idle();
  virtual void doIdleStuff();
  virtual uint32_t getTicks() const;
  virtual int32_t getKnobMode() const;
  virtual bool setPosition(int32_t, int32_t) { return false; }
  virtual bool getPosition(int32_t& x, int32_t& y) const;
  virtual bool setSize(int32_t width, int32_t height);
  virtual bool getSize(CBounds& out) const { out = size_; return true; }
  // The zoom: window pixels per unit. Changing it resizes the window to the frame's
  // size times the zoom and repaints it all; factors outside 0.25..8 are refused.
  const CScale& getScale() const { return scale_; }
  virtual bool setZoom(double zoom);
  // The window's size in pixels.
  int32_t windowWidth() const { return scale_.toPixels(size_.width()); }
  int32_t windowHeight() const { return scale_.toPixels(size_.height()); }
  // A rectangle in frame units as window pixels.
  platform::Rect toWindow(const CBounds& r) const { return scale_.toPixels(r); }
  virtual bool getHostWindowRect(CBounds& out) const;
  virtual bool setModalView(CView* view);
  virtual CView* getModalView() const { return modalView_; }
  virtual void beginEdit(int32_t tag);
  virtual void endEdit(int32_t tag);
  virtual bool getCurrentMouseLocation(CPosition& out) const;
  virtual uint32_t getCurrentMouseButtons() const;
  virtual void setCursor(int32_t type);
  virtual void setFocusView(CView* view);
  virtual CView* getFocusView() const { return focusView_; }
  virtual void onViewRemoved(CView* view);
  virtual bool setDropActive(bool active);
  virtual bool isDropActive() const { return dropActive_; }
  virtual void setOpenFlag(bool f) { openFlag_ = f; }
  virtual void markDirtyInRect(const CBounds& r);
  virtual IMouseObserver* getMouseObserver() const { return mouseObserver_; }
  virtual void setMouseObserver(IMouseObserver* o) { mouseObserver_ = o; }

  void draw(CDrawContext* context) override;
  void drawInRect(CDrawContext* context, const CBounds& update) override;
  void invalidateRect(const CBounds& rect) override;
  void invalidate() override;
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseUp(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons) override;
  bool wheelOnAxis(const CPosition& where, int32_t axis, float distance, uint32_t buttons) override;
  int32_t keyDown(CKeyCode& key) override;
  int32_t keyUp(CKeyCode& key) override;
  void setViewSize(const CBounds& r, bool invalid = true) override;
  bool removeView(CView* view, bool releaseAlso = true) override;
  bool removeAll(bool releaseAlso = true) override;
  bool advanceFocus(CView* current, bool reverse = false) override;
  CView* viewUnderMouse() const override;
  GuiEditorInterface* getEditor() const override { return editor_; }
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return nullptr; }  // a frame owns a window: no copies
  void mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) override;
  CBounds visibleRect(const CBounds& rect) const override;
  CPosition& frameToLocal(CPosition& p) const override { return p; }
  CPosition& localToFrame(CPosition& p) const override { return p; }

  platform::Window* platformWindow() const { return window_.get(); }
  CView* getMouseOverView() const { return mouseOverView_; }

 private:
  // Window events.
  void onPaint(platform::Surface& s, const platform::Rect& update) override;
  int32_t onMouseDown(platform::Point where, uint32_t buttons) override;
  void onMouseUp(platform::Point where, uint32_t buttons) override;
  void onMouseMoved(platform::Point where, uint32_t buttons) override;
  void onWheel(platform::Point where, float distance, uint32_t buttons) override;
  void onHorizontalWheel(platform::Point where, float distance, uint32_t buttons) override;
  void wheelSteps(platform::Point where, int32_t axis, float distance, uint32_t buttons);
  void onCaptureLost() override;
  int32_t onKeyDown(int32_t character, uint8_t virt, uint8_t modifiers) override;
  int32_t onKeyUp(int32_t character, uint8_t virt, uint8_t modifiers) override;
  void onDestroyed() override;
  // Drop target events.
  void onDragEnter(int32_t itemCount, platform::Point where) override;
  void onDragMove(platform::Point where) override;
  void onDragLeave() override;
  void onDrop(platform::Point where) override;

  GuiEditorInterface* editor_;
  CScale scale_;
  IMouseObserver* mouseObserver_ = nullptr;
  void* parentWindow_;
  CView* modalView_ = nullptr;
  CView* focusView_ = nullptr;
  CView* mouseOverView_ = nullptr;
  bool openFlag_ = true;
  bool dropActive_ = false;
  std::unique_ptr<platform::Window> window_;
  CDragContainer* dragContainer_ = nullptr;
  long wheelUnits_[2] = {};  // wheel travel not yet a whole notch, in 120ths, by axis
};
