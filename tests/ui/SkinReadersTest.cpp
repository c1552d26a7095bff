// The start file and font file readers, the tables they fill, and the value syntaxes of
// skin text, read from the packed test skin and from buffers.
#include <gtest/gtest.h>

#include <string>

#include "UiTestUtil.h"
#include "XAppTemplate.h"
#include "XFontTemplate.h"
#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XSkinTables.h"
#include "XSkinText.h"
#include "XWin.h"

namespace {

XBuffer<unsigned char> Bytes(const std::string& s) {
  XBuffer<unsigned char> b;
  if (b.Resize(static_cast<int>(s.size()))) memcpy(b.GetData(), s.data(), s.size());
  return b;
}

LOGFONTW FontOf(HFONT font) {
  LOGFONTW lf = {};
  GetObjectW(font, sizeof lf, &lf);
  return lf;
}

class SkinReaders : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CXSkinPackage::Instance().Load(uitest::TestSkin(L"basic").c_str()), 1); }
};

TEST_F(SkinReaders, StartFileFillsTheTemplateAndScriptTables) {
  CXSkinRegistry& registry = CXSkinRegistry::Instance();
  registry.Clear();
  CXAppTemplate reader;
  ASSERT_EQ(reader.ReadFromPackage(L"OnInit.x"), 1);
  const XSKIN_FILE* main = registry.FindXml(L"MAIN");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->name, L"Main");
  EXPECT_EQ(main->path, L"Res\\Main.XML");
  ASSERT_NE(registry.FindXml(L"res.font"), nullptr);
  EXPECT_EQ(registry.FindXml(L"res.font")->path, L"fonts\\font.xml");
  ASSERT_NE(registry.FindScript(L"Init"), nullptr);
  EXPECT_EQ(registry.FindScript(L"init")->path, L"scripts\\init.lua");
  // Element names ignore case; a missing attribute counts as empty; bare elements and
  // other elements are ignored.
  ASSERT_NE(registry.FindScript(L"loaded"), nullptr);
  EXPECT_EQ(registry.FindScript(L"loaded")->path, L"");
  EXPECT_EQ(registry.GetXmlCount(), 2);
  EXPECT_EQ(registry.GetScriptCount(), 2);
  EXPECT_EQ(registry.FindXml(L"ignored"), nullptr);
  EXPECT_EQ(reader.ReadFromPackage(L"no such entry"), 0);
}

TEST_F(SkinReaders, RepeatedClassReplacesTheEarlierPair) {
  CXSkinRegistry& registry = CXSkinRegistry::Instance();
  registry.Clear();
  CXAppTemplate reader;
  auto bytes = Bytes("<s><xml class='T' path='a'/><XML class='t' path='b'/></s>");
  EXPECT_EQ(reader.LoadFromBuffer(bytes, &CXAppTemplate::Callback), 1);
  ASSERT_NE(registry.FindXml(L"T"), nullptr);
  EXPECT_EQ(registry.FindXml(L"T")->path, L"b");
  EXPECT_EQ(registry.FindXml(L"T")->name, L"t");
  EXPECT_EQ(registry.GetXmlCount(), 1);
}

TEST_F(SkinReaders, FontFileFillsColoursAndFonts) {
  CXFontTemplate reader;
  ASSERT_EQ(reader.ReadFromPackage(L"fonts\\font.xml"), 1);
  CXColorTable& colors = CXColorTable::Instance();
  // "RGB" forms.
  EXPECT_EQ(colors.GetColor(901), 0x0000FFu);
  EXPECT_EQ(colors.GetColor(902), 0x00FF00u);
  EXPECT_EQ(colors.GetColor(903), 0xFF0000u);
  EXPECT_EQ(colors.GetColor(904), 0u);
  EXPECT_EQ(colors.GetColor(905), 0xFF0100u);  // each part modulo 256
  EXPECT_EQ(colors.GetClass(903), L"upper");
  EXPECT_EQ(colors.GetColor(123456), 0xFFFFFFu);

  const LOGFONTW& described = reader.GetFonts().at(901);
  EXPECT_STREQ(described.lfFaceName, L"Tahoma");
  EXPECT_EQ(described.lfHeight, -17);
  EXPECT_EQ(described.lfWeight, FW_BOLD);
  EXPECT_EQ(described.lfUnderline, 1);
  EXPECT_EQ(described.lfItalic, 0);
  // Font 0 is re-initialised by its element but never changed by property text.
  EXPECT_STREQ(reader.GetFonts().at(0).lfFaceName, FontOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))).lfFaceName);

  CXFontTable& fonts = CXFontTable::Instance();
  ASSERT_TRUE(fonts.Has(901));
  EXPECT_EQ(fonts.Get(901).color, 0x0000FFu);  // the second "xfont 901" changed nothing
  LOGFONTW made = FontOf(fonts.Get(901).hFont);
  EXPECT_STREQ(made.lfFaceName, L"Tahoma");
  EXPECT_EQ(made.lfHeight, -17);
  EXPECT_EQ(made.lfWeight, FW_BOLD);
  // An unknown face is replaced by the system's UI face.
  ASSERT_TRUE(fonts.Has(902));
  EXPECT_EQ(fonts.Get(902).color, 0xFF0000u);
  EXPECT_STREQ(FontOf(fonts.Get(902).hFont).lfFaceName, CXFontTable::FallbackFace());
  // A missing colour id adds nothing; id 0 stays the stock font with colour 0.
  EXPECT_FALSE(fonts.Has(903));
  EXPECT_EQ(fonts.Get(903).hFont, GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(fonts.Get(0).hFont, GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(fonts.Get(0).color, 0u);
}

TEST(FontTemplate, FontElementsWithoutIdAndZeroValues) {
  CXFontTemplate reader;
  auto bytes = Bytes(
      "<f><font id='950'><height>-30</height><italic>1</italic></font>"
      "<font><bold>1</bold><bold>0</bold></font>"
      "<font id='951'><fontname>ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij</fontname></font></f>");
  ASSERT_EQ(reader.LoadFromBuffer(bytes, &CXFontTemplate::Callback), 1);
  const LOGFONTW& again = reader.GetFonts().at(950);
  EXPECT_NE(again.lfHeight, -30);  // re-initialised by the second element
  EXPECT_EQ(again.lfItalic, 0);
  EXPECT_EQ(again.lfWeight, FW_BOLD);  // a zero value leaves the field as it was
  // A face name is cut so that it stays terminated.
  EXPECT_EQ(std::wstring(reader.GetFonts().at(951).lfFaceName), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
}

TEST(FontTemplate, AttributesWidenWithTheAnsiPageAndContentWithUtf8) {
  CXFontTemplate reader;
  // U+5B8B U+4F53 as content, U+00E9 in an attribute, both as UTF-8 bytes in the file.
  auto bytes = Bytes(
      "<f><color id='960' RGB='1,2,3' class='\xC3\xA9'/>"
      "<font id='960'><fontname>\xE5\xAE\x8B\xE4\xBD\x93</fontname></font></f>");
  ASSERT_EQ(reader.LoadFromBuffer(bytes, &CXFontTemplate::Callback), 1);
  EXPECT_EQ(CXColorTable::Instance().GetClass(960).Str(), XWiden("\xC3\xA9", -1, CP_ACP));
  EXPECT_EQ(std::wstring(reader.GetFonts().at(960).lfFaceName), L"\x5B8B\x4F53");
  EXPECT_EQ(XSkinWidenUtf8("\xC3\xA9"), L"\xE9");
  EXPECT_EQ(XSkinWidenAnsi("\xC3\xA9").Str(), XWiden("\xC3\xA9", -1, CP_ACP));
}

TEST(FontTable, AddKeepsTheFirstEntryForAnId) {
  CXFontTable& fonts = CXFontTable::Instance();
  LOGFONTW lf = FontOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  EXPECT_EQ(fonts.Add(970, lf, RGB(1, 2, 3)), 0);
  HFONT first = fonts.Get(970).hFont;
  EXPECT_EQ(fonts.Add(970, lf, RGB(9, 9, 9)), -1);
  EXPECT_EQ(fonts.Get(970).hFont, first);
  EXPECT_EQ(fonts.Get(970).color, RGB(1, 2, 3));
  EXPECT_EQ(fonts.Add(0, lf, RGB(9, 9, 9)), -1);
  EXPECT_TRUE(CXFontTable::IsFamilyInstalled(L"tahoma"));
  EXPECT_FALSE(CXFontTable::IsFamilyInstalled(L"No Such Face At All"));
}

TEST(SkinText, NumbersListsRectanglesAndColours) {
  EXPECT_EQ(XSkinParseInt(L"  -12abc"), -12);
  EXPECT_EQ(XSkinParseInt(L"+7"), 7);
  EXPECT_EQ(XSkinParseInt(L"x1"), 0);
  EXPECT_EQ(XSkinParseInt(L""), 0);
  EXPECT_EQ(XSkinParseInt(nullptr), 0);
  EXPECT_EQ(XSkinParseInt(L"99999999999"), 2147483647);
  EXPECT_EQ(XSkinParseInt(L"-99999999999"), -2147483647 - 1);
  CRect r;
  EXPECT_TRUE(XSkinParseRect(L"10,20,30,40", r));
  EXPECT_EQ(r, CRect(10, 20, 40, 60));
  EXPECT_FALSE(XSkinParseRect(L"10,20,30", r));
  EXPECT_EQ(r, CRect(0, 0, 0, 0));
  EXPECT_TRUE(XSkinParseRect(L" 1, 2 ,3,4", r));
  EXPECT_EQ(r, CRect(1, 2, 4, 6));
  EXPECT_FALSE(XSkinParseRect(L"1,2,3,4,5", r));
  // A right or bottom edge past the 32-bit range wraps (it was undefined behaviour).
  EXPECT_TRUE(XSkinParseRect(L"2147483647,-5,1,-2147483648", r));
  EXPECT_EQ(r, CRect(2147483647, -5, -2147483647 - 1, 2147483643));
  EXPECT_EQ(XSkinParseMargin(L"1,2,3,4"), CRect(1, 2, 3, 4));
  EXPECT_EQ(XSkinParseMargin(L"1,2,3"), CRect());
  EXPECT_EQ(XSkinParseRgb(L"255,0,0"), 0x0000FFu);
  EXPECT_EQ(XSkinParseRgb(L"rgb(255,0,0)"), 0x0000FFu);
  EXPECT_EQ(XSkinParseRgb(L"RGB(255, 0, 0)"), 0x0000FFu);
  EXPECT_EQ(XSkinParseRgb(L"255,0"), 0u);
  EXPECT_EQ(XSkinParseIntList(L"1,,3").size(), 3u);
}

}  // namespace
