// Skin package figures: a 4 MiB package of 1,000 entries is loaded and every entry extracted;
// the service library's decipher pass is compared with memcpy over the same 4 MiB.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "PackageWriter.h"
#include "ServiceInterfaces.h"
#include "XSkinPackage.h"
#include "XProgram.h"
#include "XWin.h"

using xbench::Best;

namespace {

const int kEntries = 1000;
const size_t kTotal = 4u << 20;

}  // namespace

int main() {
  // Entries of varying size adding up to 4 MiB, with pseudo-random contents.
  std::vector<skinpack::Entry> entries(kEntries);
  unsigned seed = 12345;
  const size_t base = kTotal / kEntries;
  size_t left = kTotal;
  for (int i = 0; i < kEntries; ++i) {
    char name[64];
    snprintf(name, sizeof name, "bench\\Entry%04d.bin", i);
    entries[i].name = name;
    size_t size = i + 1 == kEntries ? left : (i % 2 ? base + 1000 : base - 1000);
    left -= size;
    entries[i].data.resize(size);
    for (char& c : entries[i].data) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  }
  std::string package = skinpack::BuildPackage(entries);

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + L"bench_skinpackage.xui";
  {
    CXHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!f.Valid() || !WriteFile(f.Get(), package.data(), static_cast<DWORD>(package.size()), &written, nullptr)) {
      printf("cannot write %ls\n", path.c_str());
      return 1;
    }
  }

  CXModule corvane(LoadLibraryW((XModuleFolder() + L"Corvane.dll").c_str()));
  auto create = corvane.Proc<PFN_XCreateInstance>("CreateInstance");
  CXComPtr<IHash> hash(create ? static_cast<IHash*>(create(&IID_IHash)) : nullptr);
  if (!hash) {
    printf("no IHash from Corvane.dll\n");
    return 1;
  }

  std::vector<unsigned char> src(kTotal), dst(kTotal);
  memcpy(src.data(), package.data() + 20, kTotal);
  const int runs = 30;
  double copy = Best(runs, [&] { memcpy(dst.data(), src.data(), kTotal); });
  double decipher = Best(runs, [&] { hash->Decipher(src.data(), CXSkinPackage::Key(), dst.data(), static_cast<int>(kTotal)); });
  double inPlace = Best(runs, [&] { hash->Decipher(dst.data(), CXSkinPackage::Key(), dst.data(), static_cast<int>(kTotal)); });
  const double mib = static_cast<double>(kTotal) / (1 << 20);
  printf("memcpy            %8.1f MiB/s\n", mib / copy);
  printf("decipher          %8.1f MiB/s  (%.2fx memcpy time)\n", mib / decipher, decipher / copy);
  printf("decipher in place %8.1f MiB/s  (%.2fx memcpy time)\n", mib / inPlace, inPlace / copy);

  CXSkinPackage pkg;
  int loaded = 0;
  double load = Best(10, [&] { loaded = pkg.Load(path.c_str()); });
  printf("load              %8.2f ms  (%d entries, %.1f MiB, result %d)\n", load * 1e3, pkg.GetEntryCount(),
         static_cast<double>(package.size()) / (1 << 20), loaded);

  size_t bytes = 0;
  int found = 0;
  double extract = Best(10, [&] {
    bytes = 0;
    found = 0;
    for (const skinpack::Entry& e : entries) {
      XBuffer<unsigned char> out;
      std::wstring name = XWiden(e.name.c_str());
      if (pkg.Extract(out, name.c_str())) {
        ++found;
        bytes += static_cast<size_t>(out.GetSize());
      }
    }
  });
  printf("extract all       %8.2f ms  (%d entries, %.1f MiB, %.1f us per entry)\n", extract * 1e3, found,
         static_cast<double>(bytes) / (1 << 20), extract * 1e6 / kEntries);
  DeleteFileW(path.c_str());
  return found == kEntries && loaded == 1 ? 0 : 1;
}
