// The script module's streaming XML reader: any bytes through Expat to a Lua handler that
// records the events, raises errors now and then, or is missing altogether.
#include <lua.hpp>

#include "FuzzCheck.h"
#include "OskelXmlReader.h"

namespace {

const char kScript[] =
    "events = 0\n"
    "function handler(code, name, text)\n"
    "  events = events + 1\n"
    "  assert(code == 1 or code == 3)\n"
    "  if code == 3 then assert(type(text) == 'string' and #text > 0) end\n"
    "  if text and #text % 5 == 3 then error('handler failed') end\n"
    "  if events % 7 == 0 then handler = 42 end\n"
    "end\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // One state for the run (opening the libraries costs more than most parses); the script
  // puts the handler and its count back before every input.
  static lua_State* L = [] {
    lua_State* state = luaL_newstate();
    luaL_openlibs(state);
    return state;
  }();
  FUZZ_CHECK(L && luaL_dostring(L, kScript) == 0);
  // The first byte picks the handler's name: the script's, an absent one, or an empty one.
  static const char* const kNames[] = {"handler", "handler", "absent", ""};
  const char* name = kNames[data[0] % 4];
  const int top = lua_gettop(L);
  COskelXmlReader::ParseBytes(L, reinterpret_cast<const char*>(data + 1), size - 1, name, strlen(name));
  FUZZ_CHECK(lua_gettop(L) == top);
  return 0;
}
