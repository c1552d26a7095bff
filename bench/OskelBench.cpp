// bench_oskel: times Oskel.ParseXML on a generated document (events delivered to a Lua
// handler) and Oskel.BitComputing calls, each beside a plain Lua baseline, and prints ratios.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchTimer.h"
#include "OskelPath.h"
#include "XWin.h"

namespace {

double Seconds(lua_State* L, const char* chunk) {
  const double t0 = xbench::Now();
  if (luaL_dostring(L, chunk) != 0) {
    printf("script error: %s\n", lua_tostring(L, -1));
    lua_pop(L, 1);
  }
  return xbench::Now() - t0;
}

}  // namespace

int main() {
  lua_State* L = luaL_newstate();
  luaL_openlibs(L);
  if (!OskelAddProgramFolder(L) || luaL_dostring(L, "require 'Oskel'") != 0) {
    printf("cannot load Oskel\n");
    return 1;
  }
  // 40000 elements with text: 80000 events.
  const int items = 40000;
  std::string doc = "<list>\n";
  for (int i = 0; i < items; ++i) doc += "  <item>entry number " + std::to_string(i) + "</item>\n";
  doc += "</list>\n";
  char folder[MAX_PATH], path[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "oxb", 0, path);
  {
    CXHandle f(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(f.Get(), doc.data(), static_cast<DWORD>(doc.size()), &written, nullptr);
  }
  lua_pushstring(L, path);
  lua_setglobal(L, "path");
  luaL_dostring(L, "count = 0 function handler(e, n, t) count = count + 1 end");

  double parse = Seconds(L, "Oskel.ParseXML(path, 'handler')");
  lua_getglobal(L, "count");
  const double events = lua_tonumber(L, -1);
  lua_pop(L, 1);
  double calls = Seconds(L, "for i = 1, 80000 do handler(1, 'item', 'entry') end");
  printf("ParseXML: %.0f events from %.2f MB in %.1f ms: %.0f events/s, %.1f MB/s\n", events,
         doc.size() / 1e6, parse * 1e3, events / parse, doc.size() / 1e6 / parse);
  printf("ParseXML event / plain Lua call of the handler: %.1f\n", (parse / events) / (calls / 80000));

  const int n = 1000000;
  double bit = Seconds(L, "local B, x = Oskel.BitComputing, 0 for i = 1, 1000000 do x = B(i, '<<', 3) end");
  double lua = Seconds(L, "local x = 0 for i = 1, 1000000 do x = i * 8 % 4294967296 end");
  printf("BitComputing: %.0f calls/s; ratio to Lua arithmetic: %.1f\n", n / bit, bit / lua);
  DeleteFileA(path);
  lua_close(L);
  return 0;
}
