// The modal dialog's own loop (result, owner, WM_QUIT handed on) and the drop window's drop
// target, driven in-process with a real data object carrying CF_HDROP.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <new>
#include <string>

#include "ModelTestUtil.h"
#include "TestUtil.h"
#include "XDropEasyWnd.h"
#include "XEasyDialog.h"

namespace {

const UINT kPoke = WM_USER + 7;

// Drives a running dialog from its notifications: on creation it pokes the dialog; on the
// poke it records the owner's state and ends the dialog the chosen way.
class DialogDriver : public uitest::RecordingCallback {
 public:
  LRESULT OnNotify(IXUIObject* sender, NOTIFY_EVENT* e) override {
    if (e->event.uMsg == WM_CREATE && sender == dialog) PostMessageW(e->event.hWnd, kPoke, 0, 0);
    if (e->event.uMsg == kPoke && sender == dialog) {
      ownerEnabledDuring = IsWindowEnabled(owner) != 0;
      dialogVisibleDuring = IsWindowVisible(e->event.hWnd) != 0;
      if (quitCode >= 0) PostQuitMessage(quitCode);
      else PostMessageW(e->event.hWnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    return 0;
  }
  IXUIObject* dialog = nullptr;
  HWND owner = nullptr;
  int quitCode = -1;
  WORD command = 5;
  bool ownerEnabledDuring = true;
  bool dialogVisibleDuring = false;
};

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { ownerWnd.Create(nullptr, nullptr, L"Owner", WS_POPUP, 0, nullptr); }
  void TearDown() override {
    DestroyWindow(ownerWnd.GetHWND());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  CXWindow ownerWnd;
};

TEST_F(Dialogs, ClosedByACommandReturnsItAndGivesTheOwnerBack) {
  CXEasyDialog dialog;
  dialog.XUI_SetRect(CRect(50, 50, 250, 150));
  dialog.XUI_SetWindowText(L"Modal");
  DialogDriver driver;
  driver.dialog = &dialog;
  driver.owner = ownerWnd.GetHWND();
  EXPECT_EQ(dialog.DoModal(ownerWnd.GetHWND()), 5);
  EXPECT_FALSE(driver.ownerEnabledDuring);
  EXPECT_TRUE(driver.dialogVisibleDuring);
  EXPECT_TRUE(IsWindowEnabled(ownerWnd.GetHWND()));
  EXPECT_EQ(dialog.GetHWND(), nullptr);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

  // The same object runs again; command 1 also closes it.
  driver.command = 1;
  EXPECT_EQ(dialog.DoModal(ownerWnd.GetHWND()), 1);
}

// A dialog whose placement fails the way an allocation does when memory runs out.
class StarvedDialog : public CXEasyDialog {
 public:
  void RelocateWnd() override { throw std::bad_alloc(); }
};

TEST_F(Dialogs, AFailureBeforeTheLoopStaysInsideTheLibrary) {
  StarvedDialog dialog;
  dialog.XUI_SetRect(CRect(50, 50, 250, 150));
  int result = -1;
  EXPECT_NO_THROW(result = CXUIMgr::GetInstance().DialogDoModal(&dialog, ownerWnd.GetHWND()));
  EXPECT_EQ(result, 0);
  // No dialog is left behind and the owner keeps working.
  EXPECT_EQ(dialog.GetHWND(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(ownerWnd.GetHWND()));
}

TEST_F(Dialogs, AQuitEndsTheLoopAndIsPostedAgainWithItsCode) {
  CXEasyDialog dialog;
  dialog.XUI_SetRect(CRect(50, 50, 250, 150));
  DialogDriver driver;
  driver.dialog = &dialog;
  driver.owner = ownerWnd.GetHWND();
  driver.quitCode = 7;
  EXPECT_EQ(dialog.DoModal(ownerWnd.GetHWND()), 7);
  EXPECT_TRUE(IsWindowEnabled(ownerWnd.GetHWND()));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  ASSERT_NE(dialog.GetHWND(), nullptr);  // the loop ended before the dialog did
  DestroyWindow(dialog.GetHWND());
}

// A data object with CF_HDROP (wide paths), or with nothing.
class FilesDataObject : public IDataObject {
 public:
  explicit FilesDataObject(const std::vector<std::wstring>& files, bool offerDrop = true) : m_offer(offerDrop) {
    for (const std::wstring& f : files) m_list += f + L'\0';
    m_list += L'\0';
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  DWORD filesAt = sizeof(DROPFILES);  // where the block says its names start
  ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    const size_t bytes = sizeof(DROPFILES) + m_list.size() * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
    drop->pFiles = filesAt;
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), m_list.data(), m_list.size() * sizeof(wchar_t));
    GlobalUnlock(mem);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = mem;
    medium->pUnkForRelease = nullptr;
    ++gets;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!m_offer || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  int gets = 0;

 private:
  std::wstring m_list;
  bool m_offer;
  ULONG m_refs = 1;
};

// Copies the notification buffer while it is alive.
class DropRecorder : public uitest::RecordingCallback {
 public:
  LRESULT OnNotify(IXUIObject* sender, NOTIFY_EVENT* e) override {
    if (lstrcmpW(e->szName, L"DropFiles") == 0) {
      dropSender = sender;
      length = e->event.wParam;
      buffer.assign(reinterpret_cast<const wchar_t*>(e->event.lParam), length);
      ++drops;
    }
    return 0;
  }
  IXUIObject* dropSender = nullptr;
  size_t length = 0;
  std::wstring buffer;
  int drops = 0;
};

TEST(DropWindow, ADropReachesTheApplicationAsOneBufferOfPaths) {
  DropRecorder recorder;
  CXDropEasyWnd wnd;
  RECT r = {0, 0, 100, 100};
  HWND hwnd = wnd.Create(nullptr, &r, L"Pinvale", WS_POPUP, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  wchar_t cls[32] = {0};
  GetClassNameW(hwnd, cls, 32);
  EXPECT_STREQ(cls, L"XDROPEASYWND");
  EXPECT_EQ(FindWindowW(L"XDROPEASYWND", L"Pinvale"), hwnd);

  // The target answers IDropTarget and IUnknown only and counts no references.
  IDropTarget* target = &wnd;
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(target->QueryInterface(IID_IDropTarget, &out), S_OK);
  EXPECT_EQ(out, target);
  EXPECT_EQ(target->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(target->AddRef(), 1u);
  EXPECT_EQ(target->Release(), 1u);

  FilesDataObject files({L"a", L"bc", L"d"});
  DWORD effect = DROPEFFECT_COPY;
  POINTL pt = {10, 10};
  EXPECT_EQ(target->DragEnter(&files, MK_LBUTTON, pt, &effect), S_OK);
  EXPECT_EQ(target->DragOver(MK_LBUTTON, pt, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));  // left as the caller set it
  EXPECT_EQ(target->Drop(&files, 0, pt, &effect), S_OK);
  ASSERT_EQ(recorder.drops, 1);
  EXPECT_EQ(recorder.dropSender, static_cast<IXUIObject*>(&wnd));
  EXPECT_EQ(recorder.length, 9u);
  EXPECT_EQ(recorder.buffer, std::wstring(L"a\0bc\0d\0\0\0", 9));

  // Without CF_HDROP the drop is refused and nobody is told.
  FilesDataObject nothing({L"x"}, false);
  EXPECT_EQ(target->Drop(&nothing, 0, pt, &effect), S_FALSE);
  EXPECT_EQ(nothing.gets, 0);
  EXPECT_EQ(target->DragLeave(), S_OK);
  EXPECT_EQ(recorder.drops, 1);
  DestroyWindow(hwnd);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST(DropWindow, LongPathsArriveWhole) {
  std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L"\\file.txt";
  FilesDataObject files({longPath, L"short"});
  std::vector<CString> paths = IXDropTarget::QueryDropFiles(&files);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0].Str(), longPath);
  EXPECT_EQ(paths[1], L"short");
  EXPECT_TRUE(IXDropTarget::QueryDropFiles(nullptr).empty());
  std::vector<wchar_t> joined = CXDropEasyWnd::JoinPaths({L"a", L"bc", L"d"});
  EXPECT_EQ(joined.size(), 9u);
  EXPECT_EQ(CXDropEasyWnd::JoinPaths({}).size(), 2u);
}

TEST(DropWindow, ABlockWhoseNamesLieOutsideItGivesNoPaths) {
  FilesDataObject files({L"C:\\first"});
  for (DWORD at : {DWORD(0), DWORD(8), DWORD(0x7FFFFFF0)}) {
    files.filesAt = at;
    EXPECT_TRUE(IXDropTarget::QueryDropFiles(&files).empty()) << at;
  }
}

}  // namespace
