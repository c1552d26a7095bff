// The file of item icons fetched in earlier runs, so that a start shows them without reading
// the items: per path, the item's last-write time and size when it was read, and the icon's
// pixels. Platform-neutral bytes in and out; the reader trusts nothing in the file and keeps
// only whole, checked entries, within fixed bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ICON_CACHE_ENTRY {
  std::u16string path;
  uint64_t writeTime = 0;  // the item's last write (FILETIME ticks) when its icon was read
  uint64_t size = 0;       // the item's size then
  uint16_t width = 0;
  uint16_t height = 0;
  // width x height pixels, 4 bytes each (blue, green, red, alpha; alpha not premultiplied),
  // rows from the top. Empty: the item has no icon of its own.
  std::vector<uint8_t> pixels;
};

// Bounds of the file and of each entry; the writer leaves out what exceeds them, the reader
// stops at the first entry that breaks them.
const size_t kIconCacheMaxEntries = 1024;
const size_t kIconCacheMaxPath = 1024;  // UTF-16 units
const uint16_t kIconCacheMaxSide = 64;  // pixels

// The entries of a cache file: every entry up to the first one that is truncated, out of
// bounds or fails its check sum. Nothing for a file of another kind or version.
std::vector<ICON_CACHE_ENTRY> ReadIconCache(const uint8_t* data, size_t size);
// The file's bytes for the entries, in order: the first kIconCacheMaxEntries that are within
// bounds.
std::string WriteIconCache(const std::vector<ICON_CACHE_ENTRY>& entries);
