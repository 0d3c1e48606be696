#include "gui/platform/win32/win32_drop_target.h"

#include <shellapi.h>

namespace win32 {

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *out = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::Release() {
  const ULONG r = --refs_;
  if (r == 0) delete this;
  return r;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD, POINTL pt,
                                                DWORD* effect) {
  listener_->onDragEnter(itemCount(data), local(pt));
  choose(effect);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD, POINTL pt, DWORD* effect) {
  listener_->onDragMove(local(pt));
  choose(effect);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
  listener_->onDragLeave();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject*, DWORD, POINTL pt, DWORD* effect) {
  listener_->onDrop(local(pt));
  choose(effect);
  return S_OK;
}

platform::Point DropTarget::local(POINTL pt) const {
  POINT p{pt.x, pt.y};
  ScreenToClient(hwnd_, &p);
  return {p.x, p.y};
}

void DropTarget::choose(DWORD* effect) {
  if (!effect) return;
  const DWORD offered = *effect;
  *effect = (offered & DROPEFFECT_COPY)   ? DROPEFFECT_COPY
            : (offered & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE
            : (offered & DROPEFFECT_LINK) ? DROPEFFECT_LINK
                                          : DROPEFFECT_NONE;
}

// The number of files when the data also offers text, else 1.
int32_t DropTarget::itemCount(IDataObject* data) {
  if (!data) return 1;
  FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  if (data->QueryGetData(&text) != S_OK) return 1;
  STGMEDIUM m{};
  if (data->GetData(&files, &m) != S_OK) return 1;
  const UINT n = DragQueryFileA(static_cast<HDROP>(m.hGlobal), 0xFFFFFFFF, nullptr, 0);
  ReleaseStgMedium(&m);
  return static_cast<int32_t>(n);
}

}  // namespace win32
