// The file list of a dropped or selected set of files (the CF_HDROP block: a 20-byte header
// whose first field is the offset of the names and whose fifth tells UTF-16 from ANSI, then
// NUL-terminated names ending with an empty one). Platform-neutral and header-only, so the
// framework's drop target and the 64-bit shell extension share it; every read is bounded by
// the block's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct XDropList {
  bool wide = false;
  std::vector<std::u16string> wideNames;  // when wide
  std::vector<std::string> ansiNames;     // otherwise, in the ANSI code page
  size_t Count() const { return wide ? wideNames.size() : ansiNames.size(); }
};

// The names of a block of size bytes, in order. A name cut off by the end of the block is
// dropped with everything after it: it would name another file. Too small a block, or an
// offset inside the header or past the end, gives no names.
inline XDropList XParseDropList(const void* block, size_t size) {
  const size_t kHeader = 20;
  XDropList list;
  if (!block || size < kHeader) return list;
  const unsigned char* p = static_cast<const unsigned char*>(block);
  uint32_t offset, wide;
  memcpy(&offset, p, sizeof offset);
  memcpy(&wide, p + 16, sizeof wide);
  list.wide = wide != 0;
  if (offset < kHeader || offset > size) return list;
  size_t at = offset;
  if (list.wide) {
    for (;;) {
      std::u16string name;
      bool ended = false;
      for (; at + 1 < size; at += 2) {
        char16_t unit;
        memcpy(&unit, p + at, sizeof unit);
        if (unit == 0) { ended = true; at += 2; break; }
        name += unit;
      }
      if (!ended || name.empty()) break;
      list.wideNames.push_back(std::move(name));
    }
  } else {
    for (;;) {
      const void* nul = memchr(p + at, 0, size - at);
      if (!nul) break;
      size_t end = static_cast<size_t>(static_cast<const unsigned char*>(nul) - p);
      if (end == at) break;
      list.ansiNames.emplace_back(reinterpret_cast<const char*>(p + at), end - at);
      at = end + 1;
    }
  }
  return list;
}
