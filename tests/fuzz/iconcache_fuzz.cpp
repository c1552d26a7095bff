// Icon cache files of any bytes: the reader keeps only entries within bounds, and what it
// keeps is written and read back unchanged.
#include "FuzzCheck.h"
#include "IconCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<ICON_CACHE_ENTRY> entries = ReadIconCache(data, size);
  FUZZ_CHECK(entries.size() <= kIconCacheMaxEntries);
  for (const ICON_CACHE_ENTRY& e : entries) {
    FUZZ_CHECK(!e.path.empty() && e.path.size() <= kIconCacheMaxPath);
    FUZZ_CHECK(e.width <= kIconCacheMaxSide && e.height <= kIconCacheMaxSide);
    FUZZ_CHECK(e.pixels.size() == static_cast<size_t>(e.width) * e.height * 4);
  }
  const std::string again = WriteIconCache(entries);
  const std::vector<ICON_CACHE_ENTRY> reread =
      ReadIconCache(reinterpret_cast<const uint8_t*>(again.data()), again.size());
  FUZZ_CHECK(reread.size() == entries.size());
  for (size_t i = 0; i < reread.size(); ++i)
    FUZZ_CHECK(reread[i].path == entries[i].path && reread[i].pixels == entries[i].pixels &&
               reread[i].writeTime == entries[i].writeTime && reread[i].size == entries[i].size);
  return 0;
}
