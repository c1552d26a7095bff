// CXEvent: an object's table of script events (event name -> script function) and the
// routes of a message to the script and to the application. The event table maps the 24
// messages that scripts can bind; the message mask holds exactly their bits.
#pragma once

#include <windows.h>

#include <bitset>
#include <map>
#include <string>

#include "WendoraApi.h"
#include "XUIObject.h"

// One bound event; every text is cut to fit and terminated.
struct XEVENT_RECORD {
  char szFunc[128];       // script function, ANSI code page
  wchar_t szName[128];    // event name
  wchar_t szID[128];      // ID of the object it was bound on
};

class WENDORA_API CXEvent {
 public:
  explicit CXEvent(IXUIObject* owner);

  virtual void AttachEvent(const wchar_t* id, const wchar_t* name, const wchar_t* func);
  virtual void RemoveEvent(const wchar_t* name);
  virtual void RemoveAllEvent();
  // Calls the bound script function with (owner, wParam, lParam); nothing when unbound.
  virtual void FireEvent(const wchar_t* name, UINT wParam, LONG lParam);
  // Calls the bound script function without arguments; nothing when unbound.
  virtual void FireEvent(const wchar_t* name);
  // Hands the event, named, to the application's callback: its result, or 0 without one.
  virtual BOOL FireNotify(IXUIObject* sender, MESSAGE_EVENT* event, const wchar_t* name);

  BOOL IsMsgSupport(UINT msg) const;
  static BOOL IsMsgForWindowHandle(UINT msg);
  // The event name of a message, or "" for a message outside the event table.
  static const wchar_t* GetEventStrFromMsg(UINT msg);
  static int GetEventCount();  // rows of the event table

  // The shared first step of every event-capable MessageHandle: scripts and the application
  // hear of the message before the object handles it.
  void DoEventStep(MESSAGE_EVENT* event);

  const XEVENT_RECORD* FindEvent(const wchar_t* name) const;
  int GetEventRecordCount() const { return static_cast<int>(m_events.size()); }
  IXUIObject* GetEventOwner() const { return m_owner; }

 protected:
  ~CXEvent() = default;

 private:
  std::map<std::wstring, XEVENT_RECORD> m_events;  // compared exactly
  std::bitset<1024> m_mask;
  IXUIObject* m_owner;
};
