// Event table, message mask and the two routes of a message: to the application's callback
// (FireNotify) and to a bound script function (FireEvent).
#include "XEvent.h"

#include <algorithm>

#include "XModelHooks.h"
#include "XScriptHook.h"
#include "XWin.h"

namespace {

struct EVENT_ROW {
  UINT msg;
  const wchar_t* name;
};

// Sorted by message number (binary search).
const EVENT_ROW kEventTable[] = {
    {1, L"WM_CREATE"},          {2, L"WM_DESTROY"},         {6, L"WM_ACTIVATE"},
    {7, L"WM_SETFOCUS"},        {8, L"WM_KILLFOCUS"},       {16, L"WM_CLOSE"},
    {24, L"WM_SHOWWINDOW"},     {123, L"WM_CONTEXTMENU"},   {256, L"WM_KEYDOWN"},
    {257, L"WM_KEYUP"},         {258, L"WM_CHAR"},          {494, L"WM_LBUTTONCLICK"},
    {495, L"WM_RBUTTONCLICK"},  {512, L"WM_MOUSEMOVE"},     {513, L"WM_LBUTTONDOWN"},
    {514, L"WM_LBUTTONUP"},     {515, L"WM_LBUTTONDBLCLK"}, {516, L"WM_RBUTTONDOWN"},
    {517, L"WM_RBUTTONUP"},     {518, L"WM_RBUTTONDBLCLK"}, {522, L"WM_MOUSEWHEEL"},
    {673, L"WM_MOUSEHOVER"},    {675, L"WM_MOUSELEAVE"},    {786, L"WM_HOTKEY"},
};

}  // namespace

XSCRIPT_HOOKS& XScriptHooks() {
  static XSCRIPT_HOOKS hooks = {nullptr, nullptr};
  return hooks;
}

XMODEL_HOOKS& XModelHooks() {
  static XMODEL_HOOKS hooks = {nullptr, nullptr};
  return hooks;
}

CXEvent::CXEvent(IXUIObject* owner) : m_owner(owner) {
  for (const EVENT_ROW& row : kEventTable) m_mask.set(row.msg);
}

void CXEvent::AttachEvent(const wchar_t* id, const wchar_t* name, const wchar_t* func) {
  if (!name) return;
  XEVENT_RECORD record = {};
  std::string narrow = XNarrow(func);
  XCopyBounded(record.szFunc, sizeof record.szFunc, narrow.c_str());
  XCopyBounded(record.szName, 128, name);
  XCopyBounded(record.szID, 128, id ? id : L"");
  m_events[name] = record;
}

void CXEvent::RemoveEvent(const wchar_t* name) {
  if (name) m_events.erase(name);
}

void CXEvent::RemoveAllEvent() { m_events.clear(); }

const XEVENT_RECORD* CXEvent::FindEvent(const wchar_t* name) const {
  if (!name) return nullptr;
  auto it = m_events.find(name);
  return it == m_events.end() ? nullptr : &it->second;
}

void CXEvent::FireEvent(const wchar_t* name, UINT wParam, LONG lParam) {
  const XEVENT_RECORD* record = FindEvent(name);
  if (!record || !XScriptHooks().callEvent) return;
  // A copy: the script may rebind or remove the event while it runs.
  char func[sizeof record->szFunc];
  memcpy(func, record->szFunc, sizeof func);
  XScriptHooks().callEvent(func, m_owner, wParam, lParam);
}

void CXEvent::FireEvent(const wchar_t* name) {
  const XEVENT_RECORD* record = FindEvent(name);
  if (!record || !XScriptHooks().call) return;
  char func[sizeof record->szFunc];
  memcpy(func, record->szFunc, sizeof func);
  XScriptHooks().call(func);
}

BOOL CXEvent::FireNotify(IXUIObject* sender, MESSAGE_EVENT* event, const wchar_t* name) {
  INotifyCallback* callback = XModelHooks().notifyCallback ? XModelHooks().notifyCallback() : nullptr;
  if (!callback) return 0;
  NOTIFY_EVENT notify = {};
  if (event) notify.event = *event;
  XCopyBounded(notify.szName, 32, name ? name : L"");
  return callback->OnNotify(sender, &notify) != 0;
}

BOOL CXEvent::IsMsgSupport(UINT msg) const { return msg < 1024 && m_mask.test(msg); }

BOOL CXEvent::IsMsgForWindowHandle(UINT msg) { return msg == WM_COPYDATA || msg == WM_COMMAND || msg > WM_USER; }

const wchar_t* CXEvent::GetEventStrFromMsg(UINT msg) {
  const EVENT_ROW* end = kEventTable + sizeof kEventTable / sizeof kEventTable[0];
  const EVENT_ROW* it =
      std::lower_bound(kEventTable, end, msg, [](const EVENT_ROW& row, UINT m) { return row.msg < m; });
  return it != end && it->msg == msg ? it->name : L"";
}

int CXEvent::GetEventCount() { return static_cast<int>(sizeof kEventTable / sizeof kEventTable[0]); }

void CXEvent::DoEventStep(MESSAGE_EVENT* event) {
  if (!event) return;
  if (IsMsgSupport(event->uMsg)) {
    if (!FireNotify(m_owner, event, L"")) {
      const wchar_t* name = GetEventStrFromMsg(event->uMsg);
      if (*name) FireEvent(name, static_cast<UINT>(event->wParam), static_cast<LONG>(event->lParam));
    }
  } else if (XIsWindowObject(m_owner) && IsMsgForWindowHandle(event->uMsg)) {
    FireNotify(m_owner, event, L"");
  }
}
