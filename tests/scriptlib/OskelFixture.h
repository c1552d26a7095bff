// Base of the module tests: a fresh Lua state per test with Oskel loaded by require.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "LuaHost.h"
#include "XWin.h"

class OskelScript : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CPathSet());
    ASSERT_EQ(host.Run("return type(require 'Oskel')"), "table");
  }
  std::string Run(const std::string& chunk) { return host.Run(chunk); }
  static std::string Ansi(const std::wstring& s) { return XNarrow(s.c_str(), -1, CP_ACP); }
  static HMODULE Module() { return GetModuleHandleW(L"Oskel.dll"); }

  CLuaHost host;
};
