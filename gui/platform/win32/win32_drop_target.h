#pragma once
// The frame window's OLE drop target: tells a drop listener of drags entering, moving,
// leaving and dropping, with the number of files a drag carries, and answers the copy,
// move or link effect, in that order of preference.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <ole2.h>

#include "gui/platform/platform.h"

namespace win32 {

class DropTarget : public IDropTarget {
 public:
  DropTarget(HWND hwnd, platform::DropListener* l) : hwnd_(hwnd), listener_(l) {}
  virtual ~DropTarget() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL pt, DWORD* effect) override;

 private:
  platform::Point local(POINTL pt) const;
  static void choose(DWORD* effect);
  static int32_t itemCount(IDataObject* data);
  ULONG refs_ = 1;
  HWND hwnd_;
  platform::DropListener* listener_;
};

}  // namespace win32
