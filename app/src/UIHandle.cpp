// CUIHandle: the dispatch of the framework's notifications and the commands behind them. All
// of it runs on the framework's UI thread; nothing here is locked. Paths handed in by other
// processes (copy-data) and by the framework (dropped files) are read within their stated
// lengths only.
#include "UIHandle.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "AppText.h"
#include "BackgroundServices.h"
#include "CommandLine.h"
#include "ControlMgr.h"
#include "HandedPath.h"
#include "IconPixels.h"
#include "ProgramSeam.h"
#include "ShellItem.h"
#include "XBaseUI.h"
#include "XHotKey.h"
#include "XList.h"
#include "XSkinRegistry.h"
#include "XUIMgr.h"
#include "XWindow.h"
#include "XWin.h"

namespace {


// A lock or a file held by another program is often let go within seconds.
const UINT_PTR kStoreRetryTimer = 0x5044;
const UINT kStoreRetryMs = 2000;

VOID CALLBACK OnStoreRetryTimer(HWND, UINT, UINT_PTR, DWORD) { CUIHandle::Instance().RetryStore(); }

const UINT_PTR kBackgroundTimer = 0x7E21;
const UINT kBackgroundPeriodMs = 10;
const DWORD kIconSliceMs = 8;  // the longest the window waits for the icon check
// Rows from here on that need a type not asked of the shell yet (a few milliseconds a type)
// get their icon from the background check: they are not on the first screen.
const int kIconRowsNow = 64;

// How long the "Removed ... Undo" line stays.
const UINT_PTR kUndoLineTimer = 0x5545;
const UINT kUndoLineMs = 8000;
const int kUndoLineHeight = 28;  // taken from the bottom of the list while the line shows
const int kUndoNameChars = 32;   // longer names are shortened with an ellipsis

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// A row holds at most this many characters of its path: a text that fills it may be a longer
// path cut short, which can name another item, so it is never started.
const size_t kRowTextChars = sizeof(tagITEM_DATA::text) / sizeof(wchar_t);
bool RowTextMayBeCut(const wchar_t* text) { return wcsnlen(text, kRowTextChars) >= kRowTextChars - 1; }

bool IdIs(const wchar_t* id, const wchar_t* expected) { return id && lstrcmpiW(id, expected) == 0; }

// The native window an object lives in: the first window among the object and its parents.
HWND HostWindowOf(IXUIObject* object) {
  for (int depth = 0; object && depth < 64; ++depth, object = object->XUI_GetParent()) {
    if (XIsWindowObject(object)) return static_cast<CXWindow*>(object)->GetHWND();
  }
  return nullptr;
}

// The options behind the check boxes of the settings dialog.
enum Option { kAutoRun, kAutoHide, kRightMenu, kAutoSort, kHideToolbar };

struct OPTION_BOX {
  const wchar_t* id;
  Option option;
};
// The boxes are filled in this order when the dialog is created...
const OPTION_BOX kFillOrder[] = {{L"autohide", kAutoHide}, {L"autorun", kAutoRun}, {L"rightlink", kRightMenu},
                                 {L"autosort", kAutoSort}, {L"hidetoolbar", kHideToolbar}};
// ...and written back in this one when it is confirmed.
const OPTION_BOX kWriteOrder[] = {{L"autorun", kAutoRun}, {L"autohide", kAutoHide}, {L"rightlink", kRightMenu},
                                  {L"autosort", kAutoSort}, {L"hidetoolbar", kHideToolbar}};

int ReadOption(CSettings& s, Option o) {
  switch (o) {
    case kAutoRun: return s.GetAutoRun();
    case kAutoHide: return s.GetAutoHide();
    case kRightMenu: return s.GetRightMenu();
    case kAutoSort: return s.GetAutoSort();
    case kHideToolbar: return s.GetHideToolbar();
  }
  return 0;
}

void WriteOption(CSettings& s, Option o, int value) {
  switch (o) {
    case kAutoRun: s.SetAutoRun(value); break;
    case kAutoHide: s.SetAutoHide(value); break;
    case kRightMenu: s.SetRightMenu(value); break;
    case kAutoSort: s.SetAutoSort(value); break;
    case kHideToolbar: s.SetHideToolbar(value); break;
  }
}

// A root built from a template for this object alone: the skin's table of built objects
// forgets it before it is destroyed, so that table never names a freed object.
struct TemplateRootDeleter {
  void operator()(IXUIObject* root) const {
    CXSkinRegistry::Instance().ForgetCreated(root);
    XDestroyUIObject(root);
  }
};
using CTemplateRoot = std::unique_ptr<IXUIObject, TemplateRootDeleter>;

CXBaseUI* DialogCheckBox(IXUIObject* dialog, const wchar_t* id) {
  CControlMgr* mgr = dialog ? dialog->XUI_GetControlMgr() : nullptr;
  return mgr ? mgr->FindUI(id) : nullptr;
}

}  // namespace

CUIHandle& CUIHandle::Instance() {
  static CUIHandle handle;
  return handle;
}

CUIHandle::CUIHandle() : m_pSettings(new CSettings) {}

CUIHandle::~CUIHandle() = default;


void CUIHandle::StartShell(const CString& file) {
  if (!PathFitsShell(file)) return;
  if (ProgramCallTaken({L"ShellExecuteW", L"open", file, nullptr, 0})) return;
  ShellExecuteW(nullptr, L"open", file, nullptr, nullptr, SW_SHOW);
}

LRESULT CUIHandle::OnNotify(IXUIObject* sender, NOTIFY_EVENT* event) {
  if (!sender || !event) return 0;
  try {
    if (lstrcmpiW(event->szName, L"DropFiles") == 0 && event->event.lParam) {
      // wParam characters: NUL-terminated paths one after another.
      const wchar_t* paths = reinterpret_cast<const wchar_t*>(event->event.lParam);
      size_t count = event->event.wParam;
      for (size_t i = 0; i < count; ++i) {
        size_t start = i;
        while (i < count && paths[i]) ++i;
        if (i > start) AddItem(CString(paths + start, static_cast<int>(i - start)));
      }
    }
    if (sender->XUI_GetUIType() & XUI_TYPE_WINDOWLESS) return OnControlNotify(sender, event);
    const wchar_t* id = sender->XUI_GetID();
    if (IdIs(id, L"main")) return OnMainWindowMessage(static_cast<CXWindow*>(sender), event);
    if (IdIs(id, L"setting.dlg")) OnSettingsDialogMessage(sender, event->event);
  } catch (...) {
    // Nothing may unwind into the framework (out of memory in a string or list).
  }
  return 0;
}

LRESULT CUIHandle::OnControlNotify(IXUIObject* sender, NOTIFY_EVENT* event) {
  const wchar_t* id = sender->XUI_GetID();
  UINT code = event->event.uMsg;
  if (IdIs(id, L"list")) {
    if (code == WM_CREATE) {
      if (lstrcmpiW(sender->XUI_GetClassName(), L"XLIST") != 0) return 0;
      FillList(static_cast<CXList*>(sender));
      return 1;
    }
    if (!m_pList) return 0;
    if (code == WM_LBUTTONDBLCLK) {
      int row = RowAtPoint(event->event.lParam);
      tagITEM_DATA* item = m_pList->GetItem(row, 0);
      if (item && item->text[0] && PathExistsAtAll(item->text)) {
        OpenRow(row);
        return 1;
      }
    } else if (code == XWM_RBUTTONCLICK) {
      int row = RowAtPoint(event->event.lParam);
      tagITEM_DATA* item = m_pList->GetItem(row, 0);
      if (item && item->text[0]) {
        OpenRowFolder(row);
        return 1;
      }
    }
    return 0;
  }
  if (IdIs(id, L"filter")) {
    // Keys the field's editor hands on (not those the window routes to it under the mouse).
    const HWND main = m_pMainWnd ? m_pMainWnd->GetHWND() : nullptr;
    if (code == WM_KEYDOWN && event->event.hWnd != main && IsFilterEditor(event->event.hWnd))
      OnFilterKeyDown(event->event.hWnd, event->event.wParam);
    return 0;
  }
  if (code != XWM_LBUTTONCLICK) return 0;
  if (IdIs(id, L"undo")) {
    UndoRemoval();
  } else if (IdIs(id, L"toolbar.desktop")) {
    MinimizeAllWindows();
  } else if (IdIs(id, L"additem")) {
    AddFolderFromPicker(HostWindowOf(sender));
  } else if (IdIs(id, L"deleteitem")) {
    DeleteSelectedRow();
  } else if (IdIs(id, L"setting")) {
    RunSettingsDialog();
  } else if (IdIs(id, L"main.close")) {
    HideMainWindow();
  }
  return 0;
}

LRESULT CUIHandle::OnMainWindowMessage(CXWindow* window, NOTIFY_EVENT* event) {
  const MESSAGE_EVENT& e = event->event;
  HWND hwnd = window->GetHWND();
  switch (e.uMsg) {
    case WM_CREATE:
      OnCreateMainWindow(window);
      break;
    case WM_DESTROY:
      StopBackgroundWork();
      m_rowIcons.Stop();
      OnDestroyMainWindow();
      break;
    case WM_HOTKEY:
      ToggleMainWindow();
      break;
    case WM_ACTIVATE:
      if (LOWORD(e.wParam) == WA_INACTIVE) AutoHideTest(reinterpret_cast<HWND>(e.lParam), true);
      break;
    case WM_KILLFOCUS:
      if (e.wParam) AutoHideTest(reinterpret_cast<HWND>(e.wParam), false);
      break;
    case WM_SHOWWINDOW:
      if (e.wParam == 1) {
        BringWindowToTop(hwnd);
        SetForegroundWindow(hwnd);
      } else if (m_pList) {
        for (int i = 0; i < m_pList->GetRowCount(); ++i) {
          ROW_DATA* row = m_pList->GetRow(i);
          if (row && row->state == 2) row->state = 0;
        }
        // Each showing starts with the whole list.
        ClearFilter();
        CControlMgr::Invalidate(m_pList, FALSE);
      }
      break;
    case WM_COPYDATA:
      OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(e.lParam));
      break;
    case CTrayIcon::kCallbackMessage:
      if (e.lParam == WM_LBUTTONDOWN) {
        ShowMainWindow(SW_SHOW);
        SetForegroundWindow(hwnd);
      } else if (e.lParam == WM_RBUTTONDOWN) {
        m_tray.ShowMenu();
      }
      break;
    case WM_COMMAND:
      if (HIWORD(e.wParam) == EN_CHANGE && IsFilterEditor(reinterpret_cast<HWND>(e.lParam))) {
        HWND field = reinterpret_cast<HWND>(e.lParam);
        const int length = GetWindowTextLengthW(field);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(field, &text[0], static_cast<int>(text.size())))));
        ApplyFilter(CString(text.c_str()));
        break;
      }
      if (LOWORD(e.wParam) == CTrayIcon::kCommandOpen) {
        ShowMainWindow(SW_SHOW);
        SetForegroundWindow(hwnd);
      }
      break;
    case WM_KEYDOWN:
      OnMainKeyDown(e.wParam);
      break;
    case WM_CHAR:
      OnMainChar(e.wParam);
      break;
    case WM_CONTEXTMENU:
      // From the keyboard (the menu key, Shift+F10): what a right-click on the selected row does.
      if (e.lParam == -1 && m_pList) OpenRowFolder(m_rows.SelectedRow());
      break;
    case kStoreReportMessage:
      ShowStoreReport();
      break;
    default:
      if (e.uMsg == CTrayIcon::TaskbarCreatedMessage() && e.uMsg != 0) m_tray.Add();
      break;
  }
  return 0;
}

void CUIHandle::OnCreateMainWindow(CXWindow* window) {
  HWND hwnd = window->GetHWND();
  m_store.StartupLoad(m_pSettings->GetAutoSort() != 0, PendingAddPath());
  ApplyToolbarVisibility(m_pSettings->GetHideToolbar(), window, true);
  m_pMainWnd = window;
  AfterStoreUse();
  m_globalHotKey.Register(hwnd, HOTKEY_CHOICE::FromStored(m_pSettings->GetHotKey()));
  // Keys may come the moment the window shows: the key table is read before it.
  m_hotKeys.LoadFromFolder(ProgramFolder());
  // The rest waits until the window shows: none of it is needed to show it.
  m_startPending = true;
  StartBackgroundWork();
  if (!m_timerWindow) FinishStart();
}

void CUIHandle::FinishStart() {
  m_startPending = false;
  HWND hwnd = m_pMainWnd ? m_pMainWnd->GetHWND() : nullptr;
  m_tray.Create(hwnd);
  CBackgroundServices::StartUpdateCheck(hwnd);
  CBackgroundServices::SendPing();
}

void CUIHandle::OnDestroyMainWindow() {
  m_globalHotKey.Unregister();
  if (m_pMainWnd) KillTimer(m_pMainWnd->GetHWND(), kStoreRetryTimer);
  m_tray.Delete();
  m_store.CloseDatabase();
  CBackgroundServices::ReleasePing();
}

void CUIHandle::OnCopyData(const COPYDATASTRUCT* data) {
  if (!data || !data->lpData) return;
  CString path(XFromU16(PathFromCopyData(data->lpData, data->cbData)));
  if (!PathExistsAtAll(path)) return;
  AddItem(path);
  if (m_pMainWnd && !IsWindowVisible(m_pMainWnd->GetHWND())) m_pMainWnd->ShowWindow(SW_SHOWNORMAL);
}

void CUIHandle::AutoHideTest(HWND other, bool fromActivate) {
  if (!m_pSettings->GetAutoHide() || !m_pMainWnd) return;
  HWND main = m_pMainWnd->GetHWND();
  if (!other) {
    if (fromActivate) HideMainWindow();
    return;
  }
  if (other == main || GetParent(other) == main || GetWindow(other, GW_OWNER) == main) return;
  // The program's own message boxes have no owner; the user must see what they speak of.
  if (GetWindowThreadProcessId(other, nullptr) == GetCurrentThreadId()) return;
  HideMainWindow();
}

void CUIHandle::HideMainWindow() {
  if (m_pMainWnd) m_pMainWnd->ShowWindow(SW_HIDE);
}

void CUIHandle::ShowMainWindow(int show) {
  if (m_pMainWnd) m_pMainWnd->ShowWindow(show);
}

void CUIHandle::ToggleMainWindow() {
  if (!m_pMainWnd) return;
  m_pMainWnd->ShowWindow(IsWindowVisible(m_pMainWnd->GetHWND()) ? SW_HIDE : SW_SHOW);
}

void CUIHandle::AddItem(const CString& path) {
  // A database let go since the last try takes this add in order, after the waiting ones.
  if (m_store.Unavailable()) RetryStore();
  HideUndoLine();
  int id = 0;
  m_store.Add(path, id);
  if (id != 0) m_store.NoteAdded(id);
  if (m_pList) {
    EnsureImages();
    // Kept in the full list; shown now only when it matches the filter.
    HICON own = m_rowIcons.Request(path);
    m_rows.Append(path, static_cast<DWORD>(id), own ? own : TypeIcon(ExactTypeKey(path), path));
    CControlMgr::Invalidate(m_pList, FALSE);
  }
  AfterStoreUse();
}

void CUIHandle::FillList(CXList* list) {
  m_pList = list;
  if (m_images) list->SetImageList(m_images.Get());
  m_rows.Attach(list);
  m_rowIcons.Attach(
      list, [this](const CString& path) { return TypeIcon(GuessedTypeKey(path), path); },
      [this](const std::unordered_map<std::wstring, HICON>& icons) { m_rows.SetIconsOfPaths(icons); });
  m_iconCheckRow = m_rows.Model().Count();
  AppendRecords();
  StartBackgroundWork();
}

void CUIHandle::EnsureImages() {
  if (m_images || !m_pList) return;
  m_images.Reset(XImageList_Create(32, 32, ILC_COLOR32, 100, 100));
  m_pList->SetImageList(m_images.Get());
}

void CUIHandle::AppendRecords() {
  if (m_store.Count() > 0) EnsureImages();
  // Each type icon costs the shell a lookup: only the rows the list shows at once wait for theirs.
  const int itemHeight = m_pList->GetItemHeight();
  const int onScreen = itemHeight > 0 ? m_pList->XUI_GetRect().Height() / itemHeight + 2 : kIconRowsNow;
  const int rowsNow = onScreen < kIconRowsNow ? onScreen : kIconRowsNow;
  for (int i = 0; i < m_store.Count(); ++i) {
    const FAVORITE_DATA* record = m_store.At(i);
    const CString path(record->path);
    const std::wstring key = GuessedTypeKey(path);
    const bool now = m_rows.Model().Count() < rowsNow || m_typeIconHandles.count(key) || m_rowIcons.CachedTypeIcon(key);
    HICON own = m_rowIcons.Request(path);
    m_rows.Append(path, static_cast<DWORD>(record->id), own ? own : now ? TypeIcon(key, path) : static_cast<HICON>(nullptr));
  }
  m_store.ReleaseList();  // the list holds the rows now
}

void CUIHandle::StartBackgroundWork() {
  // Only a real window runs the timer (tests drive the handler without one).
  HWND window = m_pMainWnd ? m_pMainWnd->GetHWND() : nullptr;
  if (m_timerWindow || !window || !IsWindow(window)) return;
  if (SetTimer(window, kBackgroundTimer, kBackgroundPeriodMs, &CUIHandle::BackgroundTick)) m_timerWindow = window;
}

void CUIHandle::StopBackgroundWork() {
  if (m_timerWindow) KillTimer(m_timerWindow, kBackgroundTimer);
  m_timerWindow = nullptr;
}

void CALLBACK CUIHandle::BackgroundTick(HWND, UINT, UINT_PTR, DWORD) {
  try {
    Instance().BackgroundStep();
  } catch (...) {
    // Out of memory: the rest waits for the next tick.
  }
}

void CUIHandle::BackgroundStep() {
  if (m_startPending) {
    FinishStart();
    return;
  }
  if (!m_pList) {
    StopBackgroundWork();
    return;
  }
  const DWORD start = GetTickCount();
  if (m_store.IsImporting()) {
    m_store.ImportMore(CFavoriteStore::kImportLines);
    return;
  }
  if (m_store.HasMoreRows()) {
    m_store.LoadMore(CFavoriteStore::kMoreRows);
    AppendRecords();
    CControlMgr::Invalidate(m_pList, FALSE);  // the scrollbar's range has grown
    return;
  }
  if (CheckIcons(start + kIconSliceMs) && RefreshTypeIcons(start + kIconSliceMs)) StopBackgroundWork();
}

bool CUIHandle::CheckIcons(DWORD deadline) {
  const int count = m_rows.Model().Count();
  bool changed = false;
  for (int checked = 1; m_iconCheckRow < count; ++checked) {
    const FILTER_ENTRY* entry = m_rows.Model().Entry(m_iconCheckRow);
    if (entry && !entry->path.empty()) {
      const CString path(entry->path.c_str());
      const std::wstring exact = ExactTypeKey(path);
      if (exact != GuessedTypeKey(path) || !entry->icon) {
        m_rows.SetEntryIcon(m_iconCheckRow, TypeIcon(exact, path));
        changed = true;
      }
    }
    ++m_iconCheckRow;
    if (checked % 8 == 0 && static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
  }
  if (changed) CControlMgr::Invalidate(m_pList, FALSE);
  return m_iconCheckRow >= count;
}

void CUIHandle::RetryStore() {
  if (m_store.Retry() && m_pList) {
    // The database's rows now include every add of the meantime, with their ids.
    m_rows.Clear();
    HideUndoLine();  // the place it would return to is gone
    m_canUndo = false;
    m_iconCheckRow = 0;
    AppendRecords();
    StartBackgroundWork();
    CControlMgr::Invalidate(m_pList, FALSE);
  }
  AfterStoreUse();
}

void CUIHandle::AfterStoreUse() {
  if (!m_pMainWnd) return;
  HWND hwnd = m_pMainWnd->GetHWND();
  if (m_store.Unavailable()) {
    SetTimer(hwnd, kStoreRetryTimer, kStoreRetryMs, OnStoreRetryTimer);  // resets a running one
  } else {
    KillTimer(hwnd, kStoreRetryTimer);
  }
  if (m_store.HasReport()) PostMessageW(hwnd, kStoreReportMessage, 0, 0);
}

void CUIHandle::ShowStoreReport() {
  CString text = m_store.TakeReport();
  if (text.IsEmpty()) return;
  const UINT style = MB_OK | MB_ICONWARNING;
  if (!ProgramCallTaken({L"MessageBoxW", kDatabaseReportCaption, text, nullptr, style}))
    MessageBoxW(nullptr, text, kDatabaseReportCaption, style);
}

int CUIHandle::RowAtPoint(LPARAM lParam) {
  if (!m_pList) return -1;
  CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  int row = -1;
  m_pList->HitTest(&point, row);
  return row;
}

void CUIHandle::OpenRow(int row) {
  tagITEM_DATA* item = m_pList ? m_pList->GetItem(row, 0) : nullptr;
  if (!item || !item->text[0]) return;
  if (RowTextMayBeCut(item->text)) return;
  CString path(item->text);
  if (!PathExistsAtAll(path)) return;
  OpenItem(path);
  m_store.CountOpen(static_cast<int>(m_pList->GetItemData(row)), path);
  AfterStoreUse();
}

void CUIHandle::OpenRowFolder(int row) {
  tagITEM_DATA* item = m_pList ? m_pList->GetItem(row, 0) : nullptr;
  if (!item || !item->text[0] || RowTextMayBeCut(item->text)) return;
  CString path(item->text);
  StartShell(PathIsExistingFolder(path) ? path : PathWithoutLastComponent(path));
  m_store.CountOpen(static_cast<int>(m_pList->GetItemData(row)), path);
  AfterStoreUse();
}

void CUIHandle::DeleteSelectedRow() {
  if (!m_pList) return;
  int row = m_pList->GetSelectRow(0);
  if (row < 0) return;
  int id = static_cast<int>(m_pList->GetItemData(row));
  const wchar_t* text = m_pList->GetItemText(row, 0);
  CString path(text ? text : L"");
  REMOVED_FAVORITE removed = m_store.ReadForUndo(id, path);
  FILTER_ENTRY entry = {};
  const int at = m_rows.RemoveRow(row, &entry);
  if (at < 0) m_pList->DeleteRow(row);  // a row the model never had goes all the same
  if (at >= 0 && at < m_iconCheckRow) --m_iconCheckRow;
  m_store.Remove(id, path);
  if (at >= 0) {
    removed.path = CString(entry.path.c_str());  // the whole path, as the full list holds it
    m_removed = removed;
    m_removedAt = at;
    m_canUndo = true;
    ShowUndoLine(removed.path);
  }
  CControlMgr::Invalidate(m_pList, FALSE);
  AfterStoreUse();
}

void CUIHandle::UndoRemoval() {
  if (!m_canUndo || !m_pList) return;
  m_canUndo = false;
  HideUndoLine();
  if (m_store.Unavailable()) RetryStore();
  const int id = m_store.Restore(m_removed);
  if (id != 0) m_store.NoteAdded(id);
  const CString& path = m_removed.path;
  const int at = std::min(m_removedAt, m_rows.Model().Count());
  const int row = m_rows.Insert(at, path, static_cast<DWORD>(id), TypeIcon(ExactTypeKey(path), path));
  if (at < m_iconCheckRow) ++m_iconCheckRow;
  if (row >= 0) m_rows.Select(row);
  CControlMgr::Invalidate(m_pList, FALSE);
  AfterStoreUse();
}

CXBaseUI* CUIHandle::MainChild(const wchar_t* id) const {
  CControlMgr* mgr = m_pMainWnd ? m_pMainWnd->XUI_GetControlMgr() : nullptr;
  return mgr ? mgr->FindUI(id) : nullptr;
}

void CUIHandle::OnMainKeyDown(WPARAM key) {
  const bool ctrl = KeyHeld(VK_CONTROL), alt = KeyHeld(VK_MENU);
  m_skipChar = false;
  if (ctrl && !alt && key == 'F') {
    m_skipChar = true;
    FocusFilter(0);
    return;
  }
  if (ctrl && !alt && key == 'Z') {
    m_skipChar = true;
    UndoRemoval();
    return;
  }
  if (key >= 'A' && key <= 'Z') {
    // The key table's letters keep their meaning; the others are typed into the filter.
    const wchar_t letter = static_cast<wchar_t>(key);
    if (m_hotKeys.HasKey(letter)) {
      m_skipChar = true;
      CString path = m_hotKeys.FindHotKey(letter);
      if (!path.IsEmpty()) StartShell(path);
    }
    return;
  }
  if (!m_pList) return;
  switch (key) {
    case VK_UP: m_rows.Move(LIST_MOVE::kUp); break;
    case VK_DOWN: m_rows.Move(LIST_MOVE::kDown); break;
    case VK_PRIOR: m_rows.Move(LIST_MOVE::kPageUp); break;
    case VK_NEXT: m_rows.Move(LIST_MOVE::kPageDown); break;
    case VK_HOME: m_rows.Move(LIST_MOVE::kHome); break;
    case VK_END: m_rows.Move(LIST_MOVE::kEnd); break;
    case VK_RETURN: OpenRow(m_rows.SelectedRow()); break;
    case VK_DELETE: DeleteSelectedRow(); break;
    case VK_ESCAPE:
      if (m_rows.Filtered()) ClearFilter();
      else HideMainWindow();
      break;
    default: break;
  }
}

void CUIHandle::OnMainChar(WPARAM character) {
  const bool skip = m_skipChar;
  m_skipChar = false;
  if (skip || character < 0x20 || character == 0x7F || character > 0xFFFF) return;
  if (KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU)) return;  // AltGr sends Ctrl+Alt and types
  FocusFilter(static_cast<wchar_t>(character));
}

bool CUIHandle::IsFilterEditor(HWND window) const {
  // The field's editor is the native child laid over it while the user edits.
  CXBaseUI* filter = MainChild(L"filter");
  HWND main = m_pMainWnd ? m_pMainWnd->GetHWND() : nullptr;
  if (!filter || !window || !main || GetParent(window) != main || !IsWindowVisible(window)) return false;
  RECT placed = {};
  GetWindowRect(window, &placed);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&placed), 2);
  RECT field = filter->XUI_GetRect(), common = {};
  return IntersectRect(&common, &placed, &field) != 0;
}

HWND CUIHandle::FilterEditor() const {
  HWND focus = GetFocus();
  return IsFilterEditor(focus) ? focus : nullptr;
}

void CUIHandle::OnFilterKeyDown(HWND editor, WPARAM key) {
  switch (key) {
    case VK_UP: m_rows.Move(LIST_MOVE::kUp); break;
    case VK_DOWN: m_rows.Move(LIST_MOVE::kDown); break;
    case VK_PRIOR: m_rows.Move(LIST_MOVE::kPageUp); break;
    case VK_NEXT: m_rows.Move(LIST_MOVE::kPageDown); break;
    case VK_RETURN: {
      // The first match is selected as the text changes; the arrows may have moved on.
      int row = m_rows.SelectedRow();
      OpenRow(row >= 0 ? row : 0);
      break;
    }
    case VK_ESCAPE:
      if (GetWindowTextLengthW(editor) > 0) ClearFilter();
      else HideMainWindow();
      break;
    default: break;
  }
}

void CUIHandle::FocusFilter(wchar_t character) {
  CXBaseUI* filter = MainChild(L"filter");
  if (!filter || !filter->XUI_IsEnable() || !m_pMainWnd) return;
  HWND field = FilterEditor();
  if (!field) {
    // As a click would: the field takes the focus and opens its editor over itself.
    filter->XUI_SetFocus(TRUE);
    MESSAGE_EVENT focus = {};
    focus.hWnd = m_pMainWnd->GetHWND();
    focus.uMsg = WM_SETFOCUS;
    filter->MessageHandle(&focus);
    field = FilterEditor();
  }
  if (!field) return;
  if (character) {
    // Typed after what the field holds, as if the field had had the keyboard.
    const LPARAM end = GetWindowTextLengthW(field);
    SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(field, WM_CHAR, character, 0);
  }
}

void CUIHandle::ApplyFilter(const CString& text) {
  if (!m_pList) return;
  m_rows.SetFilter(text.Str(), CString(AppText(IDS_FILTER_NO_MATCH).c_str()));
  if (CXBaseUI* hint = MainChild(L"filter.hint")) {
    if ((hint->XUI_IsVisible() != 0) != text.IsEmpty()) {
      hint->XUI_SetVisible(text.IsEmpty());
      CControlMgr::Invalidate(hint, FALSE);
    }
  }
}

void CUIHandle::ClearFilter() {
  if (HWND field = FilterEditor()) SetWindowTextW(field, L"");
  if (CXBaseUI* filter = MainChild(L"filter")) {
    filter->XUI_SetWindowText(L"");
    CControlMgr::Invalidate(filter, FALSE);
  }
  ApplyFilter(CString());
}

void CUIHandle::ShowUndoLine(const CString& path) {
  CXBaseUI* text = MainChild(L"list.container");
  CControlMgr* inner = text ? text->XUI_GetControlMgr() : nullptr;
  CXBaseUI* line = inner ? inner->FindUI(L"undo.text") : nullptr;
  CXBaseUI* link = inner ? inner->FindUI(L"undo") : nullptr;
  if (!line || !link || !m_pList || !m_pMainWnd) return;
  std::wstring name = CListFilter::DisplayName(path.Str());
  if (name.size() > static_cast<size_t>(kUndoNameChars)) name = name.substr(0, kUndoNameChars - 1) + L"\x2026";
  std::wstring removed = AppText(IDS_UNDO_REMOVED);
  const size_t hole = removed.find(L"%s");
  if (hole == std::wstring::npos) removed += L" " + name;
  else removed.replace(hole, 2, name);
  line->XUI_SetWindowText(removed.c_str());
  const bool wasShown = line->XUI_IsVisible() != 0;
  line->XUI_SetVisible(TRUE);
  link->XUI_SetVisible(TRUE);
  if (!wasShown) {
    if (CXRelayOut* rule = m_pList->GetRelayoutPtr()) {
      CRect margin = rule->GetMargin();
      margin.bottom += kUndoLineHeight;
      rule->SetMargin(margin);
      m_pList->NeedRelayout(1);
    }
  }
  CControlMgr::Invalidate(text, FALSE);
  SetTimer(m_pMainWnd->GetHWND(), kUndoLineTimer, kUndoLineMs, &CUIHandle::UndoLineTick);
}

void CUIHandle::HideUndoLine() {
  CXBaseUI* container = MainChild(L"list.container");
  CControlMgr* inner = container ? container->XUI_GetControlMgr() : nullptr;
  CXBaseUI* line = inner ? inner->FindUI(L"undo.text") : nullptr;
  CXBaseUI* link = inner ? inner->FindUI(L"undo") : nullptr;
  if (m_pMainWnd) KillTimer(m_pMainWnd->GetHWND(), kUndoLineTimer);
  if (!line || !link || !line->XUI_IsVisible()) return;
  line->XUI_SetVisible(FALSE);
  link->XUI_SetVisible(FALSE);
  if (CXRelayOut* rule = m_pList ? m_pList->GetRelayoutPtr() : nullptr) {
    CRect margin = rule->GetMargin();
    margin.bottom -= kUndoLineHeight;
    rule->SetMargin(margin);
    m_pList->NeedRelayout(1);
  }
  CControlMgr::Invalidate(container, FALSE);
}

void CALLBACK CUIHandle::UndoLineTick(HWND, UINT, UINT_PTR, DWORD) {
  try {
    // The line goes; Ctrl+Z still brings the removal back until the next change.
    Instance().HideUndoLine();
  } catch (...) {
  }
}

void CUIHandle::AddFolderFromPicker(HWND owner) {
  wchar_t display[MAX_PATH] = {0};
  const std::wstring title = AppText(IDS_PICKER_TITLE);
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  CXItemIdList chosen(SHBrowseForFolderW(&info));
  if (!chosen) return;
  wchar_t path[MAX_PATH] = {0};
  BOOL ok = SHGetPathFromIDListW(chosen.Get(), path);
  path[MAX_PATH - 1] = 0;
  if (ok) AddPickedFolder(path);
}

void CUIHandle::AddPickedFolder(const CString& chosen) {
  CString path = PathWithoutTrailingBackslash(chosen);
  if (!path.IsEmpty() && PathExistsAtAll(path)) AddItem(path);
}

void CUIHandle::MinimizeAllWindows() {
  CXComPtr<IDispatch> dispatch;
  if (FAILED(CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                              IID_IDispatch, dispatch.OutVoid())))
    return;
  CXComPtr<IShellDispatch> shell;
  if (SUCCEEDED(dispatch->QueryInterface(IID_IShellDispatch, shell.OutVoid()))) shell->MinimizeAll();
}

void CUIHandle::FillSettingsDialog(IXUIObject* dialog) {
  for (const OPTION_BOX& o : kFillOrder) {
    CXBaseUI* box = DialogCheckBox(dialog, o.id);
    if (box) box->SetCheck(ReadOption(*m_pSettings, o.option) ? 1 : 0);
  }
  m_globalHotKey.FillDialog(dialog, HOTKEY_CHOICE::FromStored(m_pSettings->GetHotKey()));
}

void CUIHandle::OnSettingsDialogMessage(IXUIObject* dialog, const MESSAGE_EVENT& e) {
  if (e.uMsg == WM_CREATE) FillSettingsDialog(dialog);
  // The hotkey field changed: tell at once whether the new combination can be had.
  if (e.uMsg == WM_COMMAND && LOWORD(e.wParam) == CXHotKey::kControlId && HIWORD(e.wParam) == EN_CHANGE)
    m_globalHotKey.ShowStatus(dialog);
}

void CUIHandle::RunSettingsDialog() {
  CXUIMgr& ui = CXUIMgr::GetInstance();
  CTemplateRoot dialog(ui.CreateUIObjectWithTemplate(L"Setting.dlg"));
  if (!dialog) return;
  if (ui.DialogDoModal(dialog.get(), m_pMainWnd ? m_pMainWnd->GetHWND() : nullptr) == XCMD_CONFIRM)
    ApplySettingsDialog(dialog.get());
}

void CUIHandle::ApplySettingsDialog(IXUIObject* dialog) {
  for (const OPTION_BOX& o : kWriteOrder) {
    CXBaseUI* box = DialogCheckBox(dialog, o.id);
    if (!box) continue;
    int checked = box->GetCheck() ? 1 : 0;
    if (checked == (ReadOption(*m_pSettings, o.option) ? 1 : 0)) continue;
    WriteOption(*m_pSettings, o.option, checked);
    if (o.option == kHideToolbar) ApplyToolbarVisibility(checked, m_pMainWnd, false);
  }
  HOTKEY_CHOICE chosen;
  if (CGlobalHotKey::ChosenInDialog(dialog, &chosen) && chosen != HOTKEY_CHOICE::FromStored(m_pSettings->GetHotKey())) {
    m_pSettings->SetHotKey(chosen.ToStored());
    if (m_pMainWnd) m_globalHotKey.Register(m_pMainWnd->GetHWND(), chosen);
  }
}

HICON CUIHandle::TypeIcon(const std::wstring& key, const CString& path) {
  auto known = m_typeIconHandles.find(key);
  if (known != m_typeIconHandles.end()) return known->second;
  if (HICON cached = m_rowIcons.CachedTypeIcon(key)) {
    // Shown at once; the shell is asked again after the window shows (a type's program may
    // have changed since).
    m_typeIconHandles[key] = cached;
    m_typeKeysToRefresh.push_back(key);
    return cached;
  }
  return AskTypeIcon(key, path);
}

HICON CUIHandle::AskTypeIcon(const std::wstring& key, const CString& path) {
  CXIcon icon(key == kFolderKey ? GetFolderTypeIcon() : GetFileExtensionIcon(path));
  HICON handle = icon.Get();
  m_rowIcons.RememberTypeIcon(key, handle);
  m_typeIcons[key] = std::move(icon);
  m_typeIconHandles[key] = handle;
  return handle;
}

bool CUIHandle::RefreshTypeIcons(DWORD deadline) {
  while (!m_typeKeysToRefresh.empty()) {
    const std::wstring key = m_typeKeysToRefresh.back();
    m_typeKeysToRefresh.pop_back();
    const HICON shown = m_typeIconHandles[key];
    CXIcon fresh(key == kFolderKey ? GetFolderTypeIcon() : GetFileExtensionIcon(CString((L"x" + key).c_str())));
    std::vector<uint8_t> was, now;
    if (fresh && (!IconToPixels(shown, was) || !IconToPixels(fresh.Get(), now) || was != now)) {
      m_rowIcons.RememberTypeIcon(key, fresh.Get());
      const HICON handle = fresh.Get();
      m_typeIcons[key] = std::move(fresh);
      m_typeIconHandles[key] = handle;
      m_rows.ReplaceIcon(shown, handle);
      CControlMgr::Invalidate(m_pList, FALSE);
    }
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
  }
  return m_typeKeysToRefresh.empty();
}
