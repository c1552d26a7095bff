// The version object's rules: the four-part text of a fixed file version at any capacity,
// and the operating-system code of any version record.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "FuzzCheck.h"
#include "VersionText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  uint32_t ms = in.ConsumeIntegral<uint32_t>(), ls = in.ConsumeIntegral<uint32_t>();
  int capacity = in.ConsumeIntegralInRange<int>(-4, 64);
  std::u16string text = XFileVersionText(ms, ls, capacity);
  FUZZ_CHECK(static_cast<int>(text.size()) <= (capacity > 2 ? capacity - 2 : 0));
  std::u16string whole = XFileVersionText(ms, ls, 64);
  FUZZ_CHECK(whole.compare(0, text.size(), text) == 0);
  FUZZ_CHECK(std::count(whole.begin(), whole.end(), u'.') == 3);

  uint32_t platform = in.ConsumeIntegral<uint32_t>(), major = in.ConsumeIntegral<uint32_t>();
  uint32_t minor = in.ConsumeIntegral<uint32_t>();
  uint16_t arch = in.ConsumeIntegral<uint16_t>();
  int code = XMapOSVersion(platform, major, minor, arch);
  FUZZ_CHECK(code >= 0 && code <= 7);
  return 0;
}
