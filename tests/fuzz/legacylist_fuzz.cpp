// Legacy list files of any bytes.
#include <vector>

#include "FuzzCheck.h"
#include "LegacyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines = SplitLegacyLines(bytes);
  size_t total = 0;
  for (const std::string& line : lines) {
    FUZZ_CHECK(!line.empty() && line.find('\n') == std::string::npos);
    total += line.size();
  }
  FUZZ_CHECK(total <= size);
  return 0;
}
