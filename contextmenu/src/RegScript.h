// Registry scripts: the text form of a COM server's registration, parsed into a key tree.
// Grammar: root '{' key* '}' per root; key := [NoRemove|ForceRemove] name ['=' value]
// ['{' (key | 'val' name '=' value)* '}']; value := type literal, type one of s, e, d, b.
// Names and literals are bare words or '...' with '' for a quote; %NAME% is replaced from the
// variables after unquoting (%% is a percent sign), so substituted text never needs escaping.
// Platform-neutral: the text is UTF-16 as char16_t.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct REG_SCRIPT_VALUE {
  enum Type { String, ExpandString, Dword, Binary };
  Type type = String;
  std::u16string text;         // String, ExpandString
  uint32_t number = 0;          // Dword
  std::vector<uint8_t> bytes;   // Binary
};

struct REG_SCRIPT_NAMED_VALUE {
  std::u16string name;
  REG_SCRIPT_VALUE value;
};

struct REG_SCRIPT_KEY {
  // Keep: created when missing, never deleted. Replace: deleted with its subtree and made
  // anew on registration, deleted on unregistration. Unmarked: made on registration, deleted
  // on unregistration unless something else still lives below it.
  enum Mark { Unmarked, Keep, Replace };
  Mark mark = Unmarked;
  std::u16string name;          // one level: never empty, never holds a backslash
  bool hasDefault = false;
  REG_SCRIPT_VALUE defaultValue;
  std::vector<REG_SCRIPT_NAMED_VALUE> values;
  std::vector<REG_SCRIPT_KEY> subkeys;
};

struct REG_SCRIPT_ROOT {
  enum Root { ClassesRoot, CurrentUser, LocalMachine, Users };
  Root root = ClassesRoot;
  std::vector<REG_SCRIPT_KEY> keys;
};

typedef std::vector<std::pair<std::u16string, std::u16string>> REG_SCRIPT_VARIABLES;

class CRegScript {
 public:
  // Parses text with the variables; false on any syntax error, with a message in Error().
  bool Parse(const std::u16string& text, const REG_SCRIPT_VARIABLES& variables);

  const std::vector<REG_SCRIPT_ROOT>& Roots() const { return m_roots; }
  const std::u16string& Error() const { return m_error; }

  // Deepest nesting of keys accepted; deeper scripts are refused rather than recursed into.
  static const int kMaxDepth = 32;

 private:
  std::vector<REG_SCRIPT_ROOT> m_roots;
  std::u16string m_error;
};
