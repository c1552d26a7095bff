// CXUIMgr: the framework's entry point for the application, one per process. Initialize
// starts the UI thread, which loads the skin, runs its start-up scripts (they create the
// windows) and runs the windows' message loop; the application's thread waits in
// MessageLoop until the UI thread ends. The manager also holds the application's
// notification callback, builds objects from templates, runs dialogs and adds script
// functions.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XUIObject.h"

struct lua_State;
// The script engine's C function type (lua_CFunction).
typedef int (*XLuaCFunction)(lua_State* L);

// Posted to the application thread when the skin's start-up has finished.
const UINT XWM_UI_READY = 994;

// An optional filter of the application's message loop.
class IMessageTranslator {
 public:
  // Non-zero when the message has been consumed and must not be translated or dispatched.
  virtual BOOL Translate(MSG* msg) = 0;

 protected:
  ~IMessageTranslator() = default;
};

class WENDORA_API CXUIMgr {
 public:
  static CXUIMgr& GetInstance();

  // Starts a UI thread (every call starts one; the application thread is the first
  // caller's). Always 1: a missing skin or script shows up as a UI without windows.
  int Initialize();
  // The application thread's loop; returns when the thread receives WM_QUIT, which the UI
  // thread posts as it ends (and then waits for that end, within a bound), or when the UI
  // thread has ended without posting it.
  void MessageLoop(IMessageTranslator* translator);
  // True when the last MessageLoop returned because the UI thread ended without WM_QUIT:
  // ended by force, or by a fault the platform ended that thread for, window or no window.
  bool UIThreadLost() const;
  // The thread the last Initialize started; 0 before.
  DWORD UIThreadId() const;

  // Not owned; null (the default) makes every notification return 0.
  void SetNotifyCallback(INotifyCallback* callback) { m_pNotify = callback; }
  INotifyCallback* GetNotifyCallback() const { return m_pNotify; }

  // Builds the named template (includes resolved) and records it in the created-object
  // table; the root, owned by the caller, or null. Its windows are not yet created.
  IXUIObject* CreateUIObjectWithTemplate(const wchar_t* name);
  // Runs a dialog object modally; its result, or 0 for null or a non-dialog.
  int DialogDoModal(IXUIObject* object, HWND owner);
  // Adds a global C function to the script engine; nothing before the engine exists, or
  // when the scripts' globals refuse the assignment (a metatable on them may).
  void RegLuaFunction(const char* name, XLuaCFunction function);


 private:
  // The start-up sequence of the UI thread (skin, start file, fonts, scripts).
  static void RunStartup();
  CXUIMgr() = default;
  ~CXUIMgr() = default;
  CXUIMgr(const CXUIMgr&) = delete;
  CXUIMgr& operator=(const CXUIMgr&) = delete;
  static unsigned __stdcall UIThread(void* appThreadId);

  INotifyCallback* m_pNotify = nullptr;
};
