// Registry-script parser: a tokenizer over the whole text and a recursive-descent reader
// that builds the key tree. Recursion is bounded by kMaxDepth; every name is checked before
// it can reach the registry.
#include "RegScript.h"

#include <cwctype>

namespace {

enum TokenKind { TokEnd, TokOpen, TokClose, TokEquals, TokWord, TokQuoted };

struct TOKEN {
  TokenKind kind = TokEnd;
  std::wstring text;  // word or unquoted literal, before variable substitution
  size_t offset = 0;
};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xFEFF; }
bool IsDelimiter(wchar_t c) { return IsBlank(c) || c == L'{' || c == L'}' || c == L'=' || c == L'\''; }

bool SameText(const std::wstring& a, const wchar_t* b) { return lstrcmpiW(a.c_str(), b) == 0; }

class CParser {
 public:
  CParser(const std::wstring& text, const REG_SCRIPT_VARIABLES& vars) : m_text(text), m_vars(vars) {}

  bool Run(std::vector<REG_SCRIPT_ROOT>& roots) {
    if (!Next()) return false;
    while (m_tok.kind != TokEnd) {
      REG_SCRIPT_ROOT root;
      if (m_tok.kind != TokWord || !RootOf(m_tok.text, root.root)) return Fail(L"registry root expected");
      if (!Next()) return false;
      if (m_tok.kind != TokOpen) return Fail(L"'{' expected after the root");
      if (!Next()) return false;
      while (m_tok.kind != TokClose) {
        if (m_tok.kind == TokEnd) return Fail(L"'}' missing at the end");
        REG_SCRIPT_KEY key;
        if (!Key(key, 1)) return false;
        root.keys.push_back(std::move(key));
      }
      if (!Next()) return false;
      roots.push_back(std::move(root));
    }
    return true;
  }

  const std::wstring& Error() const { return m_error; }

 private:
  static bool RootOf(const std::wstring& w, REG_SCRIPT_ROOT::Root& root) {
    if (SameText(w, L"HKCR") || SameText(w, L"HKEY_CLASSES_ROOT")) root = REG_SCRIPT_ROOT::ClassesRoot;
    else if (SameText(w, L"HKCU") || SameText(w, L"HKEY_CURRENT_USER")) root = REG_SCRIPT_ROOT::CurrentUser;
    else if (SameText(w, L"HKLM") || SameText(w, L"HKEY_LOCAL_MACHINE")) root = REG_SCRIPT_ROOT::LocalMachine;
    else if (SameText(w, L"HKU") || SameText(w, L"HKEY_USERS")) root = REG_SCRIPT_ROOT::Users;
    else return false;
    return true;
  }

  // Current token is the key's first token; on return the token after the key is current.
  bool Key(REG_SCRIPT_KEY& key, int depth) {
    if (depth > CRegScript::kMaxDepth) return Fail(L"keys nested too deeply");
    if (m_tok.kind == TokWord && SameText(m_tok.text, L"NoRemove")) {
      key.mark = REG_SCRIPT_KEY::Keep;
      if (!Next()) return false;
    } else if (m_tok.kind == TokWord && SameText(m_tok.text, L"ForceRemove")) {
      key.mark = REG_SCRIPT_KEY::Replace;
      if (!Next()) return false;
    }
    if (m_tok.kind != TokWord && m_tok.kind != TokQuoted) return Fail(L"key name expected");
    if (!Expand(m_tok.text, key.name)) return false;
    if (key.name.empty() || key.name.size() > 255 || key.name.find(L'\\') != std::wstring::npos)
      return Fail(L"key names are one level of 1 to 255 characters");
    if (!Next()) return false;
    if (m_tok.kind == TokEquals) {
      if (!Next() || !Value(key.defaultValue)) return false;
      key.hasDefault = true;
    }
    if (m_tok.kind != TokOpen) return true;
    if (!Next()) return false;
    while (m_tok.kind != TokClose) {
      if (m_tok.kind == TokEnd) return Fail(L"'}' missing");
      if (m_tok.kind == TokWord && SameText(m_tok.text, L"val")) {
        REG_SCRIPT_NAMED_VALUE v;
        if (!Next()) return false;
        if (m_tok.kind != TokWord && m_tok.kind != TokQuoted) return Fail(L"value name expected");
        if (!Expand(m_tok.text, v.name)) return false;
        if (v.name.empty() || v.name.size() > 16383) return Fail(L"value names are 1 to 16383 characters");
        if (!Next()) return false;
        if (m_tok.kind != TokEquals) return Fail(L"'=' expected after the value name");
        if (!Next() || !Value(v.value)) return false;
        key.values.push_back(std::move(v));
      } else {
        REG_SCRIPT_KEY sub;
        if (!Key(sub, depth + 1)) return false;
        key.subkeys.push_back(std::move(sub));
      }
    }
    return Next();
  }

  // Current token is the type letter; on return the token after the literal is current.
  bool Value(REG_SCRIPT_VALUE& v) {
    if (m_tok.kind != TokWord || m_tok.text.size() != 1) return Fail(L"value type expected");
    wchar_t type = static_cast<wchar_t>(towlower(m_tok.text[0]));
    if (!Next()) return false;
    if (m_tok.kind != TokWord && m_tok.kind != TokQuoted) return Fail(L"value expected");
    std::wstring text;
    if (!Expand(m_tok.text, text)) return false;
    switch (type) {
      case L's': v.type = REG_SCRIPT_VALUE::String; v.text = text; break;
      case L'e': v.type = REG_SCRIPT_VALUE::ExpandString; v.text = text; break;
      case L'd':
        v.type = REG_SCRIPT_VALUE::Dword;
        if (!Number(text, v.number)) return Fail(L"a d value is a 32-bit decimal or 0x number");
        break;
      case L'b':
        v.type = REG_SCRIPT_VALUE::Binary;
        if (!Bytes(text, v.bytes)) return Fail(L"a b value is an even count of hex digits");
        break;
      default: return Fail(L"value type is one of s, e, d, b");
    }
    return Next();
  }

  static bool Number(const std::wstring& t, DWORD& out) {
    unsigned long long n = 0;
    size_t i = 0;
    unsigned base = 10;
    if (t.size() > 2 && t[0] == L'0' && (t[1] == L'x' || t[1] == L'X')) { base = 16; i = 2; }
    if (i >= t.size()) return false;
    for (; i < t.size(); ++i) {
      int d = HexDigit(t[i]);
      if (d < 0 || static_cast<unsigned>(d) >= base) return false;
      n = n * base + static_cast<unsigned>(d);
      if (n > 0xFFFFFFFFull) return false;
    }
    out = static_cast<DWORD>(n);
    return true;
  }

  static bool Bytes(const std::wstring& t, std::vector<BYTE>& out) {
    if (t.size() % 2 != 0) return false;
    out.clear();
    for (size_t i = 0; i < t.size(); i += 2) {
      int hi = HexDigit(t[i]), lo = HexDigit(t[i + 1]);
      if (hi < 0 || lo < 0) return false;
      out.push_back(static_cast<BYTE>(hi * 16 + lo));
    }
    return true;
  }

  static int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
  }

  bool Expand(const std::wstring& in, std::wstring& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
      if (in[i] != L'%') { out += in[i]; continue; }
      size_t end = in.find(L'%', i + 1);
      if (end == std::wstring::npos) return Fail(L"'%' without its closing '%'");
      if (end == i + 1) { out += L'%'; i = end; continue; }
      std::wstring name = in.substr(i + 1, end - i - 1);
      bool found = false;
      for (const auto& v : m_vars) {
        if (lstrcmpiW(v.first.c_str(), name.c_str()) == 0) { out += v.second; found = true; break; }
      }
      if (!found) return Fail(L"unknown variable %" + name + L"%");
      i = end;
    }
    return true;
  }

  bool Next() {
    size_t i = m_pos;
    while (i < m_text.size() && IsBlank(m_text[i])) ++i;
    m_tok = TOKEN();
    m_tok.offset = i;
    if (i >= m_text.size()) { m_pos = i; return true; }
    wchar_t c = m_text[i];
    if (c == L'{') { m_tok.kind = TokOpen; m_pos = i + 1; return true; }
    if (c == L'}') { m_tok.kind = TokClose; m_pos = i + 1; return true; }
    if (c == L'=') { m_tok.kind = TokEquals; m_pos = i + 1; return true; }
    if (c == L'\'') {
      m_tok.kind = TokQuoted;
      for (++i;; ++i) {
        if (i >= m_text.size()) return Fail(L"unterminated quoted text");
        if (m_text[i] == L'\'') {
          if (i + 1 < m_text.size() && m_text[i + 1] == L'\'') { m_tok.text += L'\''; ++i; continue; }
          m_pos = i + 1;
          return true;
        }
        m_tok.text += m_text[i];
      }
    }
    m_tok.kind = TokWord;
    while (i < m_text.size() && !IsDelimiter(m_text[i])) m_tok.text += m_text[i++];
    m_pos = i;
    return true;
  }

  bool Fail(const std::wstring& what) {
    if (m_error.empty()) {
      size_t line = 1;
      for (size_t i = 0; i < m_tok.offset && i < m_text.size(); ++i) line += m_text[i] == L'\n';
      m_error = L"line " + std::to_wstring(line) + L": " + what;
    }
    return false;
  }

  const std::wstring& m_text;
  const REG_SCRIPT_VARIABLES& m_vars;
  size_t m_pos = 0;
  TOKEN m_tok;
  std::wstring m_error;
};

}  // namespace

bool CRegScript::Parse(const std::wstring& text, const REG_SCRIPT_VARIABLES& variables) {
  m_roots.clear();
  m_error.clear();
  CParser parser(text, variables);
  std::vector<REG_SCRIPT_ROOT> roots;
  if (!parser.Run(roots)) {
    m_error = parser.Error();
    return false;
  }
  m_roots = std::move(roots);
  return true;
}
