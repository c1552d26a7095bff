// The XML reading layer: CXmlParser feeds a file or a buffer to Expat and reports every event
// to one plain callback (the ParseAction protocol); IXmlTemplate is the base of every reader.
// Protocol: each parse that reaches the parser ends with exactly one ParseDone.
#pragma once

#include <windows.h>

#include <string>

#include "WendoraApi.h"
#include "XBuffer.h"

enum ParseAction {
  ParseStart = 1,  // element name, its length, attributes: name, value, ..., null
  ParseEnd = 2,    // element name, its length
  ParseText = 3,   // character data without leading blanks, tabs and line feeds (length > 0)
  ParseDone = 4,   // no text
  ParseError = 5,  // "cannot open file!" or "parser is null"
};

// action, 8-bit (UTF-8) text, its length, attribute list (ParseStart only, else null).
typedef void (*PFN_XParseCallback)(int action, const char* text, int length, const char** attrs);

class WENDORA_API CXmlParser {
 public:
  CXmlParser() {}
  ~CXmlParser() {}

  // A missing file shows "Cannot find file: %s!" and reports nothing; an unreadable one
  // reports ParseError; an empty one reports nothing at all.
  void Dofile(const char* path, PFN_XParseCallback callback);
  void Dofile(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback);
  // As Dofile over a buffer, but character data is reported as the parser delivers it,
  // blanks and line breaks included: for readers that join the pieces of a text (split at
  // entities and line breaks) themselves.
  void DofileRaw(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback);

  // Expat handlers; the parser's user data is the callback.
  static void expatStart(void* user, const char* name, const char** attrs);
  static void expatEnd(void* user, const char* name);
  static void expatCharDataHandler(void* user, const char* text, int length);
  static void expatRawCharDataHandler(void* user, const char* text, int length);

 private:
  static void ParseBytes(const char* data, int size, PFN_XParseCallback callback, bool raw = false);
  static void ParseFile(const char* path, PFN_XParseCallback callback);
};

// Base of the readers of skin files and of the program's own XML files. T is the reader
// class. Each reader class keeps a static current-reader pointer (set by its constructor)
// through which its plain callback reaches the reader.
template <class T>
class IXmlTemplate {
 public:
  IXmlTemplate() = default;
  virtual ~IXmlTemplate() {}
  IXmlTemplate(const IXmlTemplate&) = delete;
  IXmlTemplate& operator=(const IXmlTemplate&) = delete;

  virtual int LoadFromBuffer(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback) {
    CXmlParser().Dofile(buffer, callback);
    return m_bFinished;
  }
  virtual int LoadFromFile(const wchar_t* path, PFN_XParseCallback callback) {
    std::string narrow;
    if (path) {
      int n = WideCharToMultiByte(CP_ACP, 0, path, -1, nullptr, 0, nullptr, nullptr);
      if (n > 1) {
        narrow.resize(static_cast<size_t>(n));
        WideCharToMultiByte(CP_ACP, 0, path, -1, &narrow[0], n, nullptr, nullptr);
        narrow.resize(static_cast<size_t>(n - 1));
      }
    }
    return LoadFromFile(narrow.c_str(), callback);
  }
  virtual int LoadFromFile(const char* path, PFN_XParseCallback callback) {
    CXmlParser().Dofile(path, callback);
    return m_bFinished;
  }

  int IsFinished() const { return m_bFinished; }

 protected:
  int m_bFinished = 0;
};
