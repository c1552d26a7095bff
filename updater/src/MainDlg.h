// CMainDlg: the update offer and the installer download. A modeless dialog without owner, run
// by its own message loop on the caller's thread; one worker thread downloads. The worker
// shares only a reference-counted job with the dialog, so a cancelled dialog may go away while
// the worker is still winding down, and the library stays loaded until the worker has ended.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "HyperLink.h"
#include "XWin.h"

// State shared by the dialog and the download worker.
struct CDownloadJob {
  std::wstring url;
  HWND dialog = nullptr;
  std::wstring localPath;               // written by the worker before it sets finished
  std::atomic<bool> cancelled{false};   // set by the dialog: stop and keep nothing
  std::atomic<bool> downloaded{false};  // the installer is complete at localPath
  std::atomic<bool> finished{false};    // the worker has done all it will do
};

class CMainDlg {
 public:
  CMainDlg(const std::wstring& url, const std::wstring& appName, const std::wstring& version,
           const std::wstring& info);
  ~CMainDlg();
  CMainDlg(const CMainDlg&) = delete;
  CMainDlg& operator=(const CMainDlg&) = delete;

  // Shows the dialog (nothing when the installer address is empty) and returns when it has
  // closed; a completed download is then started and parent, if still a window, is asked to close.
  void Run(HWND parent);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  BOOL OnInitDialog();
  void OnUpgrade();
  void OnCancel();
  void OnProgress(int percent);
  void EnsureChineseFont();
  bool StartWorker();
  void StopWorker();
  static DWORD WINAPI WorkerMain(void* param);
  static void Download(CDownloadJob& job);

  std::wstring m_url;
  std::wstring m_appName;
  std::wstring m_version;
  std::wstring m_info;
  HWND m_hWnd = nullptr;
  HWND m_progress = nullptr;
  CHyperLink m_link;
  CXGdiObject<HFONT> m_font;  // replaces the dialog font where that cannot show Chinese text
  std::shared_ptr<CDownloadJob> m_job;
  CXHandle m_worker;
};
