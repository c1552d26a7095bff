// Legacy list lines: one pass over the bytes, every line taken by offset and length.
#include "LegacyList.h"

std::vector<std::string> SplitLegacyLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    size_t len = end - start;
    if (len > 0 && bytes[start + len - 1] == '\r') --len;  // text mode reads CR LF as LF
    if (len > 0) lines.emplace_back(bytes, start, len);
    start = end + 1;
  }
  return lines;
}
