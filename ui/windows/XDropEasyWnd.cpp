// The drop target and the drop window. COM plumbing is ours and small: the window owns the
// target, so AddRef and Release count nothing.
#include "XDropEasyWnd.h"

#include <shellapi.h>

#include "XDropList.h"
#include "XUIClassTable.h"
#include "XWin.h"

XUI_REGISTER_CLASS(L"dropwnd", CXDropEasyWnd)

namespace {

const GUID kClsidDragDropHelper = {0x4657278A, 0x411B, 0x11D2, {0x83, 0x9A, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0xD0}};
const GUID kIidDropTargetHelper = {0x4657278B, 0x411B, 0x11D2, {0x83, 0x9A, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0xD0}};
const GUID kIidDropTarget = {0x00000122, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

bool SameId(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }

// A storage medium taken from a data object, released however reading it ends.
class CXStgMedium {
 public:
  CXStgMedium() = default;
  ~CXStgMedium() {
    if (m_taken) ReleaseStgMedium(&m_medium);
  }
  CXStgMedium(const CXStgMedium&) = delete;
  CXStgMedium& operator=(const CXStgMedium&) = delete;
  bool Take(IDataObject* data, FORMATETC* format) {
    m_taken = SUCCEEDED(data->GetData(format, &m_medium));
    return m_taken;
  }
  const STGMEDIUM& Get() const { return m_medium; }

 private:
  STGMEDIUM m_medium = {};
  bool m_taken = false;
};

// A global memory block locked for reading, unlocked however reading ends.
class CXGlobalLock {
 public:
  explicit CXGlobalLock(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
  ~CXGlobalLock() {
    if (m_data) GlobalUnlock(m_block);
  }
  CXGlobalLock(const CXGlobalLock&) = delete;
  CXGlobalLock& operator=(const CXGlobalLock&) = delete;
  void* Get() const { return m_data; }

 private:
  HGLOBAL m_block;
  void* m_data;
};

}  // namespace

IXDropTarget::~IXDropTarget() { RevokeTarget(); }

HRESULT STDMETHODCALLTYPE IXDropTarget::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (SameId(iid, kIidDropTarget) || SameId(iid, kIidUnknown)) {
    *out = static_cast<IDropTarget*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE IXDropTarget::AddRef() { return 1; }

ULONG STDMETHODCALLTYPE IXDropTarget::Release() { return 1; }

HRESULT STDMETHODCALLTYPE IXDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
  if (m_pHandler) m_pHandler->OnDragEnter(data, keyState, pt.x, pt.y, effect);
  // Made at the first drag, not with the window: the shell's helper costs its start-up.
  if (!m_pHelper && !m_helperTried && m_hTargetWnd) {
    m_helperTried = true;
    void* helper = nullptr;
    if (SUCCEEDED(CoCreateInstance(kClsidDragDropHelper, nullptr, CLSCTX_ALL, kIidDropTargetHelper, &helper)))
      m_pHelper = static_cast<IDropTargetHelper*>(helper);
  }
  if (m_pHelper) {
    POINT p = {pt.x, pt.y};
    m_pHelper->DragEnter(m_hTargetWnd, data, &p, DROPEFFECT_NONE);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE IXDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
  if (m_pHandler) m_pHandler->OnDragOver(keyState, pt.x, pt.y, effect);
  if (m_pHelper) {
    POINT p = {pt.x, pt.y};
    m_pHelper->DragOver(&p, effect ? *effect : DROPEFFECT_NONE);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE IXDropTarget::DragLeave() {
  if (m_pHandler) m_pHandler->OnDragLeave();
  if (m_pHelper) m_pHelper->DragLeave();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE IXDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
  try {
    return DeliverDrop(data, keyState, pt, effect);
  } catch (...) {
    return E_UNEXPECTED;  // nothing crosses the COM border
  }
}

HRESULT IXDropTarget::DeliverDrop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
  std::vector<CString> paths = QueryDropFiles(data);
  if (paths.empty()) return S_FALSE;
  if (m_pHandler) m_pHandler->OnDrop(data, keyState, pt.x, pt.y, effect, paths);
  if (m_pHelper) {
    POINT p = {pt.x, pt.y};
    m_pHelper->Drop(data, &p, effect ? *effect : DROPEFFECT_NONE);
  }
  return S_OK;
}

std::vector<CString> IXDropTarget::QueryDropFiles(IDataObject* data) {
  std::vector<CString> paths;
  if (!data) return paths;
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  if (data->QueryGetData(&format) != S_OK) return paths;
  CXStgMedium medium;
  if (!medium.Take(data, &format)) return paths;
  if (medium.Get().tymed != TYMED_HGLOBAL || !medium.Get().hGlobal) return paths;
  CXGlobalLock lock(medium.Get().hGlobal);
  const void* block = lock.Get();
  if (!block) return paths;
  // The whole path, however long: a cut path would name another file.
  XDropList list = XParseDropList(block, GlobalSize(medium.Get().hGlobal));
  if (list.wide) {
    for (const std::u16string& name : list.wideNames) paths.push_back(CString(XFromU16(name)));
  } else {
    for (const std::string& name : list.ansiNames)
      paths.push_back(CString(XWiden(name.data(), static_cast<int>(name.size()))));
  }
  return paths;
}

HRESULT IXDropTarget::RegisterTarget(HWND wnd, IXDropHandler* handler) {
  m_pHandler = handler;
  m_hTargetWnd = wnd;
  m_helperTried = false;
  return RegisterDragDrop(wnd, static_cast<IDropTarget*>(this));
}

void IXDropTarget::RevokeTarget() {
  if (m_hTargetWnd) RevokeDragDrop(m_hTargetWnd);
  m_hTargetWnd = nullptr;
  if (m_pHelper) m_pHelper->Release();
  m_pHelper = nullptr;
}

CXDropEasyWnd::CXDropEasyWnd() = default;

CXDropEasyWnd::~CXDropEasyWnd() {
  RevokeTarget();
  if (m_oleInitialized) OleUninitialize();
}

const wchar_t* CXDropEasyWnd::XUI_GetClassName() { return L"XDROPEASYWND"; }

LRESULT CXDropEasyWnd::MessageHandle(MESSAGE_EVENT* e) {
  if (e->uMsg == WM_CREATE) {
    if (!m_oleInitialized) m_oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    RegisterTarget(e->hWnd, this);
  } else if (e->uMsg == WM_DESTROY) {
    RevokeTarget();
  }
  return CXEasyWnd::MessageHandle(e);
}

HRESULT CXDropEasyWnd::OnDragEnter(IDataObject*, DWORD, LONG, LONG, DWORD*) { return 0; }

HRESULT CXDropEasyWnd::OnDragOver(DWORD, LONG, LONG, DWORD*) { return 0; }

HRESULT CXDropEasyWnd::OnDragLeave() { return 0; }

// Each path and its NUL, the list's closing NUL, and a terminator after it: a, bc, d give
// 9 characters. Every character counted in wParam is inside the buffer.
std::vector<wchar_t> CXDropEasyWnd::JoinPaths(const std::vector<CString>& paths) {
  std::vector<wchar_t> buffer;
  for (const CString& path : paths) {
    buffer.insert(buffer.end(), path.GetString(), path.GetString() + path.GetLength());
    buffer.push_back(L'\0');
  }
  buffer.push_back(L'\0');
  buffer.push_back(L'\0');
  return buffer;
}

HRESULT CXDropEasyWnd::OnDrop(IDataObject*, DWORD, LONG, LONG, DWORD*, const std::vector<CString>& paths) {
  std::vector<wchar_t> buffer = JoinPaths(paths);
  MESSAGE_EVENT event = {};
  event.lParam = reinterpret_cast<LPARAM>(buffer.data());
  event.wParam = buffer.size();
  FireNotify(this, &event, L"DropFiles");
  return 0;
}
