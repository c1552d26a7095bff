// Registry-script parser: a tokenizer over the whole text and a recursive-descent reader
// that builds the key tree. Recursion is bounded by kMaxDepth; every name is checked before
// it can reach the registry.
#include "RegScript.h"


namespace {

enum TokenKind { TokEnd, TokOpen, TokClose, TokEquals, TokWord, TokQuoted };

struct TOKEN {
  TokenKind kind = TokEnd;
  std::u16string text;  // word or unquoted literal, before variable substitution
  size_t offset = 0;
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xFEFF; }
bool IsDelimiter(char16_t c) { return IsBlank(c) || c == u'{' || c == u'}' || c == u'=' || c == u'\''; }

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// Equal without regard to ASCII letter case (keywords and variable names are ASCII).
bool SameText(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::u16string Decimal(size_t n) {
  std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

class CParser {
 public:
  CParser(const std::u16string& text, const REG_SCRIPT_VARIABLES& vars) : m_text(text), m_vars(vars) {}

  bool Run(std::vector<REG_SCRIPT_ROOT>& roots) {
    if (!Next()) return false;
    while (m_tok.kind != TokEnd) {
      REG_SCRIPT_ROOT root;
      if (m_tok.kind != TokWord || !RootOf(m_tok.text, root.root)) return Fail(u"registry root expected");
      if (!Next()) return false;
      if (m_tok.kind != TokOpen) return Fail(u"'{' expected after the root");
      if (!Next()) return false;
      while (m_tok.kind != TokClose) {
        if (m_tok.kind == TokEnd) return Fail(u"'}' missing at the end");
        REG_SCRIPT_KEY key;
        if (!Key(key, 1)) return false;
        root.keys.push_back(std::move(key));
      }
      if (!Next()) return false;
      roots.push_back(std::move(root));
    }
    return true;
  }

  const std::u16string& Error() const { return m_error; }

 private:
  static bool RootOf(const std::u16string& w, REG_SCRIPT_ROOT::Root& root) {
    if (SameText(w, u"HKCR") || SameText(w, u"HKEY_CLASSES_ROOT")) root = REG_SCRIPT_ROOT::ClassesRoot;
    else if (SameText(w, u"HKCU") || SameText(w, u"HKEY_CURRENT_USER")) root = REG_SCRIPT_ROOT::CurrentUser;
    else if (SameText(w, u"HKLM") || SameText(w, u"HKEY_LOCAL_MACHINE")) root = REG_SCRIPT_ROOT::LocalMachine;
    else if (SameText(w, u"HKU") || SameText(w, u"HKEY_USERS")) root = REG_SCRIPT_ROOT::Users;
    else return false;
    return true;
  }

  // Current token is the key's first token; on return the token after the key is current.
  bool Key(REG_SCRIPT_KEY& key, int depth) {
    if (depth > CRegScript::kMaxDepth) return Fail(u"keys nested too deeply");
    if (m_tok.kind == TokWord && SameText(m_tok.text, u"NoRemove")) {
      key.mark = REG_SCRIPT_KEY::Keep;
      if (!Next()) return false;
    } else if (m_tok.kind == TokWord && SameText(m_tok.text, u"ForceRemove")) {
      key.mark = REG_SCRIPT_KEY::Replace;
      if (!Next()) return false;
    }
    if (m_tok.kind != TokWord && m_tok.kind != TokQuoted) return Fail(u"key name expected");
    if (!Expand(m_tok.text, key.name)) return false;
    if (key.name.empty() || key.name.size() > 255 || key.name.find(u'\\') != std::u16string::npos)
      return Fail(u"key names are one level of 1 to 255 characters");
    if (!Next()) return false;
    if (m_tok.kind == TokEquals) {
      if (!Next() || !Value(key.defaultValue)) return false;
      key.hasDefault = true;
    }
    if (m_tok.kind != TokOpen) return true;
    if (!Next()) return false;
    while (m_tok.kind != TokClose) {
      if (m_tok.kind == TokEnd) return Fail(u"'}' missing");
      if (m_tok.kind == TokWord && SameText(m_tok.text, u"val")) {
        REG_SCRIPT_NAMED_VALUE v;
        if (!Next()) return false;
        if (m_tok.kind != TokWord && m_tok.kind != TokQuoted) return Fail(u"value name expected");
        if (!Expand(m_tok.text, v.name)) return false;
        if (v.name.empty() || v.name.size() > 16383) return Fail(u"value names are 1 to 16383 characters");
        if (!Next()) return false;
        if (m_tok.kind != TokEquals) return Fail(u"'=' expected after the value name");
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
    if (m_tok.kind != TokWord || m_tok.text.size() != 1) return Fail(u"value type expected");
    char16_t type = Lower(m_tok.text[0]);
    if (!Next()) return false;
    if (m_tok.kind != TokWord && m_tok.kind != TokQuoted) return Fail(u"value expected");
    std::u16string text;
    if (!Expand(m_tok.text, text)) return false;
    switch (type) {
      case u's': v.type = REG_SCRIPT_VALUE::String; v.text = text; break;
      case u'e': v.type = REG_SCRIPT_VALUE::ExpandString; v.text = text; break;
      case u'd':
        v.type = REG_SCRIPT_VALUE::Dword;
        if (!Number(text, v.number)) return Fail(u"a d value is a 32-bit decimal or 0x number");
        break;
      case u'b':
        v.type = REG_SCRIPT_VALUE::Binary;
        if (!Bytes(text, v.bytes)) return Fail(u"a b value is an even count of hex digits");
        break;
      default: return Fail(u"value type is one of s, e, d, b");
    }
    return Next();
  }

  static bool Number(const std::u16string& t, uint32_t& out) {
    unsigned long long n = 0;
    size_t i = 0;
    unsigned base = 10;
    if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X')) { base = 16; i = 2; }
    if (i >= t.size()) return false;
    for (; i < t.size(); ++i) {
      int d = HexDigit(t[i]);
      if (d < 0 || static_cast<unsigned>(d) >= base) return false;
      n = n * base + static_cast<unsigned>(d);
      if (n > 0xFFFFFFFFull) return false;
    }
    out = static_cast<uint32_t>(n);
    return true;
  }

  static bool Bytes(const std::u16string& t, std::vector<uint8_t>& out) {
    if (t.size() % 2 != 0) return false;
    out.clear();
    for (size_t i = 0; i < t.size(); i += 2) {
      int hi = HexDigit(t[i]), lo = HexDigit(t[i + 1]);
      if (hi < 0 || lo < 0) return false;
      out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return true;
  }

  static int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
  }

  bool Expand(const std::u16string& in, std::u16string& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
      if (in[i] != u'%') { out += in[i]; continue; }
      size_t end = in.find(u'%', i + 1);
      if (end == std::u16string::npos) return Fail(u"'%' without its closing '%'");
      if (end == i + 1) { out += u'%'; i = end; continue; }
      std::u16string name = in.substr(i + 1, end - i - 1);
      bool found = false;
      for (const auto& v : m_vars) {
        if (SameText(v.first, name)) { out += v.second; found = true; break; }
      }
      if (!found) return Fail(u"unknown variable %" + name + u"%");
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
    char16_t c = m_text[i];
    if (c == u'{') { m_tok.kind = TokOpen; m_pos = i + 1; return true; }
    if (c == u'}') { m_tok.kind = TokClose; m_pos = i + 1; return true; }
    if (c == u'=') { m_tok.kind = TokEquals; m_pos = i + 1; return true; }
    if (c == u'\'') {
      m_tok.kind = TokQuoted;
      for (++i;; ++i) {
        if (i >= m_text.size()) return Fail(u"unterminated quoted text");
        if (m_text[i] == u'\'') {
          if (i + 1 < m_text.size() && m_text[i + 1] == u'\'') { m_tok.text += u'\''; ++i; continue; }
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

  bool Fail(const std::u16string& what) {
    if (m_error.empty()) {
      size_t line = 1;
      for (size_t i = 0; i < m_tok.offset && i < m_text.size(); ++i) line += m_text[i] == u'\n';
      m_error = u"line " + Decimal(line) + u": " + what;
    }
    return false;
  }

  const std::u16string& m_text;
  const REG_SCRIPT_VARIABLES& m_vars;
  size_t m_pos = 0;
  TOKEN m_tok;
  std::u16string m_error;
};

}  // namespace

bool CRegScript::Parse(const std::u16string& text, const REG_SCRIPT_VARIABLES& variables) {
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
