// Operating-system code mapping and version text of CVersion; the text never holds more
// than capacity - 2 characters.
#include "VersionText.h"

#include <cstdio>

namespace {
const uint32_t kPlatformNt = 2;       // VER_PLATFORM_WIN32_NT
const uint16_t kArchitectureX64 = 9;  // PROCESSOR_ARCHITECTURE_AMD64
}  // namespace

int XMapOSVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint16_t nativeArchitecture) {
  if (platformId != kPlatformNt) return 0;
  if (major == 5) {
    switch (minor) {
      case 0: return 2;
      case 1: return 3;
      case 2: return 4;
      default: return 1;
    }
  }
  if (major == 6) {
    if (minor == 0) return 5;
    if (minor == 1) return nativeArchitecture == kArchitectureX64 ? 7 : 6;
    return 1;
  }
  return 1;
}

std::u16string XFileVersionText(uint32_t mostSignificant, uint32_t leastSignificant, int capacity) {
  char text[48];
  int n = snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(mostSignificant >> 16),
                   static_cast<unsigned>(mostSignificant & 0xFFFF), static_cast<unsigned>(leastSignificant >> 16),
                   static_cast<unsigned>(leastSignificant & 0xFFFF));
  if (n < 0) n = 0;
  int keep = capacity - 2 < n ? (capacity - 2 > 0 ? capacity - 2 : 0) : n;
  return std::u16string(text, text + keep);
}
