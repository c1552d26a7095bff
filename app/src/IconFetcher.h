// CIconFetcher: reads items' own icons on a thread of its own, so that the UI thread never
// waits on the file system. Only items on fixed local drives are read (the drive type comes
// from the program's seam); network, removable and optical drives and UNC paths are never
// touched. Requests and results pass through one locked queue; the thread shares nothing
// else with its owner and keeps that queue alive itself, so an owner that stops it without
// waiting for a slow read leaves nothing behind that the thread could still reach.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "IconCache.h"
#include "XWin.h"

struct ICON_REQUEST {
  std::wstring path;
  bool known = false;      // the cache holds the item as read at writeTime/size
  uint64_t writeTime = 0;
  uint64_t size = 0;
};

struct ICON_RESULT {
  // The item as read now; entry.pixels empty when it has no icon of its own. gone: the item
  // is no longer a file (missing or a folder), and what the cache held for it is stale.
  ICON_CACHE_ENTRY entry;
  bool gone = false;
};

// Whether an item's kind has an icon of its own worth reading: programs, shortcuts, icon
// files and control-panel items (by extension, any case).
bool HasOwnIcon(const std::wstring& path);

class CIconFetcher {
 public:
  CIconFetcher();
  ~CIconFetcher();  // Stop(0)
  CIconFetcher(const CIconFetcher&) = delete;
  CIconFetcher& operator=(const CIconFetcher&) = delete;

  // Where a new result is announced: message posted to the window (once until the results
  // are taken). Set before the first request.
  void SetNotify(HWND window, UINT message);
  // Queues an item; the thread starts with the first request. Items that need no new read
  // (unchanged since the cache's entry, or not to be read at all) give no result.
  void Request(const ICON_REQUEST& request);
  std::vector<ICON_RESULT> TakeResults();
  // True when every request so far has been dealt with, waiting up to the bound.
  bool WaitIdle(DWORD timeoutMs);
  // Ends the thread: it finishes the read in hand and takes no further request. Waits up to
  // the bound; a thread still reading then ends on its own.
  void Stop(DWORD timeoutMs);

  struct SHARED;

 private:
  std::shared_ptr<SHARED> m_shared;
  CXHandle m_thread;
};
