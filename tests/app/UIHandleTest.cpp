// CUIHandle driven by notifications as the framework sends them, with a real list control and
// the real favourites database (APPDATA in a throwaway folder): adding by drop and copy-data,
// opening and counting, opening the folder, deleting, and the settings dialog's check boxes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlMgr.h"
#include "FavoriteStore.h"
#include "ModuleLoader.h"
#include "ProgramSeam.h"
#include "Settings.h"
#include "ShellItem.h"
#include "TestUtil.h"
#include "UIHandle.h"
#include "XBaseUI.h"
#include "XAppTemplate.h"
#include "XList.h"
#include "XSkinConfig.h"
#include "XSkinRegistry.h"
#include "XSkinStrings.h"
#include "XUIMgr.h"
#include "XWindow.h"

namespace {

std::vector<std::wstring> g_shellStarts;
std::vector<std::wstring> g_registrations;
// Boxes, registrations and the folder and key-table starts (ShellExecuteW) are stood in for
// and recorded; an item's own start (ShellExecuteExW) really runs, seen through recordargs.
bool RecordCall(const XPROGRAM_CALL& call) {
  if (lstrcmpW(call.api, L"MessageBoxW") == 0) return true;
  if (lstrcmpW(call.api, L"ShellExecuteW") != 0) return false;
  if (lstrcmpW(call.verb, L"runas") == 0) g_registrations.push_back(call.parameters);
  else g_shellStarts.push_back(call.file);
  return true;
}

class AppDataEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    m_dir.reset(new xtest::TempDir);
    SetEnvironmentVariableW(L"APPDATA", m_dir->Path().c_str());
    SetProgramCallSink(RecordCall);
    CUIHandle::Instance().Store().StartupLoad(false, CString());
  }
  void TearDown() override {
    CUIHandle::Instance().Store().CloseDatabase();
    m_dir.reset();
  }

 private:
  std::unique_ptr<xtest::TempDir> m_dir;
};
::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new AppDataEnvironment);

NOTIFY_EVENT Notification(UINT code, WPARAM wParam = 0, LPARAM lParam = 0, const wchar_t* name = L"") {
  NOTIFY_EVENT e = {};
  e.event.uMsg = code;
  e.event.wParam = wParam;
  e.event.lParam = lParam;
  lstrcpynW(e.szName, name, 32);
  return e;
}

// The count column of a row, or -1 when the row is gone.
int OpenCount(int id) {
  CFavoriteStore probe;
  probe.Connect();
  probe.Load(false);
  for (int i = 0; i < probe.Count(); ++i)
    if (probe.At(i)->id == id) return probe.At(i)->count;
  return -1;
}

// A list as the skin makes it (one column, rows that can be hit and selected), announced to
// the handler, and a window object standing for the main window.
class Handler : public ::testing::Test {
 protected:
  void SetUp() override {
    g_shellStarts.clear();
    g_registrations.clear();
    list.SetID(L"list");
    list.InsertColumn(300, L"path");
    list.SetListStyle(CXList::LIST_HITTEST | CXList::LIST_SELECT);
    list.XUI_SetRect(CRect(0, 0, 300, 400));
    main.XUI_SetID(L"main");
    NOTIFY_EVENT created = Notification(WM_CREATE);
    ASSERT_EQ(handle.OnNotify(&list, &created), 1);
    ASSERT_EQ(handle.GetList(), &list);
  }
  void Drop(const std::vector<wchar_t>& buffer, size_t length) {
    NOTIFY_EVENT e = Notification(0, length, reinterpret_cast<LPARAM>(buffer.data()), L"DropFiles");
    handle.OnNotify(&main, &e);
  }
  LRESULT ListEvent(UINT code, int x, int y) {
    NOTIFY_EVENT e = Notification(code, 0, MAKELPARAM(x, y));
    return handle.OnNotify(&list, &e);
  }
  int RowId(int row) { return static_cast<int>(list.GetItemData(row)); }

  CUIHandle& handle = CUIHandle::Instance();
  CXList list;
  CXWindow main;
  xtest::TempDir files;
};

std::vector<wchar_t> Joined(const std::vector<std::wstring>& paths) {
  std::vector<wchar_t> out;
  for (const std::wstring& p : paths) {
    out.insert(out.end(), p.begin(), p.end());
    out.push_back(0);
  }
  out.push_back(0);
  return out;
}

TEST_F(Handler, DroppedFilesBecomeRowsInOrderWithTheirOwnIds) {
  std::vector<wchar_t> buffer = Joined({files / L"a.txt", files / L"bc.txt", files / L"d.txt", files / L"a.txt"});
  Drop(buffer, buffer.size());
  ASSERT_EQ(list.GetRowCount(), 4);
  EXPECT_EQ(CString(list.GetItem(0, 0)->text), CString((files / L"a.txt").c_str()));
  EXPECT_EQ(CString(list.GetItem(2, 0)->text), CString((files / L"d.txt").c_str()));
  EXPECT_EQ(CString(list.GetItem(3, 0)->text), CString((files / L"a.txt").c_str()));  // twice is twice
  for (int i = 1; i < 4; ++i) EXPECT_EQ(RowId(i), RowId(i - 1) + 1);
  EXPECT_EQ(OpenCount(RowId(3)), 0);
}

TEST_F(Handler, DropReadsNoFurtherThanItsLength) {
  std::vector<wchar_t> buffer = Joined({L"C:\\one", L"C:\\two"});
  Drop(buffer, 7);  // "C:\one" and its NUL only
  ASSERT_EQ(list.GetRowCount(), 1);
  EXPECT_EQ(CString(list.GetItem(0, 0)->text), CString(L"C:\\one"));
}

TEST_F(Handler, DoubleClickOpensAnExistingItemAndCountsIt) {
  std::wstring target = files / L"tool.exe";
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), target.c_str(), FALSE));
  std::wstring record = files / L"record.log";
  SetEnvironmentVariableW(L"PINVALE_RECORD", record.c_str());
  std::vector<wchar_t> buffer = Joined({target, files / L"gone.txt"});
  Drop(buffer, buffer.size());
  ASSERT_EQ(list.GetRowCount(), 2);

  EXPECT_EQ(ListEvent(WM_LBUTTONDBLCLK, 10, 5), 1);
  EXPECT_TRUE(xtest::WaitFor([&] { return !xtest::ReadRecordedLines(record).empty(); }, 10000));
  EXPECT_EQ(OpenCount(RowId(0)), 1);
  EXPECT_EQ(ListEvent(WM_LBUTTONDBLCLK, 10, 25), 0);   // its target is gone: nothing
  EXPECT_EQ(OpenCount(RowId(1)), 0);
  EXPECT_EQ(ListEvent(WM_LBUTTONDBLCLK, 10, 300), 0);  // below the last row
  SetEnvironmentVariableW(L"PINVALE_RECORD", nullptr);
}

TEST_F(Handler, RightClickOpensTheFolderOfAFileOrTheFolderItself) {
  std::wstring folder = files / L"Photos.2024";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::vector<wchar_t> buffer = Joined({files / L"notes.txt", folder});
  Drop(buffer, buffer.size());
  EXPECT_EQ(ListEvent(XWM_RBUTTONCLICK, 10, 5), 1);
  EXPECT_EQ(ListEvent(XWM_RBUTTONCLICK, 10, 25), 1);
  EXPECT_EQ(ListEvent(XWM_RBUTTONCLICK, 10, 300), 0);
  ASSERT_EQ(g_shellStarts.size(), 2u);
  EXPECT_EQ(g_shellStarts[0], files.Path());  // existence is not asked for
  EXPECT_EQ(g_shellStarts[1], folder);
  EXPECT_EQ(OpenCount(RowId(0)), 1);
  EXPECT_EQ(OpenCount(RowId(1)), 1);
}

// A row holds a path of up to 259 characters; a longer one is shown cut, and the cut text can
// name another item (here an existing file). Neither it nor its folder is opened or counted.
TEST_F(Handler, ARowCutFromALongerPathIsNeverOpened) {
  std::wstring other = files.Path() + L"\\";
  other += std::wstring(259 - other.size(), L'n');
  ASSERT_TRUE(xtest::WriteBytes(other, "x"));
  std::vector<wchar_t> buffer = Joined({other + L".txt", files / (std::wstring(300, L'f') + L"\\notes.txt")});
  Drop(buffer, buffer.size());
  ListEvent(WM_LBUTTONDBLCLK, 10, 5);
  ListEvent(XWM_RBUTTONCLICK, 10, 5);
  ListEvent(XWM_RBUTTONCLICK, 10, 25);
  EXPECT_TRUE(g_shellStarts.empty());
  EXPECT_EQ(OpenCount(RowId(0)), 0);
  EXPECT_EQ(OpenCount(RowId(1)), 0);
}

TEST_F(Handler, DeleteRemovesTheSelectedRowFromListAndDatabase) {
  std::vector<wchar_t> buffer = Joined({files / L"1", files / L"2", files / L"3"});
  Drop(buffer, buffer.size());
  CXBaseUI button;
  button.SetID(L"deleteitem");
  NOTIFY_EVENT click = Notification(XWM_LBUTTONCLICK);
  handle.OnNotify(&button, &click);  // nothing selected: nothing deleted
  ASSERT_EQ(list.GetRowCount(), 3);

  int id = RowId(1);
  list.GetRow(1)->state = CXList::ROW_SELECTED;
  handle.OnNotify(&button, &click);
  ASSERT_EQ(list.GetRowCount(), 2);
  EXPECT_EQ(CString(list.GetItem(1, 0)->text), CString((files / L"3").c_str()));
  EXPECT_EQ(OpenCount(id), -1);
}

TEST_F(Handler, HidingTheWindowClearsSelections) {
  std::vector<wchar_t> buffer = Joined({files / L"1", files / L"2"});
  Drop(buffer, buffer.size());
  list.GetRow(0)->state = CXList::ROW_SELECTED;
  list.GetRow(1)->state = CXList::ROW_HOVER;
  NOTIFY_EVENT hidden = Notification(WM_SHOWWINDOW, 0);
  handle.OnNotify(&main, &hidden);
  EXPECT_EQ(list.GetRow(0)->state, 0);
  EXPECT_EQ(list.GetRow(1)->state, CXList::ROW_HOVER);
}

TEST_F(Handler, CopyDataReadsThePathWithinTheRecordOnly) {
  std::wstring file = files / L"sent.txt";
  ASSERT_TRUE(xtest::WriteBytes(file, "x"));
  std::wstring unterminated = file + L"IGNORED";
  COPYDATASTRUCT data = {1, static_cast<DWORD>(file.size() * sizeof(wchar_t)), &unterminated[0]};
  NOTIFY_EVENT e = Notification(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  handle.OnNotify(&main, &e);
  ASSERT_EQ(list.GetRowCount(), 1);
  EXPECT_EQ(CString(list.GetItem(0, 0)->text), CString(file.c_str()));

  std::wstring missing = files / L"missing.txt";
  COPYDATASTRUCT none = {1, static_cast<DWORD>((missing.size() + 1) * sizeof(wchar_t)), &missing[0]};
  NOTIFY_EVENT e2 = Notification(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&none));
  handle.OnNotify(&main, &e2);
  COPYDATASTRUCT empty = {1, 520, nullptr};
  NOTIFY_EVENT e3 = Notification(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty));
  handle.OnNotify(&main, &e3);
  EXPECT_EQ(list.GetRowCount(), 1);
}

TEST_F(Handler, APickedFolderIsStoredWithoutItsTrailingBackslash) {
  std::wstring folder = files / L"Picked";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  handle.AddPickedFolder(CString((folder + L"\\").c_str()));
  handle.AddPickedFolder(L"C:\\");                                  // a drive root keeps its own
  handle.AddPickedFolder(CString((files / L"gone\\").c_str()));    // missing: nothing
  ASSERT_EQ(list.GetRowCount(), 2);
  EXPECT_EQ(CString(list.GetItem(0, 0)->text), CString(folder.c_str()));
  EXPECT_EQ(CString(list.GetItem(1, 0)->text), CString(L"C:\\"));
  CFavoriteStore probe;
  probe.Connect();
  probe.Load(false);
  int found = 0;
  for (int i = 0; i < probe.Count(); ++i) {
    if (probe.At(i)->id == RowId(0)) {
      EXPECT_EQ(CString(probe.At(i)->path), CString(folder.c_str()));
      ++found;
    }
  }
  EXPECT_EQ(found, 1);
}

// The dialog's check boxes, as direct children of a dialog object.
struct SettingsDialog {
  CXWindow dialog;
  SettingsDialog() {
    dialog.XUI_SetID(L"setting.dlg");
    for (const wchar_t* id : {L"autorun", L"autohide", L"rightlink", L"autosort", L"hidetoolbar"}) {
      CXBaseUI* box = new CXBaseUI;
      box->SetID(id);
      dialog.XUI_AddChild(box);
    }
  }
  CXBaseUI* Box(const wchar_t* id) { return dialog.XUI_GetControlMgr()->FindUI(id); }
};

class SettingsDialogTest : public Handler {
 protected:
  void SetUp() override {
    Handler::SetUp();
    RegDeleteTreeW(HKEY_CURRENT_USER, CSettings::KeyPath());
    RegDeleteKeyW(HKEY_CURRENT_USER, CSettings::KeyPath());
    CSettings defaults;
    handle.Settings().SetAutoRun(0);
  }
  void TearDown() override { handle.Settings().SetAutoRun(0); }
};

TEST_F(SettingsDialogTest, CreationFillsTheBoxesAndWritesRightMenuOnce) {
  SettingsDialog d;
  handle.Settings().SetAutoSort(3);
  NOTIFY_EVENT created = Notification(WM_CREATE);
  handle.OnNotify(&d.dialog, &created);
  EXPECT_EQ(d.Box(L"autohide")->GetCheck(), 1);
  EXPECT_EQ(d.Box(L"autorun")->GetCheck(), 0);
  EXPECT_EQ(d.Box(L"rightlink")->GetCheck(), 1);  // unreadable: 1, and now written
  EXPECT_EQ(d.Box(L"autosort")->GetCheck(), 1);
  EXPECT_EQ(d.Box(L"hidetoolbar")->GetCheck(), 0);
  EXPECT_EQ(handle.Settings().GetRightMenu(), 1);
  EXPECT_TRUE(g_registrations.empty());
}

TEST_F(SettingsDialogTest, ConfirmWritesOnlyWhatChanged) {
  SettingsDialog d;
  NOTIFY_EVENT created = Notification(WM_CREATE);
  handle.OnNotify(&d.dialog, &created);
  handle.ApplySettingsDialog(&d.dialog);  // confirmed without changes
  EXPECT_TRUE(g_registrations.empty());
  EXPECT_EQ(handle.Settings().GetAutoRun(), 0);

  d.Box(L"autorun")->SetCheck(1);
  d.Box(L"rightlink")->SetCheck(0);
  d.Box(L"autohide")->SetCheck(0);
  handle.ApplySettingsDialog(&d.dialog);
  EXPECT_EQ(handle.Settings().GetAutoRun(), 1);
  EXPECT_EQ(handle.Settings().GetAutoHide(), 0);
  EXPECT_EQ(handle.Settings().GetRightMenu(), 0);
  ASSERT_EQ(g_registrations.size(), 1u);
  EXPECT_EQ(g_registrations[0].rfind(L"/s /u \"", 0), 0u);

  handle.Settings().SetAutoHide(1);  // changed elsewhere meanwhile: compared with the stored value
  handle.ApplySettingsDialog(&d.dialog);
  EXPECT_EQ(handle.Settings().GetAutoHide(), 0);
  EXPECT_EQ(g_registrations.size(), 1u);
}

// Plays the user of the skin's settings dialog while it runs modally: once it is shown, the
// states of its boxes are read and it is confirmed (command 5).
std::vector<int> g_boxesSeen;
void CALLBACK ConfirmSettingsDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND shown = FindWindowW(nullptr, L"Pinvale Settings");
  IXUIObject* dialog = CXSkinRegistry::Instance().GetCreated(L"Setting.dlg");
  if (!shown || !IsWindowVisible(shown) || !dialog) return;
  KillTimer(nullptr, timer);
  for (const wchar_t* id : {L"autorun", L"autohide", L"rightlink", L"autosort", L"hidetoolbar"}) {
    CXBaseUI* box = dialog->XUI_GetControlMgr()->FindUI(id);
    g_boxesSeen.push_back(box ? box->GetCheck() : -1);
  }
  PostMessageW(shown, WM_COMMAND, 5, 0);
}

TEST_F(SettingsDialogTest, TheSkinsDialogIsFilledConfirmedAndForgottenOnceClosed) {
  ASSERT_EQ(CXSkinConfig::LoadChosenSkin(), 1);
  CXAppTemplate start;
  ASSERT_EQ(start.ReadFromPackage(L"oninit.x"), 1);
  CXSkinStrings::Instance().LoadForLanguage(XLANG_ENGLISH);
  CXUIMgr::GetInstance().SetNotifyCallback(&handle);
  g_boxesSeen.clear();
  SetTimer(nullptr, 0, 50, ConfirmSettingsDialog);
  handle.RunSettingsDialog();
  CXUIMgr::GetInstance().SetNotifyCallback(nullptr);
  EXPECT_EQ(g_boxesSeen, (std::vector<int>{0, 1, 1, 0, 0}));
  EXPECT_TRUE(g_registrations.empty());  // confirmed unchanged: nothing started
  // The skin's table of built objects no longer names the destroyed dialog.
  EXPECT_EQ(CXSkinRegistry::Instance().GetCreated(L"Setting.dlg"), nullptr);
}

}  // namespace
