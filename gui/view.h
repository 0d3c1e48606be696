#pragma once
// Views and containers.
//
// A view's rectangle is in its parent container's coordinates; a container's children
// are placed relative to its top-left corner. A container owns its children: adding
// retains a view, and removal with release, removeAll(true) and destruction release it
// twice (the list's reference and the creator's, which is handed over with the view).
// Mouse results: 0 not implemented (caller falls back to mouseTrack), 1 handled (the
// view gets the moves and the release), 2 not handled, 3 handled without tracking.
// Children are drawn first-added first; events go to the last-added child first.
#include <cstdint>

#include "gui/base.h"
#include "gui/draw.h"
#include "gui/geometry.h"
#include "gui/platform/input.h"

class CFrame;
class CViewContainer;
class CBitmap;
class GuiEditorInterface;

enum CMouseEventResult : int32_t {
  kMouseEventNotImplemented = 0,
  kMouseEventHandled = 1,
  kMouseEventNotHandled = 2,
  kMouseDownEventHandledButDontNeedMovedOrUpEvents = 3,
};

// A key: the platform's key code, a virtual key and key modifiers (gui/platform/input.h).
// The same fields as the VST 2.x interface's key record, which the plug-in glue converts.
struct CKeyCode {
  int32_t character;
  uint8_t virt;
  uint8_t modifier;
};

enum CMouseWheelAxis : int32_t { kMouseWheelAxisX = 0, kMouseWheelAxisY = 1 };

// What a drop carries: only its item count matters here.
class CDragContainer : public CBaseObject {
 public:
  explicit CDragContainer(int32_t count) : count_(count) {}
  int32_t getCount() const { return count_; }

 private:
  int32_t count_;
};

class CView : public CBaseObject {
 public:
  explicit CView(const CBounds& size);
  CView(const CView& v);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  virtual void drawInRect(CDrawContext* context, const CBounds& update);
  virtual bool overlapsUpdate(const CBounds& update) const;  // overlaps, edges included
  virtual bool isDirty() const { return dirty_; }
  virtual void setDirty(bool flag = true) { dirty_ = flag; }
  virtual void invalidateRect(const CBounds& rect);
  virtual void invalidate();
  virtual void setVisible(bool flag);
  bool isVisible() const { return visible_; }

  virtual CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons);
  virtual CMouseEventResult mouseUp(CPosition& where, const uint32_t& buttons);
  virtual CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons);
  virtual CMouseEventResult mouseEntered(CPosition& where, const uint32_t& buttons);
  virtual CMouseEventResult mouseExited(CPosition& where, const uint32_t& buttons);
  virtual bool hitTest(const CPosition& where, uint32_t buttons = 0);
  virtual bool wheelOnAxis(const CPosition& where, int32_t axis, float distance, uint32_t buttons);
  virtual bool wheel(const CPosition& where, float distance, uint32_t buttons);

  virtual void setMouseEnabled(bool e) { mouseEnabled_ = e; }
  virtual bool getMouseEnabled() const { return mouseEnabled_; }
  virtual void setMouseableArea(const CBounds& r) { mouseableArea_ = r; }
  virtual CBounds& getMouseableArea(CBounds& out) const { out = mouseableArea_; return out; }
  virtual const CBounds& getMouseableArea() const { return mouseableArea_; }

  virtual bool drop(CDragContainer* drag, const CPosition& where);
  virtual void dragEnter(CDragContainer* drag, const CPosition& where);
  virtual void dragLeave(CDragContainer* drag, const CPosition& where);
  virtual void dragMove(CDragContainer* drag, const CPosition& where);

  virtual int32_t keyDown(CKeyCode& key);
  virtual int32_t keyUp(CKeyCode& key);

  virtual void setViewSize(const CBounds& r, bool invalid = true);
  virtual CBounds& getViewSize(CBounds& out) const { out = size_; return out; }
  virtual const CBounds& getViewSize() const { return size_; }
  virtual CBounds visibleSize() const;
  virtual void parentSizeChanged() {}
  virtual CPosition& frameToLocal(CPosition& p) const;
  virtual CPosition& localToFrame(CPosition& p) const;
  virtual void loseFocus() {}
  virtual void takeFocus() {}
  virtual bool wantsFocus() const { return wantsFocus_; }
  virtual void setWantsFocus(bool w) { wantsFocus_ = w; }
  virtual void setBackground(CBitmap* b);
  virtual CBitmap* getBackground() const { return background_; }
  virtual void setTransparency(bool t) { transparent_ = t; }
  virtual bool getTransparency() const { return transparent_; }
  virtual bool removed(CView* parent);
  virtual bool attached(CView* parent);
  virtual GuiEditorInterface* getEditor() const;
  virtual bool isTypeOf(const char* name) const;
  virtual CView* clone() const { return new CView(*this); }
  virtual void mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons);
  virtual void mouseLocation(CDrawContext* context, CPosition& out);
  virtual void setParentView(CView* p) { parentView_ = p; }
  virtual void setParentFrame(CFrame* f) { parentFrame_ = f; }
  virtual CPosition& addOriginsToFrame(CPosition& p) const;

  CView* getParentView() const { return parentView_; }
  CFrame* getFrame() const { return parentFrame_; }
  bool isAttached() const { return attached_; }

  // Attributes: identifier -> owned byte block, deep-copied with the view.
  bool setAttribute(uint32_t id, uint32_t size, const void* data);
  bool getAttributeSize(uint32_t id, uint32_t& size) const;
  bool getAttribute(uint32_t id, uint32_t cap, void* out, uint32_t& size) const;
  bool removeAttribute(uint32_t id);

 protected:
  CBounds size_, mouseableArea_;
  CFrame* parentFrame_ = nullptr;
  CView* parentView_ = nullptr;
  bool dirty_ = false, mouseEnabled_ = true, transparent_ = false, wantsFocus_ = false,
       attached_ = false, visible_ = true;
  CBitmap* background_ = nullptr;

 private:
  struct Attribute {
    uint32_t id, size;
    unsigned char* data;
    Attribute* next;
  };
  Attribute* attributes_ = nullptr;
};

class CViewContainer : public CView {
 public:
  CViewContainer(const CBounds& size, CFrame* frame, CBitmap* background = nullptr);
  CViewContainer(const CViewContainer& v);
  ~CViewContainer() override;

  virtual bool addView(CView* view, CView* before);
  virtual bool addView(CView* view, const CBounds& mouseableArea, bool mouseEnabled = true);
  virtual bool addView(CView* view);
  virtual bool removeView(CView* view, bool releaseAlso = true);
  virtual bool removeAll(bool releaseAlso = true);
  virtual bool isChild(CView* view) const;
  virtual int32_t viewCount() const;
  virtual CView* viewAt(int32_t index) const;
  virtual CView* viewAtPoint(const CPosition& where, bool deep = false) const;
  virtual CViewContainer* containerAtPoint(const CPosition& where, bool deep = true) const;
  virtual void setBackgroundColor(CRGBA c);
  virtual CRGBA getBackgroundColor() const { return backgroundColor_; }
  virtual void setBackgroundOffset(const CPosition& p) { backgroundOffset_ = p; }
  virtual const CPosition& getBackgroundOffset() const { return backgroundOffset_; }
  virtual void drawBackgroundRect(CDrawContext* context, const CBounds& r);
  virtual void setDrawInOffscreen(bool b);
  bool getDrawInOffscreen() const { return drawInOffscreen_; }
  virtual bool advanceFocus(CView* current, bool reverse = false);
  virtual bool invalidateDirtyViews();
  virtual CBounds visibleRect(const CBounds& rect) const;
  virtual CView* viewUnderMouse() const;
  virtual bool isVisibleChild(CView* view, const CBounds& rect) const;
  virtual bool hitTestChildren(const CPosition& where, uint32_t buttons = 0);

  CMessageResult notify(CBaseObject* sender, const char* message) override;
  void draw(CDrawContext* context) override;
  void drawInRect(CDrawContext* context, const CBounds& update) override;
  bool isDirty() const override;
  void invalidateRect(const CBounds& rect) override;
  void invalidate() override;
  CMouseEventResult mouseDown(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseUp(CPosition& where, const uint32_t& buttons) override;
  CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons) override;
  bool wheelOnAxis(const CPosition& where, int32_t axis, float distance, uint32_t buttons) override;
  bool wheel(const CPosition& where, float distance, uint32_t buttons) override;
  int32_t keyDown(CKeyCode& key) override;
  int32_t keyUp(CKeyCode& key) override;
  bool drop(CDragContainer* drag, const CPosition& where) override;
  void dragEnter(CDragContainer* drag, const CPosition& where) override;
  void dragLeave(CDragContainer* drag, const CPosition& where) override;
  void dragMove(CDragContainer* drag, const CPosition& where) override;
  void setViewSize(const CBounds& r, bool invalid = true) override;
  void parentSizeChanged() override;
  void loseFocus() override;
  void takeFocus() override;
  CPosition& frameToLocal(CPosition& p) const override;
  CPosition& localToFrame(CPosition& p) const override;
  bool removed(CView* parent) override;
  bool attached(CView* parent) override;
  bool isTypeOf(const char* name) const override;
  CView* clone() const override { return new CViewContainer(*this); }
  void mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) override;
  void mouseLocation(CDrawContext* context, CPosition& out) override;

  CView* getMouseDownView() const { return mouseDownView_; }
  COffscreenContext* getOffscreen() const { return offscreen_; }

 protected:
  struct Node {
    CView* view;
    Node* prev;
    Node* next;
  };
  void destroyChildren(bool releaseAlso);
  void adopt(CView* view);
  CView* childAt(const CPosition& local) const;  // visible, mouseable area contains

  Node* first_ = nullptr;
  Node* last_ = nullptr;
  COffscreenContext* offscreen_ = nullptr;
  CRGBA backgroundColor_ = kBlackCRGBA;
  CPosition backgroundOffset_;
  bool drawInOffscreen_ = false;
  CView* dragView_ = nullptr;
  CView* mouseDownView_ = nullptr;
};
