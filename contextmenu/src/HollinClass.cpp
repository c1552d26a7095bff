// The handler's operations. Every path passes through fixed buffers with checked bounds; a
// path longer than the buffer is refused rather than cut, so the program never gets a prefix.
#include "HollinClass.h"

#include <shellapi.h>

#include "HollinModule.h"
#include "MenuBitmap.h"
#include "XDropList.h"
#include "XWin.h"

const CLSID CLSID_HollinClass = {0xEDE9C14E, 0xB540, 0x40BD, {0x95, 0x92, 0x17, 0x70, 0xFC, 0xDF, 0x08, 0xF4}};
const wchar_t kHollinOpenText[] = L"\x6253\x5F00 Pinvale";
const wchar_t kHollinAddText[] = L"\x6DFB\x52A0\x5230 Pinvale";
const wchar_t kHollinHelpText[] = L"This is the simple shell extension's help";

namespace {

// A storage medium filled by GetData, released however it was filled.
class CXStgMedium {
 public:
  CXStgMedium() = default;
  ~CXStgMedium() { if (m_filled) ReleaseStgMedium(&m_medium); }
  CXStgMedium(const CXStgMedium&) = delete;
  CXStgMedium& operator=(const CXStgMedium&) = delete;
  HRESULT Fill(IDataObject* data, FORMATETC* format) {
    HRESULT hr = data->GetData(format, &m_medium);
    m_filled = SUCCEEDED(hr);
    return hr;
  }
  const STGMEDIUM& Get() const { return m_medium; }

 private:
  STGMEDIUM m_medium = {};
  bool m_filled = false;
};

// The parameter text of an invocation as a path: the wide form when the caller gave one,
// else the 8-bit form in the thread's code page. Text that does not fit leaves path empty.
void ParametersAsPath(const CMINVOKECOMMANDINFO& info, wchar_t (&path)[kHollinPathChars]) {
  path[0] = 0;
  if (info.cbSize >= sizeof(CMINVOKECOMMANDINFOEX) && (info.fMask & CMIC_MASK_UNICODE)) {
    const auto& ex = reinterpret_cast<const CMINVOKECOMMANDINFOEX&>(info);
    if (ex.lpParametersW) {
      size_t len = wcsnlen(ex.lpParametersW, kHollinPathChars);
      if (len < kHollinPathChars) XCopyBounded(path, kHollinPathChars, ex.lpParametersW);
      return;
    }
  }
  if (!info.lpParameters || !info.lpParameters[0]) return;
  int n = MultiByteToWideChar(CP_THREAD_ACP, 0, info.lpParameters, -1, path, static_cast<int>(kHollinPathChars));
  if (n <= 0) path[0] = 0;
  path[kHollinPathChars - 1] = 0;
}

// The last error as a failure code, never as success.
HRESULT LastFailure() {
  DWORD err = GetLastError();
  return err ? HRESULT_FROM_WIN32(err) : E_FAIL;
}

}  // namespace

CHollinClass::CHollinClass() {
  g_hollinModule.ObjectMade();
  m_bitmap = LoadMenuBitmap(g_hollinModule.Instance(), kHollinMenuBitmapId);
}

CHollinClass::~CHollinClass() {
  if (m_bitmap) DeleteObject(m_bitmap);
  g_hollinModule.ObjectGone();
}

STDMETHODIMP CHollinClass::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellExtInit)) {
    *object = static_cast<IShellExtInit*>(this);
  } else if (IsEqualIID(riid, IID_IContextMenu)) {
    *object = static_cast<IContextMenu*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CHollinClass::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_ref)); }

STDMETHODIMP_(ULONG) CHollinClass::Release() {
  LONG n = InterlockedDecrement(&m_ref);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

STDMETHODIMP CHollinClass::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
  m_path[0] = 0;
  if (!data) return S_FALSE;
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  CXStgMedium medium;
  if (FAILED(medium.Fill(data, &format))) return E_INVALIDARG;
  if (medium.Get().tymed != TYMED_HGLOBAL || !medium.Get().hGlobal) return E_INVALIDARG;
  const void* block = GlobalLock(medium.Get().hGlobal);
  if (!block) return E_INVALIDARG;
  HRESULT hr = E_INVALIDARG;
  try {
    XDropList list = XParseDropList(block, GlobalSize(medium.Get().hGlobal));
    std::wstring first;
    if (list.wide && !list.wideNames.empty()) first = XFromU16(list.wideNames[0]);
    else if (!list.wide && !list.ansiNames.empty())
      first = XWiden(list.ansiNames[0].data(), static_cast<int>(list.ansiNames[0].size()));
    if (!first.empty() && first.size() < kHollinPathChars) {
      XCopyBounded(m_path, kHollinPathChars, first.c_str(), first.size());
      hr = S_OK;
    }
  } catch (...) {
    hr = E_OUTOFMEMORY;  // nothing crosses the COM border
  }
  GlobalUnlock(medium.Get().hGlobal);
  return hr;
}

STDMETHODIMP CHollinClass::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT, UINT flags) {
  if (flags & CMF_DEFAULTONLY) return S_OK;
  if (!InsertMenuW(menu, index, MF_BYPOSITION | MF_STRING, firstId, kHollinOpenText))
    return LastFailure();
  SetMenuItemBitmaps(menu, index, MF_BYPOSITION, m_bitmap, m_bitmap);
  if (!InsertMenuW(menu, index + 1, MF_BYPOSITION | MF_STRING, firstId + 1, kHollinAddText)) {
    HRESULT hr = LastFailure();
    DeleteMenu(menu, index, MF_BYPOSITION);
    return hr;
  }
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 2);
}

STDMETHODIMP CHollinClass::InvokeCommand(CMINVOKECOMMANDINFO* info) {
  if (!info || HIWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb)) != 0) return E_INVALIDARG;
  switch (LOWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb))) {
    case 0: {
      wchar_t exe[kHollinPathChars];
      if (ReadInstallPath(exe)) StartProgram(exe, nullptr);
      return S_OK;
    }
    case 1:
      return AddSelected(*info);
    default:
      return E_INVALIDARG;
  }
}

HRESULT CHollinClass::AddSelected(const CMINVOKECOMMANDINFO& info) {
  wchar_t path[kHollinPathChars];
  XCopyBounded(path, kHollinPathChars, m_path);
  if (!path[0]) ParametersAsPath(info, path);
  if (HWND window = FindProgramWindow()) {
    SendPathToWindow(window, path);
    return S_OK;
  }
  wchar_t exe[kHollinPathChars];
  if (!ReadInstallPath(exe)) return S_OK;
  wchar_t params[kHollinParamChars];
  MakeAddParameters(path, params);
  StartProgram(exe, params);
  return S_OK;
}

STDMETHODIMP CHollinClass::GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name, UINT size) {
  if (command != 0) return E_INVALIDARG;
  // Only help-text requests are answered; verb and validation requests get nothing.
  if ((type & ~GCS_UNICODE) != GCS_HELPTEXTA || !name || size == 0) return S_OK;
  if (type & GCS_UNICODE) {
    XCopyBounded(reinterpret_cast<wchar_t*>(name), size, kHollinHelpText);
  } else {
    char text[64] = {0};
    int n = WideCharToMultiByte(CP_THREAD_ACP, 0, kHollinHelpText, -1, text, sizeof text, nullptr, nullptr);
    if (n <= 0) text[0] = 0;
    XCopyBounded(name, size, text);
  }
  return S_OK;
}
