// The "/add" switch over any command-line text (UTF-16 units).
#include "FuzzCheck.h"
#include "HandedPath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text = FuzzU16(data, size);
  bool found = true;
  std::u16string path = ParseAddSwitchText(text, &found);
  FUZZ_CHECK(found == (text.find(u"/add") != std::u16string::npos));
  FUZZ_CHECK(path.size() <= text.size());
  FUZZ_CHECK(path.empty() || (path.front() != u'"' && path.back() != u'"'));
  if (!path.empty()) FUZZ_CHECK(text.find(path) != std::u16string::npos);
  return 0;
}
