// A plain Lua 5.1 state for the module tests, set up the way the framework's engine finds
// the module: standard libraries opened, the program folder first on package.cpath.
#pragma once

#include <lua.hpp>

#include <string>

class CLuaHost {
 public:
  CLuaHost();
  ~CLuaHost();
  CLuaHost(const CLuaHost&) = delete;
  CLuaHost& operator=(const CLuaHost&) = delete;

  lua_State* State() const { return m_L; }
  bool CPathSet() const { return m_cpathSet; }

  // Runs a chunk and joins its results with "," (nil, booleans, numbers and strings as Lua
  // prints them); a load or run failure gives "error: <message>".
  std::string Run(const std::string& chunk);

  // Sets a global string (byte for byte, so it may hold NULs).
  void SetString(const char* name, const std::string& value);

 private:
  lua_State* m_L;
  bool m_cpathSet = false;
};
