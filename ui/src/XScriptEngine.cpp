// The Lua state and the protected calls into it. Lua errors are longjmps: nothing here holds
// a C++ object with a destructor across a call that may raise.
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

void CXScriptEngine::Call(const char* func) {
  if (!m_L || !func) return;
  const int top = lua_gettop(m_L);
  lua_getglobal(m_L, func);
  if (lua_pcall(m_L, 0, LUA_MULTRET, 0) != 0) ShowError(L"");
  lua_settop(m_L, top);
}

void CXScriptEngine::CallEvent(const char* func, IXUIObject* owner, UINT wParam, LONG lParam) {
  if (!m_L || !func) return;
  const int top = lua_gettop(m_L);
  lua_getglobal(m_L, func);
  XPushUIObject(m_L, owner);
  lua_pushnumber(m_L, static_cast<lua_Number>(wParam));
  lua_pushnumber(m_L, static_cast<lua_Number>(lParam));
  if (lua_pcall(m_L, 3, LUA_MULTRET, 0) != 0) ShowError(L"");
  lua_settop(m_L, top);
}
