// The Lua state and the protected calls into it. Lua errors are longjmps: nothing here holds
// a C++ object with a destructor across a call that may raise, and every step that can raise
// (a global's look-up or assignment may run a script's metamethod) runs inside a protected
// call, so no error ever unwinds into the window procedures or ends in Lua's panic.
#include "XScriptEngine.h"

#include <lua.hpp>

#include "OskelPath.h"
#include "XMessageBox.h"
#include "XScriptHook.h"
#include "XString.h"
#include "XWin.h"

namespace {

CXScriptEngine* g_engine = nullptr;

void HookEvent(const char* func, IXUIObject* owner, UINT wParam, LONG lParam) {
  if (g_engine) g_engine->CallEvent(func, owner, wParam, lParam);
}

void HookCall(const char* func) {
  if (g_engine) g_engine->Call(func);
}

int CallProtected(lua_State* L) {
  const auto* call = static_cast<const XSCRIPT_CALL*>(lua_touserdata(L, 1));
  lua_settop(L, 0);
  lua_getglobal(L, call->func);
  if (call->withArgs) {
    XPushUIObject(L, call->owner);
    lua_pushnumber(L, static_cast<lua_Number>(call->wParam));
    lua_pushnumber(L, static_cast<lua_Number>(call->lParam));
  }
  lua_call(L, call->withArgs ? 3 : 0, 0);
  return 0;
}

struct XSCRIPT_GLOBAL {
  const char* name;
  lua_CFunction function;
};

int SetGlobalProtected(lua_State* L) {
  const auto* global = static_cast<const XSCRIPT_GLOBAL*>(lua_touserdata(L, 1));
  lua_pushcclosure(L, global->function, 0);
  lua_setglobal(L, global->name);
  return 0;
}

int OpenBase(lua_State* L) {
  lua_pushcfunction(L, luaopen_base);
  lua_call(L, 0, 0);
  luaL_openlibs(L);
  return 0;
}

}  // namespace

CXScriptEngine::CXScriptEngine() : m_L(luaL_newstate()) {
  if (!m_L) return;
  lua_cpcall(m_L, &OpenBase, nullptr);
  lua_settop(m_L, 0);
  // Modules shipped beside the program (the script library) are found by require.
  OskelAddProgramFolder(m_L);
  XRegisterScriptBinding(m_L);
  lua_settop(m_L, 0);
}

CXScriptEngine& CXScriptEngine::Create() {
  if (!g_engine) {
    g_engine = new CXScriptEngine();
    XScriptHooks().callEvent = &HookEvent;
    XScriptHooks().call = &HookCall;
  }
  return *g_engine;
}

CXScriptEngine* CXScriptEngine::Get() { return g_engine; }

void CXScriptEngine::ShowError(const wchar_t* caption) {
  const char* message = lua_tostring(m_L, -1);
  std::wstring text = XWiden(message ? message : "(error object is not a string)");
  XShowMessageBox(text.c_str(), caption, MB_OK);
}

void CXScriptEngine::RunStartupScript(const char* bytes, size_t size) {
  if (!m_L) return;
  const int top = lua_gettop(m_L);
  int status = luaL_loadbuffer(m_L, bytes ? bytes : "", bytes ? size : 0, "line");
  if (status == 0) status = lua_pcall(m_L, 0, LUA_MULTRET, 0);
  if (status != 0) {
    ShowError(L"error");
    ExitProcess(static_cast<UINT>(-1));
  }
  lua_settop(m_L, top);
}

void CXScriptEngine::RunCall(const XSCRIPT_CALL& call) {
  if (!m_L || !call.func) return;
  const int top = lua_gettop(m_L);
  if (lua_cpcall(m_L, &CallProtected, const_cast<XSCRIPT_CALL*>(&call)) != 0) ShowError(L"");
  lua_settop(m_L, top);
}

void CXScriptEngine::Call(const char* func) { RunCall(XSCRIPT_CALL{func, nullptr, 0, 0, false}); }

void CXScriptEngine::CallEvent(const char* func, IXUIObject* owner, UINT wParam, LONG lParam) {
  RunCall(XSCRIPT_CALL{func, owner, wParam, lParam, true});
}

bool CXScriptEngine::SetGlobalFunction(const char* name, lua_CFunction function) {
  if (!m_L || !name || !function) return false;
  const int top = lua_gettop(m_L);
  XSCRIPT_GLOBAL global = {name, function};
  const bool done = lua_cpcall(m_L, &SetGlobalProtected, &global) == 0;
  lua_settop(m_L, top);
  return done;
}
