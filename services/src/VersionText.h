// Pure rules of the version object: the operating-system code mapping and the bounded
// four-part version text. Platform-neutral, so they can be fuzzed and tested on any input.
#pragma once

#include <cstdint>
#include <string>

// Operating-system code of the version object from the version record's platform id, major
// and minor numbers and the native processor architecture (consulted for 6.1 only).
int XMapOSVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint16_t nativeArchitecture);

// "a.b.c.d" from the two halves of a file version (the high and low words of each), cut to
// capacity - 2 characters (none when capacity is below 3).
std::u16string XFileVersionText(uint32_t mostSignificant, uint32_t leastSignificant, int capacity);

#ifdef _WIN32
// Writes XFileVersionText and a terminator into out; nothing when out is null or capacity < 1.
inline void XFormatFileVersion(uint32_t mostSignificant, uint32_t leastSignificant, wchar_t* out, int capacity) {
  if (!out || capacity < 1) return;
  std::u16string text = XFileVersionText(mostSignificant, leastSignificant, capacity);
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<wchar_t>(text[i]);
  out[text.size()] = 0;
}
#endif
