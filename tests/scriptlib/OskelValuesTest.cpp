// Oskel's table, its integer functions and its paths, run as Lua scripts.
#include <windows.h>

#include <algorithm>

#include "ImportTable.h"
#include "OskelFixture.h"
#include "OskelPath.h"
#include "TestUtil.h"

namespace {

using Values = OskelScript;

TEST_F(Values, RequireRegistersTheTenFunctionsAsGlobalTable) {
  EXPECT_EQ(Run("return Oskel == require 'Oskel', package.loaded.Oskel == Oskel"), "true,true");
  EXPECT_EQ(Run("local names = {}\n"
                "for k, v in pairs(Oskel) do names[#names + 1] = k .. '=' .. type(v) end\n"
                "table.sort(names) return table.concat(names, ' ')"),
            "BitComputing=function GetCurrentPath=function GetTempFile=function HIWORD=function "
            "LOWORD=function Log=function MessageBox=function ParseXML=function "
            "ShellExecute=function UrlDownloadToFile=function");
}

TEST(OskelPath, ProgramFolderGoesFirstOnCPathOnce) {
  CLuaHost host;
  lua_State* L = host.State();
  const std::string folder = XNarrow(xtest::TestBinFolder().c_str());
  // With an empty search path only the helper can make require find the module.
  EXPECT_EQ(host.Run("package.cpath = '' return (pcall(require, 'Oskel'))"), "false");
  ASSERT_TRUE(OskelAddProgramFolder(L));
  ASSERT_TRUE(OskelAddProgramFolder(L));
  EXPECT_EQ(host.Run("return package.cpath"), folder + "\\?.dll;");
  EXPECT_EQ(host.Run("return type(require 'Oskel')"), "table");
  EXPECT_FALSE(OskelAddModuleFolder(L, "C:\\odd;folder"));
  EXPECT_FALSE(OskelAddModuleFolder(L, ""));
  EXPECT_EQ(host.Run("return package.cpath"), folder + "\\?.dll;");
}

TEST_F(Values, ModuleExportsOnlyItsEntryAndImportsExpatByName) {
  ASSERT_NE(Module(), nullptr);
  EXPECT_EQ(ListExportNames(Module()), std::vector<std::string>{"luaopen_Oskel"});
  std::vector<std::string> expat;
  for (const XImportEntry& e : ListImports(Module())) {
    if (lstrcmpiA(e.dll.c_str(), "libexpat.dll") != 0) continue;
    EXPECT_TRUE(e.byName) << "ordinal " << e.ordinal;
    expat.push_back(e.name);
  }
  for (const char* name : {"XML_ParserCreate", "XML_SetUserData", "XML_SetElementHandler",
                           "XML_SetCharacterDataHandler", "XML_Parse", "XML_ParserFree"}) {
    EXPECT_NE(std::find(expat.begin(), expat.end(), name), expat.end()) << name;
  }
}

TEST_F(Values, BitComputing) {
  EXPECT_EQ(Run("return Oskel.BitComputing(1, '<<', 33), Oskel.BitComputing(-8, '>>', 1),"
                " Oskel.BitComputing(5, '^', 1)"),
            "2,2147483644,0");
  EXPECT_EQ(Run("return Oskel.BitComputing(1, '<<', 31), Oskel.BitComputing(-1, '>>', -1),"
                " Oskel.BitComputing(12, '&', 10), Oskel.BitComputing(12, '|', 3),"
                " Oskel.BitComputing(-1, '&', 0x7fffffff)"),
            "-2147483648,1,8,15,2147483647");
  // Operators match exactly; numbers in strings convert as Lua converts them.
  EXPECT_EQ(Run("return Oskel.BitComputing(1, '<<<', 1), Oskel.BitComputing(1, '<<\\0', 1),"
                " Oskel.BitComputing(3, '&&', 1), Oskel.BitComputing(6, nil, 1),"
                " Oskel.BitComputing('12', '&', '10'), Oskel.BitComputing()"),
            "0,0,0,0,8,0");
}

TEST_F(Values, WordsTakeTheIntegerPartModulo32Bits) {
  EXPECT_EQ(Run("return Oskel.HIWORD(-1), Oskel.LOWORD(65537), Oskel.HIWORD(65537), Oskel.LOWORD(-1)"),
            "65535,1,1,65535");
  // Values beyond 32 bits wrap instead of collapsing; fractions are cut, not rounded.
  EXPECT_EQ(Run("return Oskel.HIWORD(4294967295), Oskel.LOWORD(2^32 + 5), Oskel.LOWORD(12.9),"
                " Oskel.LOWORD(-0.5), Oskel.BitComputing(2^40 + 3, '|', 0)"),
            "65535,5,12,0,3");
  EXPECT_EQ(Run("return Oskel.HIWORD(nil), Oskel.LOWORD({}), Oskel.LOWORD(0/0), Oskel.HIWORD(math.huge),"
                " Oskel.LOWORD(true)"),
            "0,0,0,0,0");
}

TEST_F(Values, GetCurrentPathIsTheModuleFolder) {
  std::string path = Run("return Oskel.GetCurrentPath(1, 2)");
  EXPECT_EQ(_stricmp(path.c_str(), Ansi(xtest::TestBinFolder()).c_str()), 0) << path;
  EXPECT_NE(path.back(), '\\');
}

TEST_F(Values, GetTempFileCreatesAnEmptyFileWithThreeCharacterPrefix) {
  char folder[MAX_PATH] = {0};
  ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
  std::string a = Run("return Oskel.GetTempFile('pqrxyz')");
  std::string b = Run("return Oskel.GetTempFile('pqrxyz')");
  std::string c = Run("return Oskel.GetTempFile(nil)");
  std::string d = Run("return Oskel.GetTempFile(42)");
  for (const std::string& path : {a, b, c, d}) {
    ASSERT_EQ(_strnicmp(path.c_str(), folder, strlen(folder)), 0) << path;
    WIN32_FILE_ATTRIBUTE_DATA info;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info)) << path;
    EXPECT_EQ(info.nFileSizeLow, 0u);
    EXPECT_EQ(_stricmp(path.substr(path.size() - 4).c_str(), ".tmp"), 0) << path;
  }
  std::string name = a.substr(strlen(folder));
  EXPECT_EQ(name.substr(0, 3), "pqr");
  EXPECT_NE(name[3], 'x');  // the unique part is hex digits, so 'x' can only come from the prefix
  EXPECT_EQ(d.substr(strlen(folder), 2), "42");
  EXPECT_NE(a, b);
  for (const std::string& path : {a, b, c, d}) DeleteFileA(path.c_str());
}

}  // namespace
