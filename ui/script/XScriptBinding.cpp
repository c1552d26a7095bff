// The script interface of skins: the global functions, the class "IXUIObject" (plain
// references to UI objects, one script value per object) and the class "CXTimer". Arguments
// of the wrong kind count as missing: methods without their object do nothing and answer
// nil, so a script mistake never reaches a null or foreign pointer. No function here raises
// a script error, so no C++ object is ever skipped by Lua's longjmp.
#include <urlmon.h>

#include <climits>
#include <lua.hpp>

#include "ControlMgr.h"
#include "XEasyDialog.h"
#include "XMessageBox.h"
#include "XModule.h"
#include "XScriptEngine.h"
#include "XSkinRegistry.h"
#include "XUIMgr.h"
#include "XWin.h"
#include "XWindow.h"

namespace {

const char kObjectType[] = "IXUIObject";
const char kTimerType[] = "CXTimer";
const char kObjectCache[] = "wendora.objects";

struct XUI_BOX {
  IXUIObject* object;
};

// A timer of the script; made by "new" and kept until the process ends (the current-timer
// pointer may name it at any time).
struct XTIMER_RECORD {
  int interval;
  UINT_PTR id;
  char callback[260];
};

struct XTIMER_BOX {
  XTIMER_RECORD* record;
};

XTIMER_RECORD* g_currentTimer = nullptr;

// Lua is C: no C++ exception may unwind through it. A function that fails this way answers
// nothing.
template <lua_CFunction F>
int Guarded(lua_State* L) {
  try {
    return F(L);
  } catch (...) {
    return 0;
  }
}

void* ToTyped(lua_State* L, int index, const char* type) {
  void* p = lua_touserdata(L, index);
  if (!p || !lua_getmetatable(L, index)) return nullptr;
  luaL_getmetatable(L, type);
  const bool same = lua_rawequal(L, -1, -2) != 0;
  lua_pop(L, 2);
  return same ? p : nullptr;
}

IXUIObject* ToObject(lua_State* L, int index) {
  auto* box = static_cast<XUI_BOX*>(ToTyped(L, index, kObjectType));
  return box ? box->object : nullptr;
}

XTIMER_RECORD* ToTimer(lua_State* L, int index) {
  auto* box = static_cast<XTIMER_BOX*>(ToTyped(L, index, kTimerType));
  return box ? box->record : nullptr;
}

// A string argument (numbers as Lua writes them), or null.
const char* ToText(lua_State* L, int index, size_t* length = nullptr) {
  if (lua_type(L, index) != LUA_TSTRING && lua_type(L, index) != LUA_TNUMBER) return nullptr;
  return lua_tolstring(L, index, length);
}

int ToInt(lua_State* L, int index) {
  lua_Number n = lua_tonumber(L, index);
  if (n != n) return 0;
  if (n >= static_cast<lua_Number>(INT_MAX)) return INT_MAX;
  if (n <= static_cast<lua_Number>(INT_MIN)) return INT_MIN;
  return static_cast<int>(n);
}

HWND HostWindowOf(IXUIObject* object) {
  CControlMgr* mgr = object ? object->XUI_GetControlMgr() : nullptr;
  return mgr ? mgr->GetWnd() : nullptr;
}

// "MessageBox" text: booleans 1/0, numbers as integers, strings widened, anything else "".
std::wstring MessageText(lua_State* L, int index) {
  switch (lua_type(L, index)) {
    case LUA_TBOOLEAN:
      return lua_toboolean(L, index) ? L"1" : L"0";
    case LUA_TNUMBER:
      return std::to_wstring(ToInt(L, index));
    case LUA_TSTRING: {
      size_t length = 0;
      const char* s = lua_tolstring(L, index, &length);
      return XWiden(s, static_cast<int>(length), CP_ACP);
    }
    default:
      return std::wstring();
  }
}

// Global functions.

int Script_MessageBox(lua_State* L) {
  {
    std::wstring text = MessageText(L, 1);
    std::wstring caption = MessageText(L, 2);
    XShowMessageBox(text.c_str(), caption.c_str(), MB_OK);
  }
  return 0;
}

int Script_GetCurrentPath(lua_State* L) {
  char path[MAX_PATH] = {0};
  DWORD n = GetModuleFileNameA(XThisModule(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) path[0] = 0;
  if (char* slash = strrchr(path, '\\')) *slash = 0;
  lua_pushstring(L, path);
  return 1;
}

int Script_UrlDownloadToFile(lua_State* L) {
  const char* url = ToText(L, 1);
  char folder[MAX_PATH] = {0};
  char file[MAX_PATH] = {0};
  DWORD n = GetTempPathA(MAX_PATH, folder);
  if (n > 0 && n < MAX_PATH && GetTempFileNameA(folder, "smz", 0, file) && url)
    URLDownloadToFileA(nullptr, url, file, 0, nullptr);
  lua_pushstring(L, file);
  return 1;
}

IXUIObject* BuildTemplate(const char* name) {
  std::wstring wide = XWiden(name);
  if (!CXUIMgr::GetInstance().CreateUIObjectWithTemplate(wide.c_str())) return nullptr;
  return CXSkinRegistry::Instance().GetCreated(CString(wide));
}

int Script_CreateTemplate(lua_State* L) {
  const char* name = ToText(L, 1);
  IXUIObject* object = name ? BuildTemplate(name) : nullptr;
  if (!object) return 0;
  XPushUIObject(L, object);
  return 1;
}

HWND CreateNativeWindow(IXUIObject* object, IXUIObject* parent) {
  auto* window = dynamic_cast<CXWindow*>(object);
  if (!window) return nullptr;
  const CRect rect = window->XUI_GetRect();
  const CString title = window->XUI_GetWindowText();
  HWND wnd = window->Create(HostWindowOf(parent), &rect, title, window->GetWindowStyle() | window->GetWndStyle(),
                            window->GetWindowExStyle() | window->GetWndExStyle(), nullptr);
  if (wnd) window->RelocateWnd();
  return wnd;
}

int Script_CreateWindow(lua_State* L) {
  IXUIObject* object = ToObject(L, 1);
  IXUIObject* parent = ToObject(L, 2);
  HWND wnd = object ? CreateNativeWindow(object, parent) : nullptr;
  lua_pushnumber(L, static_cast<lua_Number>(reinterpret_cast<UINT_PTR>(wnd)));
  return 1;
}

void ForgetObject(lua_State* L, IXUIObject* object);

int Script_CreateDialog(lua_State* L) {
  auto* dialog = dynamic_cast<CXEasyDialog*>(ToObject(L, 1));
  if (!dialog) return 0;
  const int result = dialog->DoModal(HostWindowOf(ToObject(L, 2)));
  // The dialog object goes, and with it every script value and table entry naming it.
  ForgetObject(L, dialog);
  CXSkinRegistry::Instance().ForgetCreated(dialog);
  XDestroyUIObject(dialog);
  lua_pushnumber(L, result);
  return 1;
}

// Class "IXUIObject".

int Object_GetChild(lua_State* L) {
  IXUIObject* object = ToObject(L, 1);
  const char* id = ToText(L, 2);
  IXUIObject* child = nullptr;
  if (object && id) {
    std::wstring wide = XWiden(id);
    child = object->XUI_GetChild(wide.c_str());
  }
  XPushUIObject(L, child);
  return 1;
}

int Object_ShowWindow(lua_State* L) {
  if (IXUIObject* object = ToObject(L, 1)) object->XUI_SetVisible(lua_toboolean(L, 2));
  return 0;
}

int Object_SetText(lua_State* L) {
  IXUIObject* object = ToObject(L, 1);
  if (!object) return 0;
  size_t length = 0;
  const char* text = ToText(L, 2, &length);
  const int mode = lua_isnoneornil(L, 3) ? 0 : ToInt(L, 3);
  {
    std::wstring wide;
    if (text && mode == 0) wide = XWiden(text, static_cast<int>(length), CP_ACP);
    else if (text && mode == 1) wide = XWiden(text, static_cast<int>(length), CP_UTF8);
    object->XUI_SetWindowText(wide.c_str());
  }
  return 0;
}

int Object_GetText(lua_State* L) {
  IXUIObject* object = ToObject(L, 1);
  if (!object) return 0;
  std::string text;
  {
    CString wide = object->XUI_GetWindowText();
    text = XNarrow(wide.GetString(), wide.GetLength(), CP_ACP);
  }
  lua_pushlstring(L, text.data(), text.size());
  return 1;
}

int Object_IsVisible(lua_State* L) {
  IXUIObject* object = ToObject(L, 1);
  if (!object) return 0;
  lua_pushboolean(L, object->XUI_IsVisible());
  return 1;
}

int Object_Invalidate(lua_State* L) {
  IXUIObject* object = ToObject(L, 1);
  if (!object) return 0;
  if (HWND wnd = HostWindowOf(object)) {
    CRect r = object->XUI_GetRect();
    InvalidateRect(wnd, &r, FALSE);
  }
  return 0;
}

// Class "CXTimer".

void CALLBACK TimerTick(HWND, UINT, UINT_PTR, DWORD) {
  CXScriptEngine* engine = CXScriptEngine::Get();
  if (!engine || !g_currentTimer) return;
  char callback[sizeof g_currentTimer->callback];
  memcpy(callback, g_currentTimer->callback, sizeof callback);
  try {
    engine->Call(callback);
  } catch (...) {
  }
}

int Timer_New(lua_State* L) {
  auto* record = new (std::nothrow) XTIMER_RECORD{0, 0, {0}};
  if (!record) return 0;
  g_currentTimer = record;
  auto* box = static_cast<XTIMER_BOX*>(lua_newuserdata(L, sizeof(XTIMER_BOX)));
  box->record = record;
  luaL_getmetatable(L, kTimerType);
  lua_setmetatable(L, -2);
  return 1;
}

int Timer_SetInterval(lua_State* L) {
  if (XTIMER_RECORD* record = ToTimer(L, 1)) record->interval = ToInt(L, 2);
  return 0;
}

int Timer_SetCallback(lua_State* L) {
  XTIMER_RECORD* record = ToTimer(L, 1);
  const char* name = ToText(L, 2);
  if (record) XCopyBounded(record->callback, sizeof record->callback, name ? name : "");
  return 0;
}

int Timer_StartTimer(lua_State* L) {
  XTIMER_RECORD* record = ToTimer(L, 1);
  if (!record) return 0;
  // A restart replaces the running timer instead of leaving it ticking out of reach.
  if (record->id) KillTimer(nullptr, record->id);
  record->id = SetTimer(nullptr, 0, static_cast<UINT>(record->interval < 0 ? 0 : record->interval), &TimerTick);
  return 0;
}

int Timer_EndTimer(lua_State* L) {
  XTIMER_RECORD* record = ToTimer(L, 1);
  if (!record) return 0;
  if (record->id) KillTimer(nullptr, record->id);
  record->id = 0;
  return 0;
}

// A class: a global table of methods and a metatable whose __index is that table.
void RegisterScriptClass(lua_State* L, const char* name, const luaL_Reg* methods) {
  lua_newtable(L);
  for (const luaL_Reg* m = methods; m->name; ++m) {
    lua_pushcfunction(L, m->func);
    lua_setfield(L, -2, m->name);
  }
  luaL_newmetatable(L, name);
  lua_pushvalue(L, -2);
  lua_setfield(L, -2, "__index");
  lua_pushstring(L, name);
  lua_setfield(L, -2, "__metatable");
  lua_pop(L, 1);
  lua_setglobal(L, name);
}

void ForgetObject(lua_State* L, IXUIObject* object) {
  lua_getfield(L, LUA_REGISTRYINDEX, kObjectCache);
  if (!lua_istable(L, -1)) {
    lua_pop(L, 1);
    return;
  }
  lua_pushlightuserdata(L, object);
  lua_rawget(L, -2);
  if (auto* box = static_cast<XUI_BOX*>(ToTyped(L, -1, kObjectType))) box->object = nullptr;
  lua_pop(L, 1);
  lua_pushlightuserdata(L, object);
  lua_pushnil(L);
  lua_rawset(L, -3);
  lua_pop(L, 1);
}

int RegisterAll(lua_State* L) {
  // One script value per object, held weakly so unused values are collected.
  lua_newtable(L);
  lua_newtable(L);
  lua_pushliteral(L, "v");
  lua_setfield(L, -2, "__mode");
  lua_setmetatable(L, -2);
  lua_setfield(L, LUA_REGISTRYINDEX, kObjectCache);

  lua_register(L, "MessageBox", &Guarded<&Script_MessageBox>);
  lua_register(L, "GetCurrentPath", &Guarded<&Script_GetCurrentPath>);
  lua_register(L, "UrlDownloadToFile", &Guarded<&Script_UrlDownloadToFile>);
  static const luaL_Reg objectMethods[] = {{"GetChild", &Guarded<&Object_GetChild>},
                                           {"ShowWindow", &Guarded<&Object_ShowWindow>},
                                           {"SetText", &Guarded<&Object_SetText>},
                                           {"GetText", &Guarded<&Object_GetText>},
                                           {"IsVisible", &Guarded<&Object_IsVisible>},
                                           {"Invalidate", &Guarded<&Object_Invalidate>},
                                           {nullptr, nullptr}};
  RegisterScriptClass(L, kObjectType, objectMethods);
  static const luaL_Reg timerMethods[] = {{"new", &Guarded<&Timer_New>},
                                          {"SetInterval", &Guarded<&Timer_SetInterval>},
                                          {"SetCallback", &Guarded<&Timer_SetCallback>},
                                          {"StartTimer", &Guarded<&Timer_StartTimer>},
                                          {"EndTimer", &Guarded<&Timer_EndTimer>},
                                          {nullptr, nullptr}};
  RegisterScriptClass(L, kTimerType, timerMethods);
  lua_register(L, "CreateTemplate", &Guarded<&Script_CreateTemplate>);
  lua_register(L, "CreateWindow", &Guarded<&Script_CreateWindow>);
  lua_register(L, "CreateDialog", &Guarded<&Script_CreateDialog>);
  return 0;
}

}  // namespace

void XRegisterScriptBinding(lua_State* L) {
  if (L) lua_cpcall(L, &RegisterAll, nullptr);
}

void XPushUIObject(lua_State* L, IXUIObject* object) {
  if (!object) {
    lua_pushnil(L);
    return;
  }
  lua_getfield(L, LUA_REGISTRYINDEX, kObjectCache);
  lua_pushlightuserdata(L, object);
  lua_rawget(L, -2);
  if (ToTyped(L, -1, kObjectType)) {
    lua_remove(L, -2);
    return;
  }
  lua_pop(L, 1);
  auto* box = static_cast<XUI_BOX*>(lua_newuserdata(L, sizeof(XUI_BOX)));
  box->object = object;
  luaL_getmetatable(L, kObjectType);
  lua_setmetatable(L, -2);
  lua_pushlightuserdata(L, object);
  lua_pushvalue(L, -2);
  lua_rawset(L, -4);
  lua_remove(L, -2);
}
