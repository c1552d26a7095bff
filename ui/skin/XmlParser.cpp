// CXmlParser: files and buffers handed to the event stream. A whole file or buffer goes to the
// parser in one final call, and the callback then receives exactly one ParseDone.
#include "XmlParser.h"

#include "XMessageBox.h"
#include "XString.h"
#include "XWin.h"

void CXmlParser::Dofile(const char* path, PFN_XParseCallback callback) {
  if (!callback) return;
  // The program calls this across the module border: nothing it throws may leave.
  try {
    ParseFile(path, callback);
  } catch (...) {
  }
}

void CXmlParser::ParseFile(const char* path, PFN_XParseCallback callback) {
  if (!path || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    CString text;
    text.Format(L"Cannot find file: %s!", XWiden(path ? path : "").c_str());
    XShowMessageBox(text, L"Error", MB_OK);
    return;
  }
  CXHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.Valid()) {
    callback(ParseError, "cannot open file!", 0, nullptr);
    return;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFF0) return;
  XBuffer<unsigned char> bytes;
  if (!bytes.Resize(static_cast<int>(size.QuadPart))) return;
  DWORD read = 0;
  if (!ReadFile(file.Get(), bytes.GetData(), static_cast<DWORD>(bytes.GetSize()), &read, nullptr) || read == 0)
    return;
  XParseXmlBytes(reinterpret_cast<const char*>(bytes.GetData()), static_cast<int>(read), callback, false);
}

void CXmlParser::Dofile(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback) {
  if (!callback) return;
  try {
    XParseXmlBytes(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize(), callback, false);
  } catch (...) {
  }
}

void CXmlParser::DofileRaw(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback) {
  if (!callback) return;
  try {
    XParseXmlBytes(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize(), callback, true);
  } catch (...) {
  }
}
