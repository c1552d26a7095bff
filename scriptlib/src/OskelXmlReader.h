// Streams one XML file to a script's global handler function: event 1 for every start tag
// and event 3 for every chunk of text, reported under the most recently opened element.
// One parse runs at a time in the process; a nested or concurrent Parse is refused.
#pragma once

#include <expat.h>
#include <lua.hpp>

#include <cstddef>
#include <string>

class COskelXmlReader {
 public:
  static constexpr size_t kMaxHandlerName = 259;  // longer names are truncated

  // Parses the file at path (ANSI), calling the global named handler for each event in a
  // protected call. Returns false when the parse was refused or the file was unusable.
  static bool Parse(lua_State* L, const char* path, const char* handler, size_t handlerLen);
  // The same over size bytes already read (platform-neutral; the file reading is the only
  // Win32 part). False when refused, empty or not well formed.
  static bool ParseBytes(lua_State* L, const char* bytes, size_t size, const char* handler, size_t handlerLen);

 private:
  COskelXmlReader(lua_State* L, const char* handler, size_t handlerLen);
  bool Run(const char* bytes, size_t size);
  void Dispatch(int event, const char* text, size_t textLen);

  static void XMLCALL OnStart(void* user, const XML_Char* name, const XML_Char** attributes);
  static void XMLCALL OnText(void* user, const XML_Char* text, int len);
  static int CallHandler(lua_State* L);

  lua_State* m_L;
  std::string m_handler;
  std::string m_element;  // name of the most recently started element
  bool m_started = false;
  XML_Parser m_parser = nullptr;
};
