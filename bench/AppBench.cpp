// The favourites window's costs, through the real list control, shell and Corvane.dll in a
// throwaway APPDATA: filling the list with 1,000 favourites (type icons, asked of the shell once
// per type) against the same rows without icons and against asking the shell for every row,
// and adding one favourite while the window runs. Prints figures only.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "FavoriteStore.h"
#include "ShellItem.h"
#include "TestUtil.h"
#include "UIHandle.h"
#include "XList.h"

namespace {

using xbench::Now;

const int kRows = 1000;
const int kAdds = 200;

CString PathOf(int i) {
  static const wchar_t* kinds[] = {L"txt", L"doc", L"png", L"exe", L"lnk", L"zip"};
  CString p;
  p.Format(L"C:\\Users\\bench\\Documents\\Project %04d\\file %d.%s", i / 10, i, kinds[i % 6]);
  return p;
}

void SetUpList(CXList& list) {
  list.InsertColumn(300, L"path");
  list.SetListStyle(CXList::LIST_HITTEST | CXList::LIST_SELECT);
  list.XUI_SetRect(CRect(0, 0, 300, 400));
  list.SetID(L"list");
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  xtest::TempDir appData;
  SetEnvironmentVariableW(L"APPDATA", appData.Path().c_str());
  CUIHandle& handle = CUIHandle::Instance();
  CFavoriteStore& store = handle.Store();
  store.StartupLoad(false, CString());
  std::vector<CString> paths;
  for (int i = 0; i < kRows; ++i) paths.push_back(PathOf(i));
  store.ImportPaths(paths);
  store.Load(false);

  CXList filled;
  SetUpList(filled);
  double t0 = Now();
  handle.FillList(&filled);
  double fill = Now() - t0;
  int filledRows = filled.GetRowCount();

  t0 = Now();
  for (int i = 0; i < kRows; ++i) {
    HICON icon = GetFileTypeIcon(store.At(i)->path);
    if (icon) DestroyIcon(icon);
  }
  double icons = Now() - t0;

  CXList plain;
  SetUpList(plain);
  t0 = Now();
  for (int i = 0; i < store.Count(); ++i) {
    int row = plain.InsertItem(store.At(i)->path, 0);
    plain.SetItemData(row, static_cast<DWORD>(store.At(i)->id));
  }
  double bare = Now() - t0;

  t0 = Now();
  for (int i = 0; i < kAdds; ++i) handle.AddItem(PathOf(kRows + i));
  double add = (Now() - t0) / kAdds;

  std::printf("list fill, %d favourites with type icons: %.1f ms (%.1f us per row)\n", filledRows,
              fill * 1000, fill * 1e6 / kRows);
  std::printf("same rows without icons:                 %.1f ms; icons cost %.1fx the rows\n", bare * 1000,
              bare > 0 ? (fill - bare) / bare : 0.0);
  std::printf("asking the shell for every row's icon:   %.1f ms more (saved by the per-type cache)\n", icons * 1000);
  std::printf("adding one favourite while running:      %.2f ms (row, icon, insert, row id)\n", add * 1000);
  store.CloseDatabase();
  CoUninitialize();
  return 0;
}
