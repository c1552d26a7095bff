// Registry scripts: parsing (quoting, substitution, value types, refusals) and the
// registrar's keep / replace / unmarked rules, carried out on a scratch key that stands in
// for HKEY_CLASSES_ROOT.
#include <gtest/gtest.h>

#include "RegProbe.h"
#include "RegRegistrar.h"
#include "RegScript.h"

namespace {

// Messages and scripts of these tests are ASCII.
std::string Ascii(const std::u16string& s) { return std::string(s.begin(), s.end()); }

const REG_SCRIPT_VARIABLES kVars = {{u"APPID", u"{A}"}, {u"MODULE", u"C:\\it's {odd}\\100%\\x.dll"}};

TEST(RegScript, QuotingSubstitutionAndValueTypes) {
  CRegScript s;
  ASSERT_TRUE(s.Parse(u"\xFEFFhkcr {\r\n noremove 'It''s' = s '%MODULE%' {\n"
                      u"  val Path = e '%%SystemRoot%%\\%APPID%'\n  val n = d 0xFFFFFFFF\n"
                      u"  val m = D 42\n  val raw = b '00A0ff'\n  ForceRemove Sub {}\n } plain\n}\nHKLM { x }",
                      kVars))
      << Ascii(s.Error());
  ASSERT_EQ(s.Roots().size(), 2u);
  EXPECT_EQ(s.Roots()[0].root, REG_SCRIPT_ROOT::ClassesRoot);
  EXPECT_EQ(s.Roots()[1].root, REG_SCRIPT_ROOT::LocalMachine);
  const auto& keys = s.Roots()[0].keys;
  ASSERT_EQ(keys.size(), 2u);
  const REG_SCRIPT_KEY& k = keys[0];
  EXPECT_EQ(k.mark, REG_SCRIPT_KEY::Keep);
  EXPECT_EQ(k.name, u"It's");
  ASSERT_TRUE(k.hasDefault);
  // Substituted text is taken as it is: its quote, braces and percent sign need no escaping.
  EXPECT_EQ(k.defaultValue.text, u"C:\\it's {odd}\\100%\\x.dll");
  ASSERT_EQ(k.values.size(), 4u);
  EXPECT_EQ(k.values[0].value.type, REG_SCRIPT_VALUE::ExpandString);
  EXPECT_EQ(k.values[0].value.text, u"%SystemRoot%\\{A}");
  EXPECT_EQ(k.values[1].value.number, 0xFFFFFFFFu);
  EXPECT_EQ(k.values[2].value.number, 42u);
  EXPECT_EQ(k.values[3].value.bytes, (std::vector<uint8_t>{0x00, 0xA0, 0xFF}));
  ASSERT_EQ(k.subkeys.size(), 1u);
  EXPECT_EQ(k.subkeys[0].mark, REG_SCRIPT_KEY::Replace);
  EXPECT_EQ(keys[1].name, u"plain");
  EXPECT_EQ(keys[1].mark, REG_SCRIPT_KEY::Unmarked);
  EXPECT_FALSE(keys[1].hasDefault);
}

TEST(RegScript, RefusesMalformedScriptsWithTheLine) {
  const char16_t* bad[] = {
      u"HKCR { '%NOPE%' }",           u"HKCR { 'a%APPID' }",       u"HKCR { 'open }",
      u"HKCR { a {",                   u"HKCR { 'a\\b' }",          u"HKCR { '' }",
      u"HKCR { a = d 4294967296 }",    u"HKCR { a = d 12z }",       u"HKCR { a = b 'ABC' }",
      u"HKCR { a = x 'y' }",           u"HKCR { a { val = s 'x' } }", u"HKCR { a { val v s 'x' } }",
      u"HKXX { a }",                   u"HKCR a",                   u"HKCR { a } }",
  };
  for (const char16_t* text : bad) {
    CRegScript s;
    EXPECT_FALSE(s.Parse(text, kVars)) << Ascii(text);
    EXPECT_FALSE(s.Error().empty()) << Ascii(text);
  }
  CRegScript s;
  EXPECT_FALSE(s.Parse(u"HKCR\n{\n a\n {\n  val v = d 'x'\n }\n}", kVars));
  EXPECT_EQ(s.Error().compare(0, 7, u"line 5:"), 0) << Ascii(s.Error());

  // Names longer than a registry key name allows, and nesting past the limit.
  EXPECT_FALSE(s.Parse(u"HKCR { " + std::u16string(256, u'k') + u" }", kVars));
  EXPECT_TRUE(s.Parse(u"HKCR { " + std::u16string(255, u'k') + u" }", kVars));
  std::u16string deep = u"HKCR {";
  for (int i = 0; i <= CRegScript::kMaxDepth; ++i) deep += u" k {";
  for (int i = 0; i <= CRegScript::kMaxDepth; ++i) deep += u" }";
  deep += u" }";
  EXPECT_FALSE(s.Parse(deep, kVars));
  EXPECT_TRUE(s.Roots().empty());  // a failed parse leaves no half tree behind
}

// Scripts of each mark over a scratch key that already holds foreign entries.
class Registrar : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.Get());
    ASSERT_TRUE(script.Parse(
        u"HKCR {\n"
        u" NoRemove Kept { val Mine = s 'k' Inner = s 'i' }\n"
        u" ForceRemove Fresh = s 'new' { val Count = d 7 val Raw = b 'BEEF' Leaf }\n"
        u" Shared { Ours = e '%%TEMP%%' }\n"
        u" Alone = s 'a' { Child }\n"
        u"}",
        {}))
        << Ascii(script.Error());
    MakeKey(root.Get(), L"Kept\\Foreign", L"Keep", L"me");
    MakeKey(root.Get(), L"Kept", L"Other", L"value");
    MakeKey(root.Get(), L"Fresh\\Stale", L"Old", L"x");
    MakeKey(root.Get(), L"Fresh", L"OldValue", L"x");
    MakeKey(root.Get(), L"Shared\\Theirs");
  }

  ScratchKey root{L"registrar"};
  CRegScript script;
};

TEST_F(Registrar, RegisterWritesEverythingAndReplacesOnlyReplaceKeys) {
  CRegRegistrar registrar(root.Get());
  ASSERT_EQ(registrar.Register(script), S_OK);
  HKEY r = root.Get();
  EXPECT_EQ(ValueText(r, L"Kept", L"Mine"), L"k");
  EXPECT_EQ(ValueText(r, L"Kept\\Inner"), L"i");
  EXPECT_EQ(ValueText(r, L"Kept\\Foreign", L"Keep"), L"me");
  EXPECT_EQ(ValueText(r, L"Kept", L"Other"), L"value");
  EXPECT_EQ(ValueText(r, L"Fresh"), L"new");
  EXPECT_EQ(ValueType(r, L"Fresh", L"Count"), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(ValueType(r, L"Fresh", L"Raw"), static_cast<DWORD>(REG_BINARY));
  EXPECT_TRUE(KeyExists(r, L"Fresh\\Leaf"));
  EXPECT_FALSE(KeyExists(r, L"Fresh\\Stale"));
  EXPECT_EQ(ValueText(r, L"Fresh", L"OldValue"), L"<missing>");
  EXPECT_EQ(ValueType(r, L"Shared\\Ours", nullptr), static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(ValueText(r, L"Shared\\Ours"), L"%TEMP%");
  EXPECT_TRUE(KeyExists(r, L"Shared\\Theirs"));
  EXPECT_TRUE(KeyExists(r, L"Alone\\Child"));
  // Registering again changes nothing.
  ASSERT_EQ(registrar.Register(script), S_OK);
  EXPECT_TRUE(KeyExists(r, L"Fresh\\Leaf"));
  EXPECT_EQ(ValueText(r, L"Alone"), L"a");
}

TEST_F(Registrar, UnregisterRemovesWhatTheScriptOwnsOnly) {
  CRegRegistrar registrar(root.Get());
  ASSERT_EQ(registrar.Register(script), S_OK);
  ASSERT_EQ(registrar.Unregister(script), S_OK);
  HKEY r = root.Get();
  EXPECT_TRUE(KeyExists(r, L"Kept"));
  EXPECT_EQ(ValueText(r, L"Kept", L"Mine"), L"<missing>");
  EXPECT_EQ(ValueText(r, L"Kept", L"Other"), L"value");
  EXPECT_FALSE(KeyExists(r, L"Kept\\Inner"));
  EXPECT_TRUE(KeyExists(r, L"Kept\\Foreign"));
  EXPECT_FALSE(KeyExists(r, L"Fresh"));
  EXPECT_FALSE(KeyExists(r, L"Shared\\Ours"));
  EXPECT_TRUE(KeyExists(r, L"Shared\\Theirs"));  // an unmarked key stays while others use it
  EXPECT_FALSE(KeyExists(r, L"Alone"));
  // Undoing what is already gone is no failure and creates nothing.
  ASSERT_EQ(registrar.Unregister(script), S_OK);
  EXPECT_FALSE(KeyExists(r, L"Alone"));
  EXPECT_FALSE(KeyExists(r, L"Fresh"));
}

}  // namespace
