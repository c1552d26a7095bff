// The test's Lua state: results of a chunk are flattened to text so tests compare strings.
#include "LuaHost.h"

#include "OskelPath.h"

CLuaHost::CLuaHost() : m_L(luaL_newstate()) {
  if (!m_L) return;
  luaL_openlibs(m_L);
  m_cpathSet = OskelAddProgramFolder(m_L);
}

CLuaHost::~CLuaHost() {
  if (m_L) lua_close(m_L);
}

std::string CLuaHost::Run(const std::string& chunk) {
  if (!m_L) return "error: no state";
  lua_settop(m_L, 0);
  if (luaL_loadbuffer(m_L, chunk.data(), chunk.size(), "test") != 0 ||
      lua_pcall(m_L, 0, LUA_MULTRET, 0) != 0) {
    const char* msg = lua_tostring(m_L, -1);
    std::string out = std::string("error: ") + (msg ? msg : "?");
    lua_settop(m_L, 0);
    return out;
  }
  std::string out;
  for (int i = 1, n = lua_gettop(m_L); i <= n; ++i) {
    if (i > 1) out += ",";
    switch (lua_type(m_L, i)) {
      case LUA_TNIL: out += "nil"; break;
      case LUA_TBOOLEAN: out += lua_toboolean(m_L, i) ? "true" : "false"; break;
      case LUA_TNUMBER:
      case LUA_TSTRING: {
        size_t len = 0;
        const char* s = lua_tolstring(m_L, i, &len);
        out.append(s, len);
        break;
      }
      default: out += lua_typename(m_L, lua_type(m_L, i)); break;
    }
  }
  lua_settop(m_L, 0);
  return out;
}

void CLuaHost::SetString(const char* name, const std::string& value) {
  lua_pushlstring(m_L, value.data(), value.size());
  lua_setglobal(m_L, name);
}
