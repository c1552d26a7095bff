// The XML reading layer: CXmlParser feeds a file or a buffer to the event stream of XmlStream.h
// (the ParseAction protocol); IXmlTemplate is the base of every reader.
// Protocol: each parse that reaches the parser ends with exactly one ParseDone.
#pragma once

#include <windows.h>

#include <string>

#include "WendoraApi.h"
#include "XBuffer.h"
#include "XmlStream.h"

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

 private:
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
