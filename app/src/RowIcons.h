// CRowIcons: the favourites list's own icons for programs, shortcuts and icon files. A row
// keeps the icon of its type until the icon thread has read the item's own; an icon read in
// an earlier run comes from the cache file at once, without touching the item, and the
// thread then checks whether the item changed. One icon handle per distinct image, so the
// list's image list holds each image once. Lives on the UI thread.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "IconCache.h"
#include "IconFetcher.h"
#include "ShellHandles.h"
#include "XString.h"

class CXList;

inline void XDestroyWindow(HWND window) { DestroyWindow(window); }
using CXWindowHandle = CXHolder<XNullableTraits<HWND, &XDestroyWindow>>;

class CRowIcons {
 public:
  CRowIcons();
  ~CRowIcons();  // Stop()
  CRowIcons(const CRowIcons&) = delete;
  CRowIcons& operator=(const CRowIcons&) = delete;

  // The cache file (default: icons.cache beside the favourites database), read on first use.
  void SetCacheFile(const std::wstring& path) { m_cacheFile = path; }
  static std::wstring DefaultCacheFile();

  // The list whose rows get the icons; results arrive on a message window of this thread.
  // typeIcon gives the icon of a path's type (owned by the caller), for rows whose cached
  // icon turns out stale and that have none of their own any more.
  // setIcons, when given, takes each batch of new icons (by path) instead of the list's rows:
  // for an owner that keeps the rows' icons itself (a filtered list).
  using ICON_SINK = std::function<void(const std::unordered_map<std::wstring, HICON>&)>;
  void Attach(CXList* list, std::function<HICON(const CString&)> typeIcon = nullptr, ICON_SINK setIcons = nullptr);
  // An item that is listed: its cached own icon (null without one), and a check by the icon
  // thread.
  HICON Request(const CString& path);
  // A row that shows the path: Request, with the cached icon given to the row at once.
  void ShowRow(int row, const CString& path);
  // Gives the rows what the icon thread found (also called on its message).
  void ApplyResults();
  // Type icons (by type key) kept in the same cache: the icon a type had in an earlier run,
  // null without one; and the icon the shell gives it now, kept for the next run. The
  // handles are owned here.
  HICON CachedTypeIcon(const std::wstring& key);
  void RememberTypeIcon(const std::wstring& key, HICON icon);
  // Ends the icon thread (waiting a bounded time) and writes the cache when it changed. No
  // row is touched after this.
  void Stop();
  // For tests: waits until the thread has dealt with every request and applies the results.
  bool Settle(DWORD timeoutMs);

 private:
  void LoadCache();
  void SaveCache();
  HICON IconOf(const ICON_CACHE_ENTRY& entry);
  static LRESULT CALLBACK MessageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  CXList* m_list = nullptr;
  std::function<HICON(const CString&)> m_typeIcon;
  ICON_SINK m_setIcons;
  std::wstring m_cacheFile;
  bool m_cacheLoaded = false;
  bool m_cacheChanged = false;
  bool m_stopped = false;
  // Keys are the paths as the rows hold them.
  std::unordered_map<std::wstring, ICON_CACHE_ENTRY> m_cache;
  std::unordered_set<std::wstring> m_requested;
  std::map<std::vector<uint8_t>, CXIcon> m_icons;  // one handle per distinct image
  CIconFetcher m_fetcher;
  CXWindowHandle m_window;
};
