// The script module's argument conversions over Lua values of every kind (numbers of any
// bit pattern, numeric and other strings, booleans, nil, tables), read directly and through
// the functions that need nothing but Lua.
#include <fuzzer/FuzzedDataProvider.h>

#include <lua.hpp>

#include "FuzzCheck.h"
#include "OskelArgs.h"

namespace {

void PushValue(lua_State* L, FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 6)) {
    case 0: lua_pushnil(L); break;
    case 1: lua_pushboolean(L, in.ConsumeBool()); break;
    case 2: {
      uint64_t bits = in.ConsumeIntegral<uint64_t>();
      double n;
      memcpy(&n, &bits, sizeof n);
      lua_pushnumber(L, n);
      break;
    }
    case 3: lua_pushnumber(L, in.ConsumeFloatingPoint<double>()); break;
    case 4: {
      std::string s = in.ConsumeRandomLengthString(300);
      lua_pushlstring(L, s.data(), s.size());
      break;
    }
    case 5: {
      static const char* const kNumeric[] = {"0x7fffffff", " 12 ", "1e309", "-0", "nan", "4294967296", "<<", ">>", "&", "|"};
      lua_pushstring(L, kNumeric[in.ConsumeIntegralInRange<size_t>(0, 9)]);
      break;
    }
    default: lua_newtable(L); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  lua_State* L = luaL_newstate();
  if (!L) return 0;
  const int count = in.ConsumeIntegralInRange<int>(0, 4);
  for (int i = 0; i < count; ++i) PushValue(L, in);

  for (int i = 1; i <= count + 1; ++i) {
    size_t len = 99;
    const char* s = OskelArgString(L, i, &len);
    FUZZ_CHECK(s && (len == 0 || lua_isstring(L, i)));
    const size_t maxLen = in.ConsumeIntegralInRange<size_t>(0, 400);
    const char* name = OskelArgName(L, i, maxLen);
    if (name) FUZZ_CHECK(strlen(name) > 0 && strlen(name) <= maxLen);
    (void)OskelArgInt(L, i);
    std::string text;
    if (OskelBoxText(L, i, &text)) FUZZ_CHECK(lua_isboolean(L, i) || lua_isnumber(L, i) || lua_isstring(L, i));
    FUZZ_CHECK(lua_gettop(L) == count);
  }

  static const lua_CFunction kFunctions[] = {OskelLuaBitComputing, OskelLuaHiWord, OskelLuaLoWord};
  lua_pushcfunction(L, kFunctions[in.ConsumeIntegralInRange<size_t>(0, 2)]);
  lua_insert(L, 1);
  FUZZ_CHECK(lua_pcall(L, count, 1, 0) == 0);  // no argument may raise an error
  FUZZ_CHECK(lua_isnumber(L, -1));
  lua_close(L);
  return 0;
}
