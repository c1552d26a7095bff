// Operating-system code mapping and version text of CVersion; the text never goes past
// capacity - 2 characters and is always terminated.
#include "VersionText.h"

#include <cstdio>

int XMapOSVersion(DWORD platformId, DWORD major, DWORD minor, WORD nativeArchitecture) {
  if (platformId != VER_PLATFORM_WIN32_NT) return 0;
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
    if (minor == 1) return nativeArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? 7 : 6;
    return 1;
  }
  return 1;
}

void XFormatFileVersion(DWORD mostSignificant, DWORD leastSignificant, wchar_t* out, int capacity) {
  if (!out || capacity < 1) return;
  char text[48];
  int n = snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(HIWORD(mostSignificant)),
                   static_cast<unsigned>(LOWORD(mostSignificant)), static_cast<unsigned>(HIWORD(leastSignificant)),
                   static_cast<unsigned>(LOWORD(leastSignificant)));
  if (n < 0) n = 0;
  int keep = capacity - 2 < n ? (capacity - 2 > 0 ? capacity - 2 : 0) : n;
  for (int i = 0; i < keep; ++i) out[i] = static_cast<wchar_t>(text[i]);
  out[keep] = 0;
}
