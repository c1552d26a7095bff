// How a script engine finds the Oskel module: a folder is put first on package.cpath as
// "<folder>\?.dll", so that require "Oskel" loads <folder>\Oskel.dll. Call after the package
// library is open (luaL_openlibs). Runs protected: never raises a Lua error.
#pragma once

#include <windows.h>

#include <cstring>

#include <lua.hpp>

namespace oskel_detail {

struct XCPathArgs {
  const char* folder;
  bool ok;
};

inline int PrependCPath(lua_State* L) {
  auto* args = static_cast<XCPathArgs*>(lua_touserdata(L, 1));
  lua_getglobal(L, "package");
  if (!lua_istable(L, -1)) return 0;
  lua_pushstring(L, args->folder);
  lua_pushstring(L, "\\?.dll;");
  lua_concat(L, 2);
  size_t entryLen = 0;
  const char* entry = lua_tolstring(L, -1, &entryLen);
  lua_getfield(L, -2, "cpath");
  const char* old = lua_tostring(L, -1);
  if (old && strncmp(old, entry, entryLen) == 0) {  // already first
    args->ok = true;
    return 0;
  }
  if (!old) {
    lua_pop(L, 1);
    lua_pushliteral(L, "");
  }
  lua_concat(L, 2);
  lua_setfield(L, -2, "cpath");
  args->ok = true;
  return 0;
}

}  // namespace oskel_detail

// Puts folder (ANSI, no trailing backslash) first on package.cpath. Refuses an empty folder
// and one holding ';' or '?', which the search-path syntax cannot express.
inline bool OskelAddModuleFolder(lua_State* L, const char* folder) {
  if (!L || !folder || !*folder || strpbrk(folder, ";?")) return false;
  oskel_detail::XCPathArgs args{folder, false};
  const int top = lua_gettop(L);
  const int status = lua_cpcall(L, &oskel_detail::PrependCPath, &args);
  lua_settop(L, top);
  return status == 0 && args.ok;
}

// The same for the folder of the running program, where the deliverables ship together.
inline bool OskelAddProgramFolder(lua_State* L) {
  char path[MAX_PATH] = {0};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  char* slash = strrchr(path, '\\');
  if (!slash) return false;
  *slash = 0;
  return OskelAddModuleFolder(L, path);
}
