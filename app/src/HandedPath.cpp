// "/add" and copy-data rules. The record is read unit by unit through memcpy, so neither its
// alignment nor a missing terminator matters.
#include "HandedPath.h"

#include <cstring>

std::u16string ParseAddSwitchText(const std::u16string& commandLine, bool* found) {
  if (found) *found = false;
  size_t at = commandLine.find(u"/add");
  if (at == std::u16string::npos) return std::u16string();
  if (found) *found = true;
  if (at + 5 >= commandLine.size()) return std::u16string();
  size_t begin = at + 5, end = commandLine.size();
  while (begin < end && commandLine[begin] == u'"') ++begin;
  while (end > begin && commandLine[end - 1] == u'"') --end;
  return commandLine.substr(begin, end - begin);
}

std::u16string PathFromCopyData(const void* data, size_t bytes) {
  std::u16string path;
  if (!data) return path;
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i + 1 < bytes; i += 2) {
    char16_t unit;
    memcpy(&unit, p + i, sizeof unit);
    if (unit == 0) break;
    path += unit;
  }
  return path;
}
