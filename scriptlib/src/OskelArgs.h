// How the script module reads its Lua arguments, and its functions that need nothing but
// Lua (BitComputing, HIWORD, LOWORD). Platform-neutral: no argument raises a Lua error, a
// value of the wrong type reads as an empty string or 0.
#pragma once

#include <lua.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

// A string argument; numbers count as strings (Lua converts them), anything else is empty.
const char* OskelArgString(lua_State* L, int index, size_t* len);
// A string argument handed to the system as a name: not empty, within maxLen and without an
// embedded NUL (which would silently name a different file); null otherwise.
const char* OskelArgName(lua_State* L, int index, size_t maxLen);
// A number argument by its integer part wrapped to 32 bits; anything else is 0.
int32_t OskelArgInt(lua_State* L, int index);
// Message-box text of an argument: booleans as 1 or 0, numbers by their integer part,
// strings as their bytes (ANSI); false for other values, which give no text at all.
bool OskelBoxText(lua_State* L, int index, std::string* out);

int OskelLuaBitComputing(lua_State* L);
int OskelLuaHiWord(lua_State* L);
int OskelLuaLoWord(lua_State* L);
