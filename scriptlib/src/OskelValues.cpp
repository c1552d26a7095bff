// Value rules of the script module. Numbers are converted here rather than with
// lua_tointeger, whose x86 form rounds to nearest instead of taking the integer part.
#include "OskelValues.h"

#include <cmath>
#include <cstring>

int32_t OskelToInt32(double n) {
  if (!std::isfinite(n)) return 0;
  double m = std::fmod(std::trunc(n), 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return static_cast<int32_t>(static_cast<uint32_t>(m));
}

int32_t OskelBitComputing(int32_t a, const char* op, size_t opLen, int32_t b) {
  const uint32_t ua = static_cast<uint32_t>(a);
  const unsigned shift = static_cast<uint32_t>(b) & 31u;
  if (!op || opLen == 0 || opLen > 2) return 0;
  if (opLen == 2 && op[0] == '<' && op[1] == '<') return static_cast<int32_t>(ua << shift);
  if (opLen == 2 && op[0] == '>' && op[1] == '>') return static_cast<int32_t>(ua >> shift);
  if (opLen == 1 && op[0] == '&') return a & b;
  if (opLen == 1 && op[0] == '|') return a | b;
  return 0;
}

size_t OskelLeadingBlanks(const char* s, size_t len) {
  size_t i = 0;
  while (i < len && (s[i] == '\t' || s[i] == '\n' || s[i] == ' ')) ++i;
  return i;
}
