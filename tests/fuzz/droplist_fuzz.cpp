// Drop lists (CF_HDROP blocks) of any size, offset, kind and content.
#include <vector>

#include "FuzzCheck.h"
#include "XDropList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> block(data, data + size);
  XDropList list = XParseDropList(block.empty() ? nullptr : block.data(), block.size());
  size_t units = 0;
  for (const std::u16string& n : list.wideNames) {
    FUZZ_CHECK(!n.empty() && n.find(u'\0') == std::u16string::npos);
    units += n.size() + 1;
  }
  for (const std::string& n : list.ansiNames) {
    FUZZ_CHECK(!n.empty() && n.find('\0') == std::string::npos);
    units += n.size() + 1;
  }
  FUZZ_CHECK(units <= size);
  FUZZ_CHECK(list.wide ? list.ansiNames.empty() : list.wideNames.empty());
  return 0;
}
