// Copy-data records of any length and content, at an odd address too.
#include <vector>

#include "FuzzCheck.h"
#include "HandedPath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The record's own bytes only: a copy of exactly its length, so a read past it is caught.
  std::vector<uint8_t> record(data, data + size);
  std::u16string path = PathFromCopyData(record.empty() ? nullptr : record.data(), record.size());
  FUZZ_CHECK(path.size() <= size / 2);
  FUZZ_CHECK(path.find(u'\0') == std::u16string::npos);
  if (size > 1) {
    std::vector<uint8_t> shifted(size + 1);
    memcpy(shifted.data() + 1, data, size);
    FUZZ_CHECK(PathFromCopyData(shifted.data() + 1, size) == path);
  }
  return 0;
}
