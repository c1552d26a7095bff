// The context-menu handler through Hollin.dll's class factory: object counts, menu items and
// help texts, Initialize with real shell and clipboard data objects, and both commands,
// observed in other processes: copydatasink.exe (the running program's window) and
// recordargs.exe copies named by "installpath" (a fresh start of the program).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "HollinLib.h"
#include "MenuBitmap.h"
#include "ProgramLink.h"
#include "RegProbe.h"
#include "TestUtil.h"

namespace {

const wchar_t kOpenText[] = L"\x6253\x5F00 Pinvale";
const wchar_t kAddText[] = L"\x6DFB\x52A0\x5230 Pinvale";
const wchar_t kHelp[] = L"This is the simple shell extension's help";
const wchar_t kProgramKey[] = L"Software\\Tarquon\\Pinvale";

struct COPY_RECORD {
  uint64_t tag = 0;
  uint64_t sender = 0;
  std::string data;
};

std::vector<COPY_RECORD> ReadCopyRecords(const std::wstring& file) {
  std::string bytes = xtest::ReadBytes(file);
  std::vector<COPY_RECORD> out;
  size_t at = 0;
  while (at + 20 <= bytes.size()) {
    COPY_RECORD r;
    uint32_t len = 0;
    memcpy(&r.tag, bytes.data() + at, 8);
    memcpy(&r.sender, bytes.data() + at + 8, 8);
    memcpy(&len, bytes.data() + at + 16, 4);
    at += 20;
    if (at + len > bytes.size()) break;
    r.data = bytes.substr(at, len);
    at += len;
    out.push_back(r);
  }
  return out;
}

// The 520 bytes the program must receive for path: UTF-16 text, NUL-padded.
std::string ExpectedRecord(const std::wstring& path) {
  std::string out(520, '\0');
  memcpy(&out[0], path.data(), path.size() * sizeof(wchar_t));
  return out;
}

std::wstring RecordText(const COPY_RECORD& r) {
  std::wstring text(r.data.size() / sizeof(wchar_t), L'\0');
  memcpy(&text[0], r.data.data(), text.size() * sizeof(wchar_t));
  return text.c_str();
}

// A CF_HDROP block holding paths (wide).
HGLOBAL MakeDrop(const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(drop + 1);
  for (const auto& p : paths) {
    memcpy(text, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
    text += p.size() + 1;
  }
  GlobalUnlock(h);
  return h;
}

// The system clipboard's data object after putting one format on the clipboard.
CXComPtr<IDataObject> ClipboardObject(UINT format, HGLOBAL data) {
  CXComPtr<IDataObject> out;
  HWND owner = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!xtest::WaitFor([&] { return OpenClipboard(owner) != FALSE; }, 5000)) {
    GlobalFree(data);
  } else {
    EmptyClipboard();
    if (!SetClipboardData(format, data)) GlobalFree(data);
    CloseClipboard();
    OleGetClipboard(out.Out());
  }
  DestroyWindow(owner);
  return out;
}

// The shell's own data object for several items of one folder, in the given order.
CXComPtr<IDataObject> ShellSelection(const std::wstring& folder, const std::vector<std::wstring>& names) {
  CXComPtr<IDataObject> out;
  CXComPtr<IShellFolder> desktop, parent;
  if (FAILED(SHGetDesktopFolder(desktop.Out()))) return out;
  PIDLIST_RELATIVE folderId = nullptr;
  std::wstring f = folder;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &f[0], nullptr, &folderId, nullptr))) return out;
  HRESULT hr = desktop->BindToObject(folderId, nullptr, IID_IShellFolder, parent.OutVoid());
  CoTaskMemFree(folderId);
  if (FAILED(hr)) return out;
  std::vector<PITEMID_CHILD> items;
  for (std::wstring name : names) {
    PIDLIST_RELATIVE id = nullptr;
    if (SUCCEEDED(parent->ParseDisplayName(nullptr, nullptr, &name[0], nullptr, &id, nullptr)))
      items.push_back(static_cast<PITEMID_CHILD>(id));
  }
  if (items.size() == names.size())
    parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), const_cast<PCUITEMID_CHILD_ARRAY>(items.data()),
                          IID_IDataObject, nullptr, out.OutVoid());
  for (auto id : items) CoTaskMemFree(id);
  return out;
}

CMINVOKECOMMANDINFO Command(UINT offset, const char* parameters = nullptr) {
  CMINVOKECOMMANDINFO info = {};
  info.cbSize = sizeof info;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.lpParameters = parameters;
  info.nShow = SW_SHOWNORMAL;
  return info;
}

class Handler : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    SetEnvironmentVariableW(L"PINVALE_RECORD", record.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    menu = lib.Create<IContextMenu>(IID_IContextMenu);
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->QueryInterface(IID_IShellExtInit, init.OutVoid()), S_OK);
  }
  void TearDown() override {
    StopSink();
    init.Reset();
    menu.Reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    SetEnvironmentVariableW(L"PINVALE_RECORD", nullptr);
    OleUninitialize();
  }

  // "installpath" pointing at a recordargs.exe copy in a folder whose name holds blanks.
  std::wstring InstallRecorder() {
    std::wstring folder = dir / L"Program Files";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring exe = folder + L"\\Pin vale.exe";
    EXPECT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), exe.c_str(), FALSE));
    EXPECT_TRUE(MakeKey(HKEY_CURRENT_USER, kProgramKey, L"installpath", exe.c_str()));
    return exe;
  }
  std::wstring WaitForStart() {
    xtest::WaitFor([&] { return !xtest::ReadRecordedLines(record).empty(); }, 15000);
    xtest::PumpFor(100);
    return xtest::ReadRecordedLines(record);
  }
  // Nothing may be started: give a wrong start time to show up.
  bool NothingStarted() {
    xtest::PumpFor(700);
    return !xtest::FileExists(record);
  }

  void StartSink() {
    std::wstring cmd = L"\"" + xtest::TestBinFolder() + L"\\copydatasink.exe\" \"" + sinkRecord + L"\"";
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    sink.Reset(pi.hProcess);
    CloseHandle(pi.hThread);
    ASSERT_TRUE(xtest::WaitFor([] { return FindWindowW(L"XDROPEASYWND", L"Pinvale") != nullptr; }, 15000));
  }
  void StopSink() {
    if (!sink.Valid()) return;
    if (HWND w = FindWindowW(L"XDROPEASYWND", L"Pinvale")) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(sink.Get(), 10000) != WAIT_OBJECT_0) TerminateProcess(sink.Get(), 1);
    sink.Reset();
  }

  HollinLib lib;
  xtest::TempDir dir;
  std::wstring record = dir / L"starts.log";
  std::wstring sinkRecord = dir / L"copydata.bin";
  CXHandle sink;
  CXComPtr<IContextMenu> menu;
  CXComPtr<IShellExtInit> init;
};

TEST(HandlerObject, FactoryCountsObjectsAndLocksAndRefusesAggregation) {
  HollinLib lib;
  ASSERT_TRUE(lib.Loaded());
  EXPECT_EQ(lib.CanUnloadNow(), S_OK);
  CXComPtr<IClassFactory> factory;
  CXComPtr<IUnknown> none;
  EXPECT_EQ(lib.GetClassObject(IID_IContextMenu, IID_IClassFactory, none.OutVoid()), CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(lib.GetClassObject(kHollinClsid, IID_IClassFactory, factory.OutVoid()), S_OK);
  EXPECT_EQ(lib.CanUnloadNow(), S_FALSE);

  CXComPtr<IUnknown> outer(lib.Create<IUnknown>(IID_IUnknown).Detach());
  ASSERT_TRUE(outer);
  CXComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IUnknown, aggregated.OutVoid()), CLASS_E_NOAGGREGATION);
  EXPECT_FALSE(aggregated);

  // One object, two interfaces, one identity.
  CXComPtr<IShellExtInit> init;
  CXComPtr<IContextMenu> menu;
  CXComPtr<IUnknown> a, b;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, init.OutVoid()), S_OK);
  ASSERT_EQ(init->QueryInterface(IID_IContextMenu, menu.OutVoid()), S_OK);
  init->QueryInterface(IID_IUnknown, a.OutVoid());
  menu->QueryInterface(IID_IUnknown, b.OutVoid());
  EXPECT_EQ(a.Get(), b.Get());
  CXComPtr<IUnknown> other;
  EXPECT_EQ(menu->QueryInterface(IID_IContextMenu2, other.OutVoid()), E_NOINTERFACE);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, other.OutVoid()), E_NOINTERFACE);

  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  init.Reset(); menu.Reset(); a.Reset(); b.Reset(); outer.Reset(); factory.Reset();
  EXPECT_EQ(lib.CanUnloadNow(), S_FALSE);  // still locked
  ASSERT_EQ(lib.GetClassObject(kHollinClsid, IID_IUnknown, factory.OutVoid()), S_OK);
  // A factory asked for through IUnknown is still a class factory.
  CXComPtr<IClassFactory> same;
  ASSERT_EQ(reinterpret_cast<IUnknown*>(factory.Get())->QueryInterface(IID_IClassFactory, same.OutVoid()), S_OK);
  EXPECT_EQ(same->LockServer(FALSE), S_OK);
  same.Reset(); factory.Reset();
  EXPECT_EQ(lib.CanUnloadNow(), S_OK);
}

TEST_F(Handler, QueryContextMenuInsertsOpenAndAddAtIndex) {
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 1, L"first");
  AppendMenuW(popup, MF_STRING, 2, L"last");
  EXPECT_EQ(menu->QueryContextMenu(popup, 1, 300, 301, CMF_DEFAULTONLY), S_OK);
  EXPECT_EQ(GetMenuItemCount(popup), 2);

  ASSERT_EQ(menu->QueryContextMenu(popup, 1, 300, 300, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 2));
  ASSERT_EQ(GetMenuItemCount(popup), 4);
  const UINT ids[] = {1, 300, 301, 2};
  const wchar_t* texts[] = {L"first", kOpenText, kAddText, L"last"};
  for (int i = 0; i < 4; ++i) {
    wchar_t text[64] = {0};
    MENUITEMINFOW mi = {sizeof mi};
    mi.fMask = MIIM_ID | MIIM_STRING | MIIM_CHECKMARKS;
    mi.dwTypeData = text;
    mi.cch = 64;
    ASSERT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &mi));
    EXPECT_EQ(mi.wID, ids[i]);
    EXPECT_STREQ(text, texts[i]);
    if (i == 1) {
      // The open item carries the menu bitmap for both states, fitted to the check-mark size.
      ASSERT_NE(mi.hbmpUnchecked, nullptr);
      EXPECT_EQ(mi.hbmpChecked, mi.hbmpUnchecked);
      BITMAP bm = {};
      ASSERT_TRUE(GetObjectW(mi.hbmpUnchecked, sizeof bm, &bm));
      EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXMENUCHECK));
      EXPECT_EQ(bm.bmHeight, GetSystemMetrics(SM_CYMENUCHECK));
    } else {
      EXPECT_EQ(mi.hbmpUnchecked, nullptr);
    }
  }
  DestroyMenu(popup);

  // The resource itself: 16 x 16 at 24 bits per pixel.
  HRSRC res = FindResourceW(lib.Module(), MAKEINTRESOURCEW(201), MAKEINTRESOURCEW(2));  // RT_BITMAP
  ASSERT_NE(res, nullptr);
  const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(lib.Module(), res)));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->biWidth, 16);
  EXPECT_EQ(info->biHeight, 16);
  EXPECT_EQ(info->biBitCount, 24);

  // Into an empty menu.
  HMENU empty = CreatePopupMenu();
  EXPECT_EQ(menu->QueryContextMenu(empty, 0, 7, 100, CMF_EXPLORE), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 2));
  EXPECT_EQ(GetMenuItemID(empty, 0), 7u);
  EXPECT_EQ(GetMenuItemID(empty, 1), 8u);
  DestroyMenu(empty);
  // A menu that is gone is reported, not counted.
  EXPECT_TRUE(FAILED(menu->QueryContextMenu(empty, 0, 7, 100, CMF_NORMAL)));
}

TEST(MenuBitmap, AreaResamplingKeepsFlatColourAndAveragesDetail) {
  // 16 x 16 of one colour stays that colour at 13 x 13 and at 16 x 16.
  std::vector<uint8_t> flat(16 * 16 * 3), out(13 * 13 * 3);
  for (size_t i = 0; i < flat.size(); i += 3) flat[i] = 10, flat[i + 1] = 128, flat[i + 2] = 250;
  ResampleArea24(flat.data(), 16, 16, out.data(), 13, 13);
  for (size_t i = 0; i < out.size(); i += 3) ASSERT_EQ(out[i] + out[i + 1] * 1000 + out[i + 2] * 1000000, 250128010);
  std::vector<uint8_t> same(flat.size());
  ResampleArea24(flat.data(), 16, 16, same.data(), 16, 16);
  EXPECT_EQ(same, flat);
  // A 2 x 2 checkerboard of black and white becomes one mid-grey pixel.
  const uint8_t board[12] = {0, 0, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0};
  uint8_t grey[3] = {1, 1, 1};
  ResampleArea24(board, 2, 2, grey, 1, 1);
  EXPECT_EQ(grey[0], 128);
  EXPECT_EQ(grey[2], 128);
}

TEST(ProgramLink, TextsStayWithinTheirBuffers) {
  std::wstring path(300, L'p');
  wchar_t params[kHollinParamChars];
  wmemset(params, L'#', kHollinParamChars);
  MakeAddParameters(path.c_str(), params);
  EXPECT_EQ(wcsnlen(params, kHollinParamChars), kHollinParamChars - 1);
  EXPECT_EQ(std::wstring(params, 6), L"/add \"");
  MakeAddParameters(L"C:\\a b", params);
  EXPECT_STREQ(params, L"/add \"C:\\a b\"");

  BYTE data[kHollinCopyDataBytes + 4];
  memset(data, 0x5A, sizeof data);
  FillCopyDataPath(path.c_str(), *reinterpret_cast<BYTE(*)[kHollinCopyDataBytes]>(data));
  EXPECT_EQ(data[516], 'p');  // 259 characters of the path, then its terminator
  EXPECT_EQ(data[518], 0);
  EXPECT_EQ(data[519], 0);
  EXPECT_EQ(data[520], 0x5A);  // nothing written past the record
}

TEST_F(Handler, GetCommandStringGivesHelpForTheOpenItemOnly) {
  wchar_t wide[64];
  wmemset(wide, L'#', 64);
  EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 64), S_OK);
  EXPECT_STREQ(wide, kHelp);
  char ansi[64];
  memset(ansi, '#', sizeof ansi);
  EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, ansi, 64), S_OK);
  EXPECT_STREQ(ansi, "This is the simple shell extension's help");

  // Cut to the buffer, terminated, nothing written past it.
  wmemset(wide, L'#', 64);
  EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 5), S_OK);
  EXPECT_STREQ(wide, L"This");
  EXPECT_EQ(wide[5], L'#');
  memset(ansi, '#', sizeof ansi);
  EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, ansi, 3), S_OK);
  EXPECT_STREQ(ansi, "Th");
  EXPECT_EQ(ansi[3], '#');

  // Verb and validation requests write nothing.
  memset(ansi, '#', sizeof ansi);
  EXPECT_EQ(menu->GetCommandString(0, GCS_VERBW, nullptr, ansi, 32), S_OK);
  EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, ansi, 32), S_OK);
  EXPECT_EQ(menu->GetCommandString(0, GCS_VALIDATEW, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(ansi[0], '#');

  EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 64), E_INVALIDARG);
  EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTA, nullptr, ansi, 64), E_INVALIDARG);
  EXPECT_EQ(menu->GetCommandString(2, GCS_HELPTEXTA, nullptr, ansi, 64), E_INVALIDARG);
}

TEST_F(Handler, InitializeKeepsOnlyTheFirstOfASelection) {
  for (const wchar_t* name : {L"first file.txt", L"second.txt", L"third.txt"})
    ASSERT_TRUE(xtest::WriteBytes(dir / name, "x"));
  CXComPtr<IDataObject> selection = ShellSelection(dir.Path(), {L"first file.txt", L"second.txt", L"third.txt"});
  ASSERT_TRUE(selection);
  ASSERT_EQ(init->Initialize(nullptr, selection.Get(), nullptr), S_OK);
  InstallRecorder();
  StartSink();
  CMINVOKECOMMANDINFO cmd = Command(1, "C:\\ignored when a path was selected");
  ASSERT_EQ(menu->InvokeCommand(&cmd), S_OK);
  std::vector<COPY_RECORD> got = ReadCopyRecords(sinkRecord);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].tag, 1u);
  EXPECT_EQ(got[0].sender, 0u);
  EXPECT_EQ(got[0].data.size(), 520u);
  EXPECT_EQ(lstrcmpiW(RecordText(got[0]).c_str(), (dir / L"first file.txt").c_str()), 0) << RecordText(got[0]).c_str();
  EXPECT_EQ(got[0].data.substr(RecordText(got[0]).size() * 2), std::string(520 - RecordText(got[0]).size() * 2, '\0'));
  EXPECT_TRUE(NothingStarted());
}

TEST_F(Handler, InitializeRefusesWhatHoldsNoUsablePath) {
  // Not a file list, an empty list, and a first path longer than the 260-character buffer.
  HGLOBAL text = GlobalAlloc(GHND, 8);
  strcpy(static_cast<char*>(GlobalLock(text)), "text");
  GlobalUnlock(text);
  CXComPtr<IDataObject> plain = ClipboardObject(CF_TEXT, text);
  ASSERT_TRUE(plain);
  EXPECT_EQ(init->Initialize(nullptr, plain.Get(), nullptr), E_INVALIDARG);

  CXComPtr<IDataObject> empty = ClipboardObject(CF_HDROP, MakeDrop({}));
  ASSERT_TRUE(empty);
  EXPECT_EQ(init->Initialize(nullptr, empty.Get(), nullptr), E_INVALIDARG);

  std::wstring longest = L"C:\\" + std::wstring(256, L'a');  // 259 characters: fits
  std::wstring tooLong = longest + L"b";
  CXComPtr<IDataObject> fits = ClipboardObject(CF_HDROP, MakeDrop({longest, L"C:\\other"}));
  ASSERT_TRUE(fits);
  EXPECT_EQ(init->Initialize(nullptr, fits.Get(), nullptr), S_OK);
  CXComPtr<IDataObject> over = ClipboardObject(CF_HDROP, MakeDrop({tooLong, L"C:\\other"}));
  ASSERT_TRUE(over);
  EXPECT_EQ(init->Initialize(nullptr, over.Get(), nullptr), E_INVALIDARG);

  // A block whose names would lie outside it is not read.
  HGLOBAL outside = MakeDrop({L"C:\\other"});
  static_cast<DROPFILES*>(GlobalLock(outside))->pFiles = 0x7FFFFFF0;
  GlobalUnlock(outside);
  CXComPtr<IDataObject> stray = ClipboardObject(CF_HDROP, outside);
  ASSERT_TRUE(stray);
  EXPECT_EQ(init->Initialize(nullptr, stray.Get(), nullptr), E_INVALIDARG);

  // The refused selection left no path behind: the parameter text is what is sent.
  StartSink();
  CMINVOKECOMMANDINFO cmd = Command(1, "C:\\from parameters");
  ASSERT_EQ(menu->InvokeCommand(&cmd), S_OK);
  std::vector<COPY_RECORD> got = ReadCopyRecords(sinkRecord);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].data, ExpectedRecord(L"C:\\from parameters"));
}

TEST_F(Handler, FolderBackgroundSendsTheParameterTextOrAnEmptyPath) {
  ASSERT_TRUE(xtest::WriteBytes(dir / L"picked.txt", "x"));
  CXComPtr<IDataObject> selection = ShellSelection(dir.Path(), {L"picked.txt"});
  ASSERT_TRUE(selection);
  ASSERT_EQ(init->Initialize(nullptr, selection.Get(), nullptr), S_OK);
  // The background of a folder window: no data object, and the earlier path is forgotten.
  PIDLIST_ABSOLUTE folder = ILCreateFromPathW(dir.Path().c_str());
  EXPECT_EQ(init->Initialize(folder, nullptr, nullptr), S_FALSE);
  ILFree(folder);
  StartSink();

  std::string ansi = "C:\\Users\\Folder with blanks";
  CMINVOKECOMMANDINFO cmd = Command(1, ansi.c_str());
  ASSERT_EQ(menu->InvokeCommand(&cmd), S_OK);
  // The wide parameters of the extended record win over the 8-bit ones.
  CMINVOKECOMMANDINFOEX ex = {};
  ex.cbSize = sizeof ex;
  ex.fMask = CMIC_MASK_UNICODE;
  ex.lpVerb = MAKEINTRESOURCEA(1);
  ex.lpVerbW = MAKEINTRESOURCEW(1);
  ex.lpParameters = "C:\\narrow";
  ex.lpParametersW = L"C:\\\x6587\x4EF6\x5939";
  ASSERT_EQ(menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&ex)), S_OK);
  // No parameters at all, and parameters too long for the path buffer: an empty path.
  cmd = Command(1);
  ASSERT_EQ(menu->InvokeCommand(&cmd), S_OK);
  std::string tooLong(300, 'x');
  cmd = Command(1, tooLong.c_str());
  ASSERT_EQ(menu->InvokeCommand(&cmd), S_OK);

  std::vector<COPY_RECORD> got = ReadCopyRecords(sinkRecord);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].data, ExpectedRecord(L"C:\\Users\\Folder with blanks"));
  EXPECT_EQ(got[1].data, ExpectedRecord(L"C:\\\x6587\x4EF6\x5939"));
  EXPECT_EQ(got[2].data, ExpectedRecord(L""));
  EXPECT_EQ(got[3].data, ExpectedRecord(L""));
  for (const auto& r : got) EXPECT_EQ(r.tag, 1u);
}

TEST_F(Handler, AddWithoutRunningProgramStartsItWithAddAndTheQuotedPath) {
  std::wstring exe = InstallRecorder();
  std::wstring file = dir / L"my documents\\a file with blanks.txt";
  CreateDirectoryW((dir / L"my documents").c_str(), nullptr);
  ASSERT_TRUE(xtest::WriteBytes(file, "x"));
  CXComPtr<IDataObject> selection = ShellSelection(dir / L"my documents", {L"a file with blanks.txt"});
  ASSERT_TRUE(selection);
  ASSERT_EQ(init->Initialize(nullptr, selection.Get(), nullptr), S_OK);
  ASSERT_EQ(FindWindowW(L"XDROPEASYWND", L"Pinvale"), nullptr);
  CMINVOKECOMMANDINFO cmd = Command(1);
  ASSERT_EQ(menu->InvokeCommand(&cmd), S_OK);
  std::wstring line = WaitForStart();
  ASSERT_FALSE(line.empty());
  EXPECT_NE(line.find(L"Pin vale.exe"), std::wstring::npos) << line.c_str();
  std::wstring tail = L" /add \"" + file + L"\"\n";
  ASSERT_GE(line.size(), tail.size());
  EXPECT_EQ(lstrcmpiW(line.substr(line.size() - tail.size()).c_str(), tail.c_str()), 0) << line.c_str();
}

TEST_F(Handler, OpenStartsTheInstalledProgramWithoutParameters) {
  std::wstring exe = InstallRecorder();
  CMINVOKECOMMANDINFO cmd = Command(0, "C:\\not passed on");
  ASSERT_EQ(menu->InvokeCommand(&cmd), S_OK);
  std::wstring line = WaitForStart();
  EXPECT_NE(line.find(L"Pin vale.exe"), std::wstring::npos) << line.c_str();
  EXPECT_EQ(line.find(L"/add"), std::wstring::npos) << line.c_str();
  EXPECT_EQ(line.find(L"not passed on"), std::wstring::npos) << line.c_str();
  EXPECT_EQ(line.find(L'\n'), line.size() - 1);  // exactly one start
}

TEST_F(Handler, WithoutUsableInstallPathNothingStarts) {
  CMINVOKECOMMANDINFO open = Command(0), add = Command(1, "C:\\x");
  EXPECT_EQ(menu->InvokeCommand(&open), S_OK);  // no key at all
  EXPECT_EQ(menu->InvokeCommand(&add), S_OK);
  ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, kProgramKey, L"installpath", L""));
  EXPECT_EQ(menu->InvokeCommand(&open), S_OK);
  EXPECT_EQ(menu->InvokeCommand(&add), S_OK);
  // A value longer than its 520 bytes is not cut down to some other program's path.
  std::wstring exe = InstallRecorder();
  std::wstring tooLong = exe + L"\\" + std::wstring(300, L'x');
  ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, kProgramKey, L"installpath", tooLong.c_str()));
  EXPECT_EQ(menu->InvokeCommand(&open), S_OK);
  EXPECT_EQ(menu->InvokeCommand(&add), S_OK);
  EXPECT_TRUE(NothingStarted());
}

TEST_F(Handler, InvokeCommandRefusesVerbsAndUnknownOffsets) {
  InstallRecorder();
  CMINVOKECOMMANDINFO cmd = Command(0);
  cmd.lpVerb = "open";
  EXPECT_EQ(menu->InvokeCommand(&cmd), E_INVALIDARG);
  cmd = Command(2);
  EXPECT_EQ(menu->InvokeCommand(&cmd), E_INVALIDARG);
  EXPECT_EQ(menu->InvokeCommand(nullptr), E_INVALIDARG);
  EXPECT_TRUE(NothingStarted());
}

}  // namespace
