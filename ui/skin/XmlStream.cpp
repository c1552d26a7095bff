// The ParseAction stream over Expat. Expat is C: nothing may unwind through it, so every
// callback runs inside its own catch.
#include "XmlStream.h"

#include <expat.h>

#include <cstring>

namespace {

void OnStart(void* user, const char* name, const char** attrs) {
  auto callback = reinterpret_cast<PFN_XParseCallback>(user);
  try {
    callback(ParseStart, name, static_cast<int>(strlen(name)), attrs);
  } catch (...) {
  }
}

void OnEnd(void* user, const char* name) {
  auto callback = reinterpret_cast<PFN_XParseCallback>(user);
  try {
    callback(ParseEnd, name, static_cast<int>(strlen(name)), nullptr);
  } catch (...) {
  }
}

void OnText(void* user, const char* text, int length) {
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

void OnRawText(void* user, const char* text, int length) {
  if (length <= 0) return;
  auto callback = reinterpret_cast<PFN_XParseCallback>(user);
  try {
    callback(ParseText, text, length, nullptr);
  } catch (...) {
  }
}

}  // namespace

void XParseXmlBytes(const char* data, int size, PFN_XParseCallback callback, bool raw) {
  if (!callback) return;
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) {
    callback(ParseError, "parser is null", 0, nullptr);
    return;
  }
  XML_SetUserData(parser, reinterpret_cast<void*>(callback));
  XML_SetElementHandler(parser, &OnStart, &OnEnd);
  XML_SetCharacterDataHandler(parser, raw ? &OnRawText : &OnText);
  // Final call: the parser reports everything up to the end or the first malformed point.
  XML_Parse(parser, data, size, 1);
  XML_ParserFree(parser);
  callback(ParseDone, nullptr, 0, nullptr);
}
