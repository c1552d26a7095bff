// CXmlParser over Expat. A whole file or buffer goes to the parser in one final call, and the
// callback then receives exactly one ParseDone, whether the text was well formed or not.
#include "XmlParser.h"

#include <expat.h>

#include <cstring>

#include "XMessageBox.h"
#include "XString.h"
#include "XWin.h"

// Expat is C: nothing may unwind through it, so a reader that throws loses that one event.
void CXmlParser::expatStart(void* user, const char* name, const char** attrs) {
  auto callback = reinterpret_cast<PFN_XParseCallback>(user);
  try {
    callback(ParseStart, name, static_cast<int>(strlen(name)), attrs);
  } catch (...) {
  }
}

void CXmlParser::expatEnd(void* user, const char* name) {
  auto callback = reinterpret_cast<PFN_XParseCallback>(user);
  try {
    callback(ParseEnd, name, static_cast<int>(strlen(name)), nullptr);
  } catch (...) {
  }
}

void CXmlParser::expatCharDataHandler(void* user, const char* text, int length) {
  while (length > 0 && (*text == ' ' || *text == '\t' || *text == '\n')) {
    ++text;
    --length;
  }
  if (length <= 0) return;
  auto callback = reinterpret_cast<PFN_XParseCallback>(user);
  try {
    callback(ParseText, text, length, nullptr);
  } catch (...) {
  }
}

void CXmlParser::expatRawCharDataHandler(void* user, const char* text, int length) {
  if (length <= 0) return;
  auto callback = reinterpret_cast<PFN_XParseCallback>(user);
  try {
    callback(ParseText, text, length, nullptr);
  } catch (...) {
  }
}

void CXmlParser::ParseBytes(const char* data, int size, PFN_XParseCallback callback, bool raw) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) {
    callback(ParseError, "parser is null", 0, nullptr);
    return;
  }
  XML_SetUserData(parser, reinterpret_cast<void*>(callback));
  XML_SetElementHandler(parser, &CXmlParser::expatStart, &CXmlParser::expatEnd);
  XML_SetCharacterDataHandler(parser, raw ? &CXmlParser::expatRawCharDataHandler : &CXmlParser::expatCharDataHandler);
  // Final call: the parser reports everything up to the end or the first malformed point.
  XML_Parse(parser, data, size, 1);
  XML_ParserFree(parser);
  callback(ParseDone, nullptr, 0, nullptr);
}

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
  ParseBytes(reinterpret_cast<const char*>(bytes.GetData()), static_cast<int>(read), callback);
}

void CXmlParser::Dofile(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback) {
  if (!callback) return;
  try {
    ParseBytes(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize(), callback);
  } catch (...) {
  }
}

void CXmlParser::DofileRaw(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback) {
  if (!callback) return;
  try {
    ParseBytes(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize(), callback, true);
  } catch (...) {
  }
}
