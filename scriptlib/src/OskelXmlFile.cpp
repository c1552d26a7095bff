// Oskel.ParseXML's file side: the whole file is read into memory (bounded by its size and
// by INT_MAX for the parser) and handed to the platform-neutral reader.
#include <windows.h>
#include <shlwapi.h>

#include <climits>
#include <new>
#include <vector>

#include "OskelXmlReader.h"
#include "XWin.h"

bool COskelXmlReader::Parse(lua_State* L, const char* path, const char* handler, size_t handlerLen) {
  if (!L || !path || !handler) return false;
  if (!PathFileExistsA(path)) return false;
  try {
    CXHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart >= INT_MAX) return false;
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    size_t got = 0;
    while (got < bytes.size()) {
      DWORD n = 0;
      if (!ReadFile(file.Get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr) || n == 0)
        break;
      got += n;
    }
    return ParseBytes(L, bytes.data(), got, handler, handlerLen);
  } catch (const std::bad_alloc&) {
    return false;
  }
}
