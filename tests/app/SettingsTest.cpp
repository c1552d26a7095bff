// CSettings on the real registry and Startup folder of the test prefix, and the toolbar rule
// on real framework objects. Every test starts without the program's key and shortcut.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "ControlMgr.h"
#include "ProgramSeam.h"
#include "Settings.h"
#include "ShellItem.h"
#include "TestUtil.h"
#include "XBaseUI.h"
#include "XRelayOut.h"
#include "XWindow.h"

namespace {

struct Start {
  std::wstring verb, file, parameters;
};
std::vector<Start> g_starts;
bool RecordStart(const XPROGRAM_CALL& call) {
  g_starts.push_back({call.verb, call.file, call.parameters});
  return true;
}

// The raw value, or -1 when it is missing or not a DWORD.
long long RawValue(const wchar_t* name) {
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, CSettings::KeyPath(), name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return -1;
  return value;
}

void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, CSettings::KeyPath(), name, type, data, size), ERROR_SUCCESS);
}

void SetRawDword(const wchar_t* name, DWORD value) { SetRaw(name, REG_DWORD, &value, sizeof value); }

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); SetProgramCallSink(RecordStart); g_starts.clear(); }
  void TearDown() override { SetProgramCallSink(nullptr); Clean(); }
  static void Clean() {
    RegDeleteTreeW(HKEY_CURRENT_USER, CSettings::KeyPath());
    RegDeleteKeyW(HKEY_CURRENT_USER, CSettings::KeyPath());
    if (!CSettings::StartupShortcutPath().IsEmpty()) DeleteFileW(CSettings::StartupShortcutPath());
  }
};

TEST_F(Settings, ConstructionWritesOnlyMissingDefaults) {
  { CSettings s; }
  EXPECT_EQ(RawValue(L"AutoHide"), 1);
  EXPECT_EQ(RawValue(L"AutoSort"), 0);
  EXPECT_EQ(RawValue(L"HideToolbar"), 0);
  EXPECT_EQ(RawValue(L"rightmenu"), -1);  // written by the dialog's first reading only

  SetRawDword(L"AutoHide", 0);
  SetRawDword(L"HideToolbar", 5);
  { CSettings s; }
  EXPECT_EQ(RawValue(L"AutoHide"), 0);
  EXPECT_EQ(RawValue(L"HideToolbar"), 5);
}

TEST_F(Settings, ReadRules) {
  CSettings s;
  EXPECT_EQ(s.GetAutoHide(), 1);
  EXPECT_EQ(s.GetAutoSort(), 0);
  EXPECT_EQ(s.GetHideToolbar(), 0);
  s.SetAutoSort(7);
  EXPECT_EQ(s.GetAutoSort(), 7);  // the stored value itself
  s.SetAutoHide(0);
  EXPECT_EQ(RawValue(L"AutoHide"), 0);

  // Unreadable values read as 1 without being written...
  RegDeleteKeyValueW(HKEY_CURRENT_USER, CSettings::KeyPath(), L"AutoSort");
  SetRaw(L"HideToolbar", REG_SZ, L"0", 4);
  EXPECT_EQ(s.GetAutoSort(), 1);
  EXPECT_EQ(s.GetHideToolbar(), 1);
  EXPECT_EQ(RawValue(L"AutoSort"), -1);
  // ...except "rightmenu", which is then written as 1.
  EXPECT_EQ(s.GetRightMenu(), 1);
  EXPECT_EQ(RawValue(L"rightmenu"), 1);
}

TEST_F(Settings, AutoRunIsTheStartupShortcutToTheProgram) {
  CSettings s;
  ASSERT_FALSE(CSettings::StartupShortcutPath().IsEmpty());
  EXPECT_EQ(s.GetAutoRun(), 0);
  s.SetAutoRun(1);
  EXPECT_EQ(s.GetAutoRun(), 1);
  CString target;
  ASSERT_EQ(ResolveShortcut(CSettings::StartupShortcutPath(), target), 1);
  EXPECT_EQ(target.CompareNoCase(ProgramPath()), 0) << xtest::Narrow(target.Str());
  s.SetAutoRun(0);
  EXPECT_EQ(s.GetAutoRun(), 0);
  EXPECT_FALSE(xtest::FileExists(CSettings::StartupShortcutPath().Str()));
}

TEST_F(Settings, RightMenuWritesThenRunsTheRegistrationTool) {
  CSettings s;
  std::wstring hollin = L"\"" + xtest::TestBinFolder() + L"\\Hollin.dll\"";
  EXPECT_EQ(s.SetRightMenu(0), 1);
  EXPECT_EQ(RawValue(L"rightmenu"), 0);
  EXPECT_EQ(s.SetRightMenu(1), 1);
  EXPECT_EQ(RawValue(L"rightmenu"), 1);
  ASSERT_EQ(g_starts.size(), 2u);
  EXPECT_EQ(g_starts[0].verb, L"runas");
  EXPECT_EQ(g_starts[0].file, L"regsvr32");
  EXPECT_EQ(g_starts[0].parameters, L"/s /u " + hollin);
  EXPECT_EQ(g_starts[1].parameters, L"/s " + hollin);
}

// A window object (no native window) with a toolbar and a list container as the skin has them.
struct ToolbarWindow {
  CXWindow window;
  CXBaseUI* toolbar = new CXBaseUI;
  CXBaseUI* container = new CXBaseUI;
  explicit ToolbarWindow(bool withContainer = true) {
    toolbar->SetID(L"6000");
    toolbar->XUI_SetRect(CRect(0, 52, 320, 96));
    window.XUI_AddChild(toolbar);
    toolbar->XUI_SetParent(&window);
    container->SetID(L"list.container");
    container->XUI_SetRect(CRect(0, 97, 320, 480));
    container->GetRelayoutPtr()->SetMargin(CRect(0, 97, 0, 0));
    if (withContainer) {
      window.XUI_AddChild(container);
      container->XUI_SetParent(&window);
    }
  }
  ~ToolbarWindow() {
    if (window.XUI_GetControlMgr()->GetCount() < 2) XDestroyUIObject(container);
  }
};

TEST(ToolbarVisibility, HidingMovesTheListUpAndShowingMovesItBack) {
  ToolbarWindow w;
  w.container->NeedRelayout(0);
  ApplyToolbarVisibility(1, &w.window, true);
  EXPECT_FALSE(w.toolbar->XUI_IsVisible());
  CXRelayOut* rule = w.container->GetRelayoutPtr();
  EXPECT_EQ(rule->GetMargin().top, 52 + 20);
  EXPECT_EQ(rule->IsEnable(), 1);
  EXPECT_TRUE(w.container->IsNeedRelayout());
  w.container->Relayout();
  EXPECT_EQ(w.container->XUI_GetRect().top, 72);

  ApplyToolbarVisibility(0, &w.window, true);
  EXPECT_TRUE(w.toolbar->XUI_IsVisible());
  EXPECT_EQ(rule->GetMargin().top, 96 + 1);
  EXPECT_EQ(rule->GetMargin().left, 0);
}

TEST(ToolbarVisibility, NothingWithoutTheContainer) {
  ToolbarWindow w(false);
  ApplyToolbarVisibility(1, &w.window, true);
  EXPECT_TRUE(w.toolbar->XUI_IsVisible());
  ApplyToolbarVisibility(1, nullptr, false);  // no window at all
}

}  // namespace
