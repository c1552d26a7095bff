// The streaming XML reader behind Oskel.ParseXML. Every call into the script goes through
// lua_cpcall, so a failing, missing or replaced handler can never unwind through the parser;
// the process-wide busy flag is the only state that outlives a call. Platform-neutral.
#include "OskelXmlReader.h"

#include <atomic>
#include <climits>
#include <new>

#include "OskelValues.h"

namespace {

std::atomic<int> g_busy{0};

// Holds the busy flag for one parse; refuses when another parse already holds it.
class CBusyGuard {
 public:
  CBusyGuard() {
    int idle = 0;
    m_owner = g_busy.compare_exchange_strong(idle, 1);
  }
  ~CBusyGuard() { if (m_owner) g_busy.store(0); }
  CBusyGuard(const CBusyGuard&) = delete;
  CBusyGuard& operator=(const CBusyGuard&) = delete;
  bool Owner() const { return m_owner; }
 private:
  bool m_owner = false;
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

bool COskelXmlReader::ParseBytes(lua_State* L, const char* bytes, size_t size, const char* handler,
                                 size_t handlerLen) {
  if (!L || !bytes || !handler || size == 0 || size >= INT_MAX) return false;
  CBusyGuard busy;
  if (!busy.Owner()) return false;
  try {
    COskelXmlReader reader(L, handler, handlerLen);
    return reader.Run(bytes, size);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool COskelXmlReader::Run(const char* bytes, size_t size) {
  CParser parser;
  if (!parser.Get()) return false;
  m_parser = parser.Get();
  XML_SetUserData(m_parser, this);
  XML_SetElementHandler(m_parser, &COskelXmlReader::OnStart, nullptr);
  XML_SetCharacterDataHandler(m_parser, &COskelXmlReader::OnText);
  const bool ok = XML_Parse(m_parser, bytes, static_cast<int>(size), XML_TRUE) == XML_STATUS_OK;
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
