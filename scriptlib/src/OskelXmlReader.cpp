// The streaming XML reader behind Oskel.ParseXML. Every call into the script goes through
// lua_cpcall, so a failing, missing or replaced handler can never unwind through the parser;
// the process-wide busy flag is the only state that outlives a call.
#include "OskelXmlReader.h"

#include <windows.h>
#include <shlwapi.h>

#include <climits>
#include <new>
#include <vector>

#include "OskelValues.h"
#include "XWin.h"

namespace {

volatile LONG g_busy = 0;

// Holds the busy flag for one parse; refuses when another parse already holds it.
class CBusyGuard {
 public:
  CBusyGuard() : m_owner(InterlockedCompareExchange(&g_busy, 1, 0) == 0) {}
  ~CBusyGuard() { if (m_owner) InterlockedExchange(&g_busy, 0); }
  CBusyGuard(const CBusyGuard&) = delete;
  CBusyGuard& operator=(const CBusyGuard&) = delete;
  bool Owner() const { return m_owner; }
 private:
  bool m_owner;
};

class CParser {
 public:
  CParser() : m_p(XML_ParserCreate(nullptr)) {}
  ~CParser() { if (m_p) XML_ParserFree(m_p); }
  CParser(const CParser&) = delete;
  CParser& operator=(const CParser&) = delete;
  XML_Parser Get() const { return m_p; }
 private:
  XML_Parser m_p;
};

// One event as handed to the protected call.
struct XEvent {
  const std::string* handler;
  int code;
  const char* name;  // null pushes nil
  const char* text;  // null pushes nil
  size_t textLen;
};

}  // namespace

COskelXmlReader::COskelXmlReader(lua_State* L, const char* handler, size_t handlerLen)
    : m_L(L), m_handler(handler, handlerLen < kMaxHandlerName ? handlerLen : kMaxHandlerName) {}

bool COskelXmlReader::Parse(lua_State* L, const char* path, const char* handler, size_t handlerLen) {
  if (!L || !path || !handler) return false;
  CBusyGuard busy;
  if (!busy.Owner()) return false;
  if (!PathFileExistsA(path)) return false;
  try {
    COskelXmlReader reader(L, handler, handlerLen);
    return reader.Run(path);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool COskelXmlReader::Run(const char* path) {
  CXHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart >= INT_MAX) return false;
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    if (!ReadFile(file.Get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr) || n == 0) break;
    got += n;
  }
  if (got == 0) return false;

  CParser parser;
  if (!parser.Get()) return false;
  m_parser = parser.Get();
  XML_SetUserData(m_parser, this);
  XML_SetElementHandler(m_parser, &COskelXmlReader::OnStart, nullptr);
  XML_SetCharacterDataHandler(m_parser, &COskelXmlReader::OnText);
  const bool ok = XML_Parse(m_parser, bytes.data(), static_cast<int>(got), XML_TRUE) == XML_STATUS_OK;
  m_parser = nullptr;
  m_element.clear();
  m_started = false;
  return ok;
}

void XMLCALL COskelXmlReader::OnStart(void* user, const XML_Char* name, const XML_Char**) {
  auto* self = static_cast<COskelXmlReader*>(user);
  try {
    self->m_element = name ? name : "";
    self->m_started = true;
  } catch (const std::bad_alloc&) {
    XML_StopParser(self->m_parser, XML_FALSE);
    return;
  }
  self->Dispatch(1, nullptr, 0);
}

void XMLCALL COskelXmlReader::OnText(void* user, const XML_Char* text, int len) {
  if (!text || len <= 0) return;
  const size_t skip = OskelLeadingBlanks(text, static_cast<size_t>(len));
  if (skip < static_cast<size_t>(len)) {
    static_cast<COskelXmlReader*>(user)->Dispatch(3, text + skip, static_cast<size_t>(len) - skip);
  }
}

void COskelXmlReader::Dispatch(int event, const char* text, size_t textLen) {
  const int top = lua_gettop(m_L);
  if (!lua_checkstack(m_L, 8)) return;
  XEvent e{&m_handler, event, m_started ? m_element.c_str() : nullptr, text, textLen};
  lua_cpcall(m_L, &COskelXmlReader::CallHandler, &e);  // errors are dropped with the stack
  lua_settop(m_L, top);
}

// Runs inside lua_cpcall: looks the handler up afresh and calls it with three arguments.
int COskelXmlReader::CallHandler(lua_State* L) {
  const XEvent* e = static_cast<const XEvent*>(lua_touserdata(L, 1));
  lua_pushlstring(L, e->handler->data(), e->handler->size());
  lua_gettable(L, LUA_GLOBALSINDEX);
  lua_pushinteger(L, e->code);
  if (e->name) lua_pushstring(L, e->name); else lua_pushnil(L);
  if (e->text) lua_pushlstring(L, e->text, e->textLen); else lua_pushnil(L);
  lua_call(L, 3, 0);
  return 0;
}
