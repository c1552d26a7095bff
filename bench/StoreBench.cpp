// Favourites store timings: importing 10,000 paths (one transaction) against loading 10,000
// rows, plus what per-row commits would cost and the whole start-up load of a legacy list.
// Runs in a throwaway APPDATA under %TEMP%; prints figures only.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "FavoriteStore.h"
#include "TestUtil.h"
#include "XWin.h"

using xbench::Now;
using xbench::Median;

namespace {

const int kRows = 10000;
const int kPerRowSample = 300;
const int kRounds = 3;

std::vector<CString> MakePaths(int n) {
  std::vector<CString> paths;
  paths.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    CString p;
    p.Format(L"C:\\Users\\bench\\Documents\\Project %05d\\Owner's notes %d.txt", i / 10, i);
    paths.push_back(p);
  }
  return paths;
}

void ResetDatabase() {
  DeleteFileW(CFavoriteStore::DatabasePath());
  DeleteFileW(CFavoriteStore::DatabasePath() + L"-journal");
}

}  // namespace

int main() {
  xtest::TempDir appData;  // removed with everything in it at the end
  SetEnvironmentVariableW(L"APPDATA", appData.Path().c_str());
  CoInitialize(nullptr);

  std::vector<CString> paths = MakePaths(kRows);
  std::vector<double> imports, loads, sortedLoads, perRow, startups;
  for (int round = 0; round < kRounds; ++round) {
    ResetDatabase();
    {
      CFavoriteStore store;
      if (store.Connect() != 1) {
        printf("Corvane.dll not available\n");
        return 1;
      }
      store.CreateTable();
      double t0 = Now();
      int imported = store.ImportPaths(paths);
      double t1 = Now();
      if (imported != kRows) printf("import returned %d\n", imported);
      int rc = store.Load(false);
      double t2 = Now();
      store.Load(true);
      double t3 = Now();
      if (rc != 0 || store.Count() != kRows) printf("load returned %d with %d rows\n", rc, store.Count());
      imports.push_back(t1 - t0);
      loads.push_back(t2 - t1);
      sortedLoads.push_back(t3 - t2);

      // The same inserts with one commit each, on a sample.
      double t4 = Now();
      for (int i = 0; i < kPerRowSample; ++i) store.Insert(paths[static_cast<size_t>(i)]);
      perRow.push_back((Now() - t4) / kPerRowSample * kRows);
    }
    // The start-up load of a new database from a legacy list of kRows lines.
    ResetDatabase();
    std::wstring legacyFolder = appData / L"Dorrik\\Pinvale";
    CreateDirectoryW((appData / L"Dorrik").c_str(), nullptr);
    CreateDirectoryW(legacyFolder.c_str(), nullptr);
    std::string text;
    for (const CString& p : paths) text += XNarrow(p) + "\r\n";
    {
      CXHandle f(CreateFileW(CFavoriteStore::LegacyListPath(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      DWORD written = 0;
      WriteFile(f.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    {
      CFavoriteStore store;
      double t0 = Now();
      store.StartupLoad(false, CString());
      startups.push_back(Now() - t0);
      if (store.Count() != kRows) printf("start-up load gave %d rows\n", store.Count());
    }
  }

  double import = Median(imports), load = Median(loads);
  printf("rows: %d, rounds: %d (medians)\n", kRows, kRounds);
  printf("import %d paths, one transaction:   %8.1f ms\n", kRows, import * 1000);
  printf("load %d rows (table order):         %8.1f ms\n", kRows, load * 1000);
  printf("load %d rows (ORDER by count DESC): %8.1f ms\n", kRows, Median(sortedLoads) * 1000);
  printf("ratio import / load:                  %8.2f\n", import / load);
  printf("per-row commits, estimated from %d:  %8.1f ms (%.0fx the transaction)\n", kPerRowSample,
         Median(perRow) * 1000, Median(perRow) / import);
  printf("start-up load with a %d-line legacy list: %8.1f ms\n", kRows, Median(startups) * 1000);

  CoUninitialize();
  return 0;
}
