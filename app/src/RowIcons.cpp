// The rows' own icons on the UI thread: the cache file read once and written at the end,
// requests to the icon thread, results applied to every row holding their path.
#include "RowIcons.h"

#include <fstream>
#include <iterator>

#include "ControlMgr.h"
#include "FavoriteStore.h"
#include "IconPixels.h"
#include "XList.h"

namespace {

const UINT kResultsMessage = WM_APP + 1;
const wchar_t kWindowClass[] = L"PinvaleRowIcons";
// The longest the end of the program waits for a read in hand (a slow disk).
const DWORD kStopWaitMs = 3000;

std::wstring Key(const std::u16string& path) { return XFromU16(path); }

// A type's entry: no path holds '|'.
std::wstring TypeEntryKey(const std::wstring& key) { return L"|type|" + key; }

}  // namespace

CRowIcons::CRowIcons() = default;

CRowIcons::~CRowIcons() { Stop(); }

std::wstring CRowIcons::DefaultCacheFile() {
  return std::wstring(CFavoriteStore::DatabaseFolder().GetString()) + L"\\icons.cache";
}

LRESULT CALLBACK CRowIcons::MessageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kResultsMessage) {
    auto* icons = reinterpret_cast<CRowIcons*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    try {
      if (icons) icons->ApplyResults();
    } catch (...) {
      // Out of memory: these rows keep the icons of their types.
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CRowIcons::Attach(CXList* list, std::function<HICON(const CString&)> typeIcon, ICON_SINK setIcons) {
  m_list = list;
  m_typeIcon = std::move(typeIcon);
  m_setIcons = std::move(setIcons);
  if (m_window || m_stopped) return;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &CRowIcons::MessageProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassW(&wc);  // fails harmlessly when registered before
  m_window.Reset(CreateWindowExW(0, kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
  if (!m_window) return;
  SetWindowLongPtrW(m_window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_fetcher.SetNotify(m_window.Get(), kResultsMessage);
}

void CRowIcons::LoadCache() {
  if (m_cacheLoaded) return;
  m_cacheLoaded = true;
  if (m_cacheFile.empty()) m_cacheFile = DefaultCacheFile();
  std::ifstream in(m_cacheFile.c_str(), std::ios::binary);
  if (!in) return;
  // Read whole, within the bound of a full cache (and a little more for the paths).
  const std::streamsize limit =
      static_cast<std::streamsize>(kIconCacheMaxEntries) * (kIconCacheMaxSide * kIconCacheMaxSide * 4 + 2 * kIconCacheMaxPath + 32) + 12;
  std::vector<char> bytes;
  char chunk[65536];
  while (in && static_cast<std::streamsize>(bytes.size()) < limit) {
    in.read(chunk, sizeof chunk);
    bytes.insert(bytes.end(), chunk, chunk + in.gcount());
  }
  for (ICON_CACHE_ENTRY& e : ReadIconCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) {
    std::wstring key = Key(e.path);
    m_cache[key] = std::move(e);
  }
}

void CRowIcons::SaveCache() {
  if (!m_cacheChanged || m_cacheFile.empty()) return;
  std::vector<ICON_CACHE_ENTRY> entries;
  // Items listed in this run first, so a full cache drops those no longer listed.
  for (const auto& kept : m_cache)
    if (m_requested.count(kept.first)) entries.push_back(kept.second);
  for (const auto& kept : m_cache)
    if (!m_requested.count(kept.first)) entries.push_back(kept.second);
  const std::string bytes = WriteIconCache(entries);
  // Written beside and then moved over the old one: a run that ends mid-write leaves the old.
  const std::wstring temporary = m_cacheFile + L".new";
  {
    std::ofstream out(temporary.c_str(), std::ios::binary | std::ios::trunc);
    if (!out) return;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) return;
  }
  if (MoveFileExW(temporary.c_str(), m_cacheFile.c_str(), MOVEFILE_REPLACE_EXISTING)) m_cacheChanged = false;
  else DeleteFileW(temporary.c_str());
}

HICON CRowIcons::IconOf(const ICON_CACHE_ENTRY& entry) {
  if (entry.pixels.empty()) return nullptr;
  auto known = m_icons.find(entry.pixels);
  if (known != m_icons.end()) return known->second.Get();
  CXIcon icon(IconFromPixels(entry.pixels, entry.width, entry.height));
  if (!icon) return nullptr;
  HICON handle = icon.Get();
  m_icons.emplace(entry.pixels, std::move(icon));
  return handle;
}

void CRowIcons::ShowRow(int row, const CString& path) {
  if (HICON icon = Request(path)) m_list->SetItem(row, 0, path, icon);
}

HICON CRowIcons::Request(const CString& path) {
  if (m_stopped || !m_list || path.IsEmpty()) return nullptr;
  const std::wstring key(path.GetString());
  if (!HasOwnIcon(key)) return nullptr;
  LoadCache();
  ICON_REQUEST request;
  request.path = key;
  HICON own = nullptr;
  auto cached = m_cache.find(key);
  if (cached != m_cache.end()) {
    own = IconOf(cached->second);
    request.known = true;
    request.writeTime = cached->second.writeTime;
    request.size = cached->second.size;
  }
  if (m_requested.insert(key).second) m_fetcher.Request(request);
  return own;
}

void CRowIcons::ApplyResults() {
  std::vector<ICON_RESULT> results = m_fetcher.TakeResults();
  if (results.empty() || m_stopped) return;
  // Each path's new icon; null for a row that showed a cached icon of an item that changed
  // and has none of its own now. A row whose item is gone keeps what it shows for this run.
  std::unordered_map<std::wstring, HICON> found;
  for (ICON_RESULT& r : results) {
    std::wstring key = Key(r.entry.path);
    if (r.gone) {
      m_cache.erase(key);
    } else {
      auto cached = m_cache.find(key);
      const bool showedCached = cached != m_cache.end() && !cached->second.pixels.empty();
      HICON icon = IconOf(r.entry);
      if (icon || showedCached) found[key] = icon;
      m_cache[key] = std::move(r.entry);
    }
    m_cacheChanged = true;
  }
  if (!m_list || found.empty()) return;
  if (m_setIcons) {
    for (auto& hit : found) {
      if (!hit.second && m_typeIcon) hit.second = m_typeIcon(CString(hit.first.c_str()));
    }
    m_setIcons(found);
    CControlMgr::Invalidate(m_list, FALSE);
    return;
  }
  bool changed = false;
  for (int row = 0; row < m_list->GetRowCount(); ++row) {
    const wchar_t* text = m_list->GetItemText(row, 0);
    if (!text || !text[0]) continue;
    auto hit = found.find(text);
    if (hit == found.end()) continue;
    const CString path(text);
    HICON icon = hit->second ? hit->second : m_typeIcon ? m_typeIcon(path) : nullptr;
    if (icon) m_list->SetItem(row, 0, path, icon);
    changed = true;
  }
  if (changed) CControlMgr::Invalidate(m_list, FALSE);
}

HICON CRowIcons::CachedTypeIcon(const std::wstring& key) {
  if (m_stopped) return nullptr;
  LoadCache();
  const std::wstring entryKey = TypeEntryKey(key);
  auto cached = m_cache.find(entryKey);
  if (cached == m_cache.end()) return nullptr;
  m_requested.insert(entryKey);  // kept first when the cache is written
  return IconOf(cached->second);
}

void CRowIcons::RememberTypeIcon(const std::wstring& key, HICON icon) {
  if (m_stopped || !icon) return;
  LoadCache();
  ICON_CACHE_ENTRY entry;
  if (!IconToPixels(icon, entry.pixels)) return;
  const std::wstring entryKey = TypeEntryKey(key);
  m_requested.insert(entryKey);
  auto cached = m_cache.find(entryKey);
  if (cached != m_cache.end() && cached->second.pixels == entry.pixels) return;
  entry.path = XToU16(entryKey);
  entry.width = entry.height = kIconSide;
  m_cache[entryKey] = std::move(entry);
  m_cacheChanged = true;
}

bool CRowIcons::Settle(DWORD timeoutMs) {
  const bool idle = m_fetcher.WaitIdle(timeoutMs);
  ApplyResults();
  return idle;
}

void CRowIcons::Stop() {
  if (m_stopped) return;
  m_stopped = true;
  m_fetcher.Stop(kStopWaitMs);
  m_window.Reset();
  m_list = nullptr;
  try {
    SaveCache();
  } catch (...) {
    // Out of memory: the next start reads the icons again.
  }
}
