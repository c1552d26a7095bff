// CXScriptEngine: the one Lua state of the process, made on the UI thread by the start-up
// sequence and never closed. It runs the start-up scripts (a failure ends the process with
// -1 after the "error" box) and calls script functions for events and timers (a failure
// shows the error and the UI goes on). The stack is left as it was found after every call.
#pragma once

#include <windows.h>

struct lua_State;
typedef int (*lua_CFunction)(lua_State* L);
class IXUIObject;

// A call of a global script function: looked up, given its arguments and run, all inside one
// protected call.
struct XSCRIPT_CALL {
  const char* func;
  IXUIObject* owner;  // pushed with wParam and lParam when withArgs is set
  UINT wParam;
  LONG lParam;
  bool withArgs;
};

class CXScriptEngine {
 public:
  // The engine, made (with the framework's functions and classes) on the first call.
  static CXScriptEngine& Create();
  // The engine, or null before it has been made.
  static CXScriptEngine* Get();

  lua_State* State() const { return m_L; }

  // Loads bytes as one chunk named "line" and runs it; on failure shows the error and ends
  // the process with exit code -1.
  void RunStartupScript(const char* bytes, size_t size);
  // Calls a global function with no arguments, or with (owner, wParam, lParam).
  void Call(const char* func);
  void CallEvent(const char* func, IXUIObject* owner, UINT wParam, LONG lParam);
  // Stores a C function as a global; false when the globals refused it (a script's
  // metatable on them may).
  bool SetGlobalFunction(const char* name, lua_CFunction function);

 private:
  CXScriptEngine();
  ~CXScriptEngine() = delete;  // lives until the process ends
  void ShowError(const wchar_t* caption);
  void RunCall(const XSCRIPT_CALL& call);

  lua_State* m_L;
};

// The framework's script functions and classes (registered once into a new engine).
void XRegisterScriptBinding(lua_State* L);
// Pushes a UI object as an "IXUIObject" value (nil for null).
void XPushUIObject(lua_State* L, IXUIObject* object);
