// The program's texts and the hotkey's forms: the language rule, both string tables as the
// program's resources hold them, and the conversions between stored, control and registered
// hotkeys with their names.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "AppText.h"
#include "GlobalHotKey.h"
#include "HotKeyChoice.h"
#include "XUiLanguage.h"

namespace {

TEST(Language, ChineseUiLanguagesGetTheChineseTextsAllOthersEnglish) {
  EXPECT_EQ(XLanguageOf(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)), XLANG_CHINESE);
  EXPECT_EQ(XLanguageOf(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)), XLANG_CHINESE);
  EXPECT_EQ(XLanguageOf(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), XLANG_ENGLISH);
  EXPECT_EQ(XLanguageOf(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), XLANG_ENGLISH);
  EXPECT_EQ(XLanguageOf(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)), XLANG_ENGLISH);
  EXPECT_STREQ(XLanguageTag(XLANG_CHINESE), L"zh");
}

TEST(Language, EachTableHoldsItsTextsAndEnglishIsTheFallback) {
  EXPECT_EQ(AppText(IDS_TRAY_OPEN, XLANG_CHINESE), L"\u6253\u5f00Pinvale");
  EXPECT_EQ(AppText(IDS_TRAY_EXIT, XLANG_CHINESE), L"\u9000\u51fa");
  EXPECT_EQ(AppText(IDS_PICKER_TITLE, XLANG_CHINESE), L"\u9009\u62e9\u8def\u5f84");
  EXPECT_EQ(AppText(IDS_TRAY_OPEN, XLANG_ENGLISH), L"Open Pinvale");
  EXPECT_EQ(AppText(IDS_TRAY_EXIT, XLANG_ENGLISH), L"Exit");
  EXPECT_EQ(AppText(IDS_PICKER_TITLE, XLANG_ENGLISH), L"Choose a folder to add");
  // Every text of the English table has its Chinese counterpart.
  for (UINT id = IDS_TRAY_OPEN; id <= IDS_UNDO_REMOVED; ++id) {
    EXPECT_FALSE(AppText(id, XLANG_ENGLISH).empty()) << id;
    EXPECT_FALSE(AppText(id, XLANG_CHINESE).empty()) << id;
  }
  EXPECT_NE(AppText(IDS_HOTKEY_TAKEN, XLANG_ENGLISH).find(L"%s"), std::wstring::npos);
  EXPECT_NE(AppText(IDS_HOTKEY_TAKEN, XLANG_CHINESE).find(L"%s"), std::wstring::npos);
  EXPECT_NE(AppText(IDS_UNDO_REMOVED, XLANG_ENGLISH).find(L"%s"), std::wstring::npos);
  EXPECT_NE(AppText(IDS_UNDO_REMOVED, XLANG_CHINESE).find(L"%s"), std::wstring::npos);
  // Ids without a string, in a block that exists and in one that does not.
  EXPECT_TRUE(AppText(IDS_UNDO_REMOVED + 1, XLANG_CHINESE).empty());
  EXPECT_TRUE(AppText(4000, XLANG_ENGLISH).empty());
  // The user's language picks one of the two tables.
  EXPECT_EQ(AppText(IDS_TRAY_EXIT), AppText(IDS_TRAY_EXIT, XUserLanguage()));
}

TEST(HotKeyChoice, StoredControlAndRegisteredForms) {
  const HOTKEY_CHOICE def = HOTKEY_CHOICE::Default();
  EXPECT_EQ(def.modifiers, static_cast<UINT>(MOD_CONTROL | MOD_ALT));
  EXPECT_EQ(def.key, 0u);
  EXPECT_EQ(def.ToStored(), 0x00030000u);
  EXPECT_EQ(def.RegistrationModifiers(), static_cast<UINT>(MOD_CONTROL | MOD_ALT));  // exactly as it is
  EXPECT_TRUE(def.SharesAltGr());

  const HOTKEY_CHOICE ctrlShiftK{MOD_CONTROL | MOD_SHIFT, 'K'};
  EXPECT_EQ(HOTKEY_CHOICE::FromStored(ctrlShiftK.ToStored()), ctrlShiftK);
  EXPECT_EQ(ctrlShiftK.ToControl(), MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
  EXPECT_EQ(HOTKEY_CHOICE::FromControl(MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT)), ctrlShiftK);
  EXPECT_EQ(ctrlShiftK.RegistrationModifiers(), static_cast<UINT>(MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT));
  EXPECT_FALSE(ctrlShiftK.SharesAltGr());
  // Alt and Shift trade places between the two encodings; Win is the control's extended flag.
  const HOTKEY_CHOICE altWinF9{MOD_ALT | MOD_WIN, VK_F9};
  EXPECT_EQ(altWinF9.ToControl(), MAKEWORD(VK_F9, HOTKEYF_ALT | HOTKEYF_EXT));
  EXPECT_EQ(HOTKEY_CHOICE::FromControl(altWinF9.ToControl()), altWinF9);
  EXPECT_TRUE((HOTKEY_CHOICE{MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'Q'}).SharesAltGr());
  // Bits that are no modifier and keys beyond a byte are not kept.
  EXPECT_EQ(HOTKEY_CHOICE::FromStored(0x40F30141u), (HOTKEY_CHOICE{MOD_ALT | MOD_CONTROL, 0x41}));
  EXPECT_TRUE(HOTKEY_CHOICE::FromStored(0).IsNone());
  EXPECT_TRUE(HOTKEY_CHOICE::FromControl(0).IsNone());
}

TEST(HotKeyChoice, NamesInTheUsersWords) {
  const std::wstring names[4] = {L"Ctrl", L"Alt", L"Shift", L"Win"};
  EXPECT_EQ(HotKeyText(HOTKEY_CHOICE::Default(), names, L"None"), L"Ctrl+Alt");
  EXPECT_EQ(HotKeyText(HOTKEY_CHOICE{}, names, L"None"), L"None");
  EXPECT_EQ(HotKeyText(HOTKEY_CHOICE{MOD_SHIFT | MOD_CONTROL, 'K'}, names, L"None"), L"Ctrl+Shift+K");
  std::wstring f5 = HotKeyText(HOTKEY_CHOICE{MOD_WIN | MOD_ALT, VK_F5}, names, L"None");
  EXPECT_EQ(f5, L"Alt+Win+F5");
}

}  // namespace

namespace {

// The held hotkey is never reported as taken by itself; one another window holds is.
TEST(GlobalHotKey, RegistersTheChoiceAndTellsWhatCannotBeHad) {
  HWND ours = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HWND other = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(ours && other);
  const HOTKEY_CHOICE mine{MOD_CONTROL | MOD_SHIFT, 'J'}, taken{MOD_CONTROL | MOD_SHIFT, 'U'};
  ASSERT_TRUE(RegisterHotKey(other, 9, taken.modifiers, taken.key));
  {
    CGlobalHotKey hotKey;
    EXPECT_TRUE(hotKey.Register(ours, mine));
    EXPECT_TRUE(hotKey.IsHeld());
    EXPECT_FALSE(RegisterHotKey(other, 10, mine.modifiers, mine.key));  // it is ours now
    EXPECT_TRUE(hotKey.CanRegister(mine));
    EXPECT_FALSE(hotKey.CanRegister(taken));
    EXPECT_TRUE(hotKey.CanRegister(HOTKEY_CHOICE{}));
    EXPECT_TRUE(hotKey.CanRegister(HOTKEY_CHOICE{MOD_ALT | MOD_SHIFT, VK_F11}));
    EXPECT_TRUE(RegisterHotKey(other, 11, MOD_ALT | MOD_SHIFT, VK_F11));  // the trial gave it back
    UnregisterHotKey(other, 11);

    EXPECT_FALSE(hotKey.Register(ours, taken));  // the old one is given up, the new one refused
    EXPECT_FALSE(hotKey.IsHeld());
    EXPECT_TRUE(RegisterHotKey(other, 10, mine.modifiers, mine.key));
    UnregisterHotKey(other, 10);
    EXPECT_FALSE(hotKey.Register(ours, HOTKEY_CHOICE{}));  // no hotkey: nothing held
    EXPECT_TRUE(hotKey.Register(ours, mine));
  }
  UnregisterHotKey(ours, 1);  // Unregister is explicit, as on the main window's destruction
  UnregisterHotKey(other, 9);
  DestroyWindow(ours);
  DestroyWindow(other);
}

}  // namespace
