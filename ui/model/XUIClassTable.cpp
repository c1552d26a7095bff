// The class-name table. Rows are entered by static initialisers of the library's own
// sources (and by hosts through Register); the map is made on first use so that order of
// initialisation between sources does not matter.
#include "XUIClassTable.h"

#include <map>

namespace {

std::map<std::wstring, PFN_XCreateUIObject>& Rows() {
  static std::map<std::wstring, PFN_XCreateUIObject> rows;
  return rows;
}

std::wstring Key(const wchar_t* name) {
  std::wstring key(name ? name : L"");
  if (!key.empty()) CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
  return key;
}

}  // namespace

bool CXUIClassTable::Register(const wchar_t* name, PFN_XCreateUIObject creator) {
  if (!name || !*name || !creator) return false;
  Rows()[Key(name)] = creator;
  return true;
}

bool CXUIClassTable::Unregister(const wchar_t* name) { return Rows().erase(Key(name)) != 0; }

bool CXUIClassTable::IsRegistered(const wchar_t* name) { return Rows().count(Key(name)) != 0; }

PFN_XCreateUIObject CXUIClassTable::Find(const wchar_t* name) {
  auto it = Rows().find(Key(name));
  return it == Rows().end() ? nullptr : it->second;
}

IXUIObject* CXUIClassTable::Create(const wchar_t* name) {
  auto it = Rows().find(Key(name));
  if (it == Rows().end()) return nullptr;
  try {
    return it->second();
  } catch (...) {
    return nullptr;
  }
}

std::vector<std::wstring> CXUIClassTable::Names() {
  std::vector<std::wstring> names;
  for (const auto& row : Rows()) names.push_back(row.first);
  return names;
}
