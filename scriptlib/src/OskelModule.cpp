// Oskel.dll: operating-system services for skin scripts, registered as the global table
// "Oskel" by luaopen_Oskel, the module's only export. No function raises a Lua error:
// arguments of the wrong type read as empty strings or 0, unusable ones make a call do nothing.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <urlmon.h>

#include <climits>
#include <cstring>
#include <new>
#include <string>

#include <lua.hpp>

#include "OskelArgs.h"
#include "OskelXmlReader.h"
#include "XWin.h"

namespace {

HMODULE g_module = nullptr;

constexpr size_t kMaxPathChars = MAX_PATH - 1;  // what the ANSI file functions can take
constexpr size_t kMaxUrlChars = 2083;           // URLs and shell targets (which may be URLs)

// Message-box text of an argument, widened from the ANSI code page.
bool BoxText(lua_State* L, int index, std::wstring* out) {
  std::string bytes;
  if (!OskelBoxText(L, index, &bytes)) return false;
  *out = XWiden(bytes.data(), static_cast<int>(bytes.size() < INT_MAX ? bytes.size() : INT_MAX));
  return true;
}

int LuaGetCurrentPath(lua_State* L) {
  char path[MAX_PATH] = {0};
  DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) path[0] = 0;
  else PathRemoveFileSpecA(path);
  lua_pushstring(L, path);
  return 1;
}

int LuaMessageBox(lua_State* L) {
  std::wstring text, caption;
  bool hasText = false, hasCaption = false;
  try {
    hasText = BoxText(L, 1, &text);
    hasCaption = BoxText(L, 2, &caption);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  MessageBoxW(nullptr, hasText ? text.c_str() : nullptr, hasCaption ? caption.c_str() : nullptr, MB_OK);
  return 0;
}

int LuaLog(lua_State* L) {
  size_t len = 0;
  OutputDebugStringA(OskelArgString(L, 1, &len));
  return 0;
}

int LuaUrlDownloadToFile(lua_State* L) {
  const char* url = OskelArgName(L, 1, kMaxUrlChars);
  const char* path = OskelArgName(L, 2, kMaxPathChars);
  if (url && path) URLDownloadToFileA(nullptr, url, path, 0, nullptr);
  return 0;
}

int LuaShellExecute(lua_State* L) {
  // An empty file would make the shell open the current folder: nothing is started then.
  const char* file = OskelArgName(L, 1, kMaxUrlChars);
  if (!file) return 0;
  size_t len = 0;
  const char* verb = lua_isstring(L, 2) ? OskelArgString(L, 2, &len) : nullptr;
  ShellExecuteA(nullptr, verb, file, nullptr, nullptr, SW_SHOW);
  return 0;
}

int LuaGetTempFile(lua_State* L) {
  char folder[MAX_PATH] = {0};
  char file[MAX_PATH] = {0};
  char prefix[4] = {0};  // the system takes at most three characters
  size_t len = 0;
  const char* given = OskelArgString(L, 1, &len);
  XCopyBounded(prefix, sizeof prefix, given, len);
  DWORD n = GetTempPathA(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH || GetTempFileNameA(folder, prefix, 0, file) == 0) file[0] = 0;
  lua_pushstring(L, file);
  return 1;
}

int LuaParseXML(lua_State* L) {
  const char* path = OskelArgName(L, 1, kMaxPathChars);
  size_t len = 0;
  const char* handler = OskelArgString(L, 2, &len);
  if (path) COskelXmlReader::Parse(L, path, handler, len);
  return 0;
}

const luaL_Reg kFunctions[] = {
    {"GetCurrentPath", LuaGetCurrentPath},
    {"MessageBox", LuaMessageBox},
    {"Log", LuaLog},
    {"UrlDownloadToFile", LuaUrlDownloadToFile},
    {"ShellExecute", LuaShellExecute},
    {"GetTempFile", LuaGetTempFile},
    {"ParseXML", LuaParseXML},
    {"BitComputing", OskelLuaBitComputing},
    {"HIWORD", OskelLuaHiWord},
    {"LOWORD", OskelLuaLoWord},
    {nullptr, nullptr},
};

}  // namespace

extern "C" __declspec(dllexport) int luaopen_Oskel(lua_State* L) {
  luaL_openlib(L, "Oskel", kFunctions, 0);
  return 1;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
