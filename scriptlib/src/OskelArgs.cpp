// Argument readers of the script module. Every conversion of a Lua number goes through
// OskelToInt32, so out-of-range and non-finite numbers are defined.
#include "OskelArgs.h"

#include <cstring>

#include "OskelValues.h"

const char* OskelArgString(lua_State* L, int index, size_t* len) {
  *len = 0;
  if (!lua_isstring(L, index)) return "";
  const char* s = lua_tolstring(L, index, len);
  if (!s) { *len = 0; return ""; }
  return s;
}

const char* OskelArgName(lua_State* L, int index, size_t maxLen) {
  size_t len = 0;
  const char* s = OskelArgString(L, index, &len);
  if (len == 0 || len > maxLen || strlen(s) != len) return nullptr;
  return s;
}

int32_t OskelArgInt(lua_State* L, int index) {
  return lua_isnumber(L, index) ? OskelToInt32(lua_tonumber(L, index)) : 0;
}

bool OskelBoxText(lua_State* L, int index, std::string* out) {
  switch (lua_type(L, index)) {
    case LUA_TBOOLEAN:
      *out = lua_toboolean(L, index) ? "1" : "0";
      return true;
    case LUA_TNUMBER:
      *out = std::to_string(OskelToInt32(lua_tonumber(L, index)));
      return true;
    case LUA_TSTRING: {
      size_t len = 0;
      const char* s = lua_tolstring(L, index, &len);
      out->assign(s, len);
      return true;
    }
    default:
      return false;
  }
}

int OskelLuaBitComputing(lua_State* L) {
  size_t len = 0;
  const char* op = OskelArgString(L, 2, &len);
  lua_pushinteger(L, OskelBitComputing(OskelArgInt(L, 1), op, len, OskelArgInt(L, 3)));
  return 1;
}

int OskelLuaHiWord(lua_State* L) {
  lua_pushinteger(L, OskelHiWord(OskelArgInt(L, 1)));
  return 1;
}

int OskelLuaLoWord(lua_State* L) {
  lua_pushinteger(L, OskelLoWord(OskelArgInt(L, 1)));
  return 1;
}
