// CUIHandle: the program's one notification callback. The framework reports every event of
// the skin's windows and controls here (on the UI thread); this object fills and drives the
// favourites list, reacts to the main window's messages (drop, copy-data, hotkey, tray, focus)
// and runs the settings dialog. One instance per process, made on first use.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

#include "FavoriteStore.h"
#include "FilteredList.h"
#include "GlobalHotKey.h"
#include "HotKeyFile.h"
#include "RowIcons.h"
#include "Settings.h"
#include "ShellHandles.h"
#include "TrayIcon.h"
#include "XString.h"
#include "XUIObject.h"

class CXBaseUI;
class CXList;
class CXWindow;

class CUIHandle : public INotifyCallback {
 public:
  // Made on first use; its construction writes the registry defaults.
  static CUIHandle& Instance();

  // Non-zero when handled.
  LRESULT OnNotify(IXUIObject* sender, NOTIFY_EVENT* event) override;

  // Appends a row for the path (icon by its type) and a row in the database; the row keeps
  // the database id (0 when none was obtained, or while the add waits for the database).
  void AddItem(const CString& path);

  CXList* GetList() const { return m_pList; }
  CXWindow* GetMainWindow() const { return m_pMainWnd; }
  CSettings& Settings() { return *m_pSettings; }
  CFavoriteStore& Store() { return m_store; }
  const CHotKeyFileParser& HotKeys() const { return m_hotKeys; }
  const CTrayIcon& Tray() const { return m_tray; }
  CRowIcons& RowIcons() { return m_rowIcons; }

  // The commands of the main window's notifications, usable on their own.
  void FillList(CXList* list);
  void OpenRow(int row);          // double-click: open the item, count the open
  void OpenRowFolder(int row);    // right-click: open its folder, count the open
  void DeleteSelectedRow();
  // Ctrl+Z and the "Undo" link: the last removed favourite back at its place, as it was.
  void UndoRemoval();
  const CFilteredList& Rows() const { return m_rows; }
  void AddFolderFromPicker(HWND owner);
  // A folder the picker returned, stored like every other path (no trailing backslash but a
  // drive root's) when it exists.
  void AddPickedFolder(const CString& chosen);
  void MinimizeAllWindows();
  void RunSettingsDialog();
  void FillSettingsDialog(IXUIObject* dialog);
  const CGlobalHotKey& GlobalHotKey() const { return m_globalHotKey; }
  // Writes back every option whose check box differs from its stored state (the dialog was
  // confirmed with command 5).
  void ApplySettingsDialog(IXUIObject* dialog);
  // Toggles the main window (the global hotkey).
  void ToggleMainWindow();
  // While the database is unavailable (on a timer and before each add): tries it again and,
  // once it can be used, shows the stored favourites with the ones added meanwhile.
  void RetryStore();

  // Posted to the main window when the store has something to tell the user: the message box
  // is then shown from the window's own message loop, never from inside a change.
  static const UINT kStoreReportMessage = WM_APP + 0x50;

 private:
  CUIHandle();
  ~CUIHandle();
  CUIHandle(const CUIHandle&) = delete;
  CUIHandle& operator=(const CUIHandle&) = delete;

  LRESULT OnControlNotify(IXUIObject* sender, NOTIFY_EVENT* event);
  LRESULT OnMainWindowMessage(CXWindow* window, NOTIFY_EVENT* event);
  void OnCreateMainWindow(CXWindow* window);
  // The start-up steps that follow the window's showing: tray icon, update check and usage
  // ping, in this order.
  void FinishStart();
  void OnDestroyMainWindow();
  void OnCopyData(const COPYDATASTRUCT* data);
  void OnSettingsDialogMessage(IXUIObject* dialog, const MESSAGE_EVENT& e);
  void AutoHideTest(HWND other, bool fromActivate);
  void HideMainWindow();
  void ShowMainWindow(int show);
  // The shell's "open" of a key-table path or a folder; a path the shell cannot take whole
  // is refused.
  void StartShell(const CString& file);
  // After each use of the store: the retry timer runs while it is unavailable, and a report
  // waiting in it is posted to the main window.
  void AfterStoreUse();
  void ShowStoreReport();
  int RowAtPoint(LPARAM lParam);
  // Keys of the main window (the list has the keyboard) and of the filter field's editor.
  void OnMainKeyDown(WPARAM key);
  void OnMainChar(WPARAM character);
  void OnFilterKeyDown(HWND editor, WPARAM key);
  bool IsFilterEditor(HWND window) const;
  HWND FilterEditor() const;  // the field's editor while it has the keyboard, else null
  // Opens the filter field's editor, the character (when not 0) typed after its text.
  void FocusFilter(wchar_t character);
  // The field's text (the editor's while it is open) as the list's filter.
  void ApplyFilter(const CString& text);
  void ClearFilter();
  CXBaseUI* MainChild(const wchar_t* id) const;
  // The "Removed ... Undo" line under the list: shown after a removal for a few seconds.
  void ShowUndoLine(const CString& path);
  void HideUndoLine();
  static void CALLBACK UndoLineTick(HWND window, UINT message, UINT_PTR id, DWORD time);
  // GetFileTypeIcon's icon for a type key (the folder key, or the extension), kept per key:
  // the icon depends on nothing else, and asking the shell is the dearest part of a row.
  // Owned here.
  // Asks the cache of the last run first: a type's icon from there is shown at once and
  // asked of the shell again after the window shows (RefreshTypeIcons).
  HICON TypeIcon(const std::wstring& key, const CString& path);
  HICON AskTypeIcon(const std::wstring& key, const CString& path);
  // Gives the shell's current icon to the types shown from the cache, until the deadline;
  // true when none is left.
  bool RefreshTypeIcons(DWORD deadline);
  // The store's in-memory records as rows; their icons follow the names (an extension is a
  // file of that type, no extension a folder) until the background check has asked the
  // file system, which costs too much per row to do before the window shows. Rows past the
  // first screen whose type is new wait for that check for their icon too.
  void AppendRecords();
  // The list's image list, made with the first row: an empty list shows without the common
  // controls library.
  void EnsureImages();
  // Work left after the window shows, in slices on the UI thread's timer (the lowest of its
  // messages, so input and painting go first): the rest of a long table, then the icons.
  void StartBackgroundWork();
  void StopBackgroundWork();
  void BackgroundStep();
  static void CALLBACK BackgroundTick(HWND window, UINT message, UINT_PTR id, DWORD time);
  // Gives rows from m_iconCheckRow on the icon of what they are, until the deadline (a tick
  // count); true when every row has been checked.
  bool CheckIcons(DWORD deadline);

  CXImageList m_images;
  std::unique_ptr<CSettings> m_pSettings;
  CXList* m_pList = nullptr;
  CFilteredList m_rows;  // the list's rows through the filter
  CXWindow* m_pMainWnd = nullptr;
  CFavoriteStore m_store;
  CTrayIcon m_tray;
  CHotKeyFileParser m_hotKeys;
  CGlobalHotKey m_globalHotKey;
  CRowIcons m_rowIcons;  // programs', shortcuts' and icon files' own icons
  std::map<std::wstring, CXIcon> m_typeIcons;         // asked of the shell, owned
  std::map<std::wstring, HICON> m_typeIconHandles;     // what each type shows (owned above or by m_rowIcons)
  std::vector<std::wstring> m_typeKeysToRefresh;       // shown from the cache, not asked yet
  HWND m_timerWindow = nullptr;  // holds the background timer while it runs
  bool m_startPending = false;   // FinishStart has yet to run
  int m_iconCheckRow = 0;        // entries before it show the icon of what they are
  bool m_skipChar = false;       // the character of a bound letter's key is not typed
  bool m_canUndo = false;
  REMOVED_FAVORITE m_removed;    // the last removal, while it can be undone
  int m_removedAt = 0;           // its place in the full list
};
