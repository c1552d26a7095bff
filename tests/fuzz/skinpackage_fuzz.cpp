// The skin package's index walk over any plain body: every entry handed out lies inside the
// body, and the walk's verdict does not depend on what lies beyond the body.
#include <vector>

#include "FuzzCheck.h"
#include "SkinPackageIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> body(data, data + size);
  const int n = static_cast<int>(size);
  int entries = 0;
  uint64_t lastEnd = 0;
  int verdict = XWalkPackageBody(body.empty() ? nullptr : body.data(), n, [&](const XPackageEntryView& e) {
    FUZZ_CHECK(e.nameLength > 0 && e.nameLength < 2600 && e.dataSize > 0);
    const unsigned char* name = reinterpret_cast<const unsigned char*>(e.name);
    FUZZ_CHECK(name >= body.data() && name + e.nameLength <= body.data() + size);
    FUZZ_CHECK(static_cast<uint64_t>(e.dataOffset) + e.dataSize <= size);
    FUZZ_CHECK(e.dataOffset >= lastEnd);  // entries come in body order and never overlap
    lastEnd = static_cast<uint64_t>(e.dataOffset) + e.dataSize;
    ++entries;
  });
  FUZZ_CHECK(verdict == 0 || verdict == 1);
  return 0;
}
