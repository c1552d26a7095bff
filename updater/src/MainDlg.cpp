// CMainDlg: the dialog's thread owns every window; the worker reports through posted messages
// only (progress, then WM_CLOSE), so neither thread ever waits on the other while holding the
// dialog. The worker holds its own reference on this library and ends with
// FreeLibraryAndExitThread, so the caller may unload the library as soon as Run returns.
#include "MainDlg.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <new>

#include "Download.h"
#include "LocalFiles.h"
#include "UpdateRules.h"
#include "XComCtl.h"
#include "XString.h"
#include "XUiLanguage.h"
#include "resource.h"

namespace {

const UINT WM_BRINDLE_PROGRESS = WM_APP + 1;  // wParam: percentage

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// A string resource of this library in the user's language, empty when missing.
std::wstring ResourceString(UINT id) { return XLoadLanguageString(ThisModule(), id, XUserLanguage()); }

// The update dialog's template in the user's language.
const DLGTEMPLATE* DialogTemplate() {
  HMODULE module = ThisModule();
  HRSRC found = XFindLanguageResource(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(IDD_UPDATE),
                                      XUserLanguage());
  HGLOBAL data = found ? LoadResource(module, found) : nullptr;
  return data ? static_cast<const DLGTEMPLATE*>(LockResource(data)) : nullptr;
}

// Centres over the owner, or without one over the work area of the window's monitor, and
// keeps the window inside that work area.
void CenterWindow(HWND hwnd) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  int width = rc.right - rc.left;
  int height = rc.bottom - rc.top;
  HWND owner = GetWindow(hwnd, GW_OWNER);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd, MONITOR_DEFAULTTONEAREST), &mi)) return;
  RECT area = mi.rcWork;
  RECT around = area;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  int x = around.left + ((around.right - around.left) - width) / 2;
  int y = around.top + ((around.bottom - around.top) - height) / 2;
  if (x + width > area.right) x = area.right - width;
  if (y + height > area.bottom) y = area.bottom - height;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Whether every character of text has a glyph in font itself (font linking not counted).
bool FontHasGlyphs(HFONT font, const std::wstring& text) {
  if (!font || text.empty()) return false;
  CXWindowDC dc(nullptr);
  if (!dc.Get()) return false;
  CXDCState state(dc.Get());
  SelectObject(dc.Get(), font);
  std::wstring indices(text.size(), L'\0');
  if (GetGlyphIndicesW(dc.Get(), text.c_str(), static_cast<int>(text.size()), reinterpret_cast<WORD*>(&indices[0]),
                       GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    return false;
  return indices.find(static_cast<wchar_t>(0xFFFF)) == std::wstring::npos;
}

struct WorkerStart {
  std::shared_ptr<CDownloadJob> job;
  HMODULE module;
};

}  // namespace

CMainDlg::CMainDlg(const std::wstring& url, const std::wstring& appName, const std::wstring& version,
                   const std::wstring& info)
    : m_url(url), m_appName(appName), m_version(version), m_info(info) {}

CMainDlg::~CMainDlg() {
  if (m_hWnd) DestroyWindow(m_hWnd);
  StopWorker();
}

void CMainDlg::Run(HWND parent) {
  if (m_url.empty()) return;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
  XInitCommonControlsEx(&icc);
  const DLGTEMPLATE* dialog = DialogTemplate();
  if (!dialog ||
      !CreateDialogIndirectParamW(ThisModule(), dialog, nullptr, &CMainDlg::DialogProc, reinterpret_cast<LPARAM>(this))) {
    return;
  }
  ShowWindow(m_hWnd, SW_SHOW);
  UpdateWindow(m_hWnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (m_hWnd && IsDialogMessageW(m_hWnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (m_hWnd) OnCancel();  // the loop was ended from elsewhere
  StopWorker();

  if (m_job && m_job->downloaded && !m_job->cancelled) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INT_PTR started = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", m_job->localPath.c_str(), nullptr, nullptr, SW_SHOW));
    if (SUCCEEDED(com)) CoUninitialize();
    // Only a started installer may end the program; a failed start leaves it running.
    if (started > 32 && parent && IsWindow(parent)) PostMessageW(parent, WM_CLOSE, 0, 0);
  }
}

INT_PTR CALLBACK CMainDlg::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CMainDlg* self = nullptr;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<CMainDlg*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->m_hWnd = hwnd;
  } else {
    self = reinterpret_cast<CMainDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  try {
    return self->OnMessage(msg, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR CMainDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      if (LOWORD(wParam) == IDOK) {
        OnUpgrade();
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      OnCancel();
      return TRUE;
    case WM_BRINDLE_PROGRESS:
      OnProgress(static_cast<int>(wParam));
      return TRUE;
    case WM_NCDESTROY:
      m_link.Detach();
      m_hWnd = nullptr;
      m_progress = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL CMainDlg::OnInitDialog() {
  CenterWindow(m_hWnd);
  EnsureChineseFont();

  CString question;
  question.Format(ResourceString(IDS_UPDATE_QUESTION).c_str(), m_appName.c_str(), m_version.c_str());
  SetDlgItemTextW(m_hWnd, -1, question);
  SetDlgItemTextW(m_hWnd, IDC_UPDATE_INFO, brindle::ExpandLineBreaks(m_info).c_str());

  m_link.Attach(GetDlgItem(m_hWnd, IDC_UPDATE_LINK), BRINDLE_SITE_URL);

  m_progress = GetDlgItem(m_hWnd, IDC_UPDATE_PROGRESS);
  SendMessageW(m_progress, PBM_SETRANGE32, 0, 100);
  SendMessageW(m_progress, PBM_SETPOS, 0, 0);
  ShowWindow(m_progress, SW_HIDE);
  ShowWindow(GetDlgItem(m_hWnd, IDC_UPDATE_STATUS), SW_HIDE);
  return TRUE;
}

// The dialog font ("MS Shell Dlg") shows Chinese only where the system maps or links it to a
// Chinese font. Where it has no such glyphs, the controls get a font of the same size that the
// font mapper picks for the Chinese character set, provided that one has them; Chinese texts
// get at least 14 pixels either way.
void CMainDlg::EnsureChineseFont() {
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  std::wstring sample = ResourceString(IDS_UPDATE_QUESTION) + ResourceString(IDS_DOWNLOADED);
  LOGFONTW lf = {};
  if (!current || !GetObjectW(current, sizeof lf, &lf)) return;
  const bool hasGlyphs = FontHasGlyphs(current, sample);
  if (hasGlyphs && (XUserLanguage() != XLANG_CHINESE || lf.lfHeight <= -14 || lf.lfHeight >= 0)) return;
  if (!hasGlyphs) {
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfFaceName[0] = 0;
  }
  // Chinese faces are drawn legibly from 14 pixels on; at 12 pixels and below some faces fall
  // back to bitmap strokes that merge, and their Latin letters blur into one another.
  if (lf.lfHeight < 0 && lf.lfHeight > -14) lf.lfHeight = -14;
  CXGdiObject<HFONT> chinese(CreateFontIndirectW(&lf));
  if (!FontHasGlyphs(chinese.Get(), sample)) return;
  m_font.Reset(chinese.Detach());
  for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
  }
}

void CMainDlg::OnUpgrade() {
  if (m_job) return;  // one download per dialog
  HWND upgrade = GetDlgItem(m_hWnd, IDOK);
  if (GetFocus() == upgrade) SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_hWnd, IDCANCEL)), TRUE);
  EnableWindow(upgrade, FALSE);
  ShowWindow(m_progress, SW_SHOW);
  ShowWindow(GetDlgItem(m_hWnd, IDC_UPDATE_STATUS), SW_SHOW);

  m_job = std::make_shared<CDownloadJob>();
  m_job->url = m_url;
  m_job->dialog = m_hWnd;
  if (!StartWorker()) {
    m_job->finished = true;
    PostMessageW(m_hWnd, WM_CLOSE, 0, 0);  // as a failed download: close, start nothing
  }
}

void CMainDlg::OnCancel() {
  if (m_job && !m_job->finished) m_job->cancelled = true;
  if (m_hWnd) DestroyWindow(m_hWnd);
  PostQuitMessage(2);
}

void CMainDlg::OnProgress(int percent) {
  if (!m_hWnd) return;
  SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  CString text;
  text.Format(ResourceString(IDS_DOWNLOADED).c_str(), percent);
  SetDlgItemTextW(m_hWnd, IDC_UPDATE_STATUS, text);
}

bool CMainDlg::StartWorker() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CMainDlg::WorkerMain),
                          &module)) {
    return false;
  }
  WorkerStart* start = new (std::nothrow) WorkerStart{m_job, module};
  HANDLE thread = start ? CreateThread(nullptr, 0, &CMainDlg::WorkerMain, start, 0, nullptr) : nullptr;
  if (!thread) {
    delete start;
    FreeLibrary(module);
    return false;
  }
  m_worker.Reset(thread);
  return true;
}

void CMainDlg::StopWorker() {
  if (!m_worker.Valid()) return;
  if (m_job && !m_job->finished) m_job->cancelled = true;
  // The worker checks for cancellation between blocks; should the network hold it longer, it
  // winds down on its own with the job and the library reference it holds.
  WaitForSingleObject(m_worker.Get(), 2000);
  m_worker.Reset();
}

DWORD WINAPI CMainDlg::WorkerMain(void* param) {
  WorkerStart* start = static_cast<WorkerStart*>(param);
  HMODULE module = start->module;
  try {
    Download(*start->job);
  } catch (...) {
    // Download's guard has already marked the job finished and told the dialog.
  }
  delete start;
  FreeLibraryAndExitThread(module, 0);
}

void CMainDlg::Download(CDownloadJob& job) {
  // Whatever happens, the dialog learns that the worker is done.
  struct Done {
    CDownloadJob& job;
    ~Done() {
      job.finished = true;
      if (!job.cancelled) PostMessageW(job.dialog, WM_CLOSE, 0, 0);
    }
  } done{job};

  std::wstring temp = brindle::TempFolder();
  std::wstring marker = brindle::CreateUniqueFile(temp, L"download");
  if (marker.empty()) return;
  DeleteFileW(marker.c_str());  // it only found the folder; leave no stray file behind
  std::wstring name;
  if (!brindle::InstallerFileName(job.url, &name)) return;
  std::wstring path = brindle::FolderOf(marker) + L"\\" + name;
  if (path.size() >= MAX_PATH) return;
  job.localPath = path;

  int last = -1;
  auto progress = [&job, &last](int percent) {
    if (percent == last || job.cancelled) return;
    last = percent;
    PostMessageW(job.dialog, WM_BRINDLE_PROGRESS, static_cast<WPARAM>(percent), 0);
  };
  bool ok = brindle::DownloadToFile(job.url, path, progress, &job.cancelled);
  if (ok && job.cancelled) DeleteFileW(path.c_str());
  if (ok && !job.cancelled) job.downloaded = true;
}
