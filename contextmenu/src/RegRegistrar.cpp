// Registry side of the scripts. Keys are opened one level at a time so the keep, replace and
// unmarked rules apply per level; subtrees are deleted with RegDeleteTreeW.
#include "RegRegistrar.h"

#include "RegKey.h"

namespace {

const REGSAM kAccess = KEY_READ | KEY_WRITE;

HRESULT FromWin32(LONG err) { return err == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(err)); }

bool IsGone(LONG err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

// The scripts' neutral UTF-16 text as the system's wide text (the same layout).
const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

LONG SetValue(HKEY key, const wchar_t* name, const REG_SCRIPT_VALUE& v) {
  switch (v.type) {
    case REG_SCRIPT_VALUE::String:
    case REG_SCRIPT_VALUE::ExpandString: {
      size_t bytes = (v.text.size() + 1) * sizeof(wchar_t);
      if (bytes > 0x7FFFFFFF) return ERROR_INVALID_DATA;
      return RegSetValueExW(key, name, 0, v.type == REG_SCRIPT_VALUE::String ? REG_SZ : REG_EXPAND_SZ,
                            reinterpret_cast<const BYTE*>(v.text.c_str()), static_cast<DWORD>(bytes));
    }
    case REG_SCRIPT_VALUE::Dword:
      return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.number), sizeof(DWORD));
    case REG_SCRIPT_VALUE::Binary:
      return RegSetValueExW(key, name, 0, REG_BINARY, v.bytes.empty() ? nullptr : v.bytes.data(),
                            static_cast<DWORD>(v.bytes.size()));
  }
  return ERROR_INVALID_DATA;
}

HRESULT RegisterKey(HKEY parent, const REG_SCRIPT_KEY& node) {
  if (node.mark == REG_SCRIPT_KEY::Replace) {
    LONG err = RegDeleteTreeW(parent, W(node.name));
    if (err != ERROR_SUCCESS && !IsGone(err)) return FromWin32(err);
  }
  CXRegKey key;
  LONG err = RegCreateKeyExW(parent, W(node.name), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                             key.Out(), nullptr);
  if (err != ERROR_SUCCESS) return FromWin32(err);
  if (node.hasDefault) {
    err = SetValue(key.Get(), nullptr, node.defaultValue);
    if (err != ERROR_SUCCESS) return FromWin32(err);
  }
  for (const auto& v : node.values) {
    err = SetValue(key.Get(), W(v.name), v.value);
    if (err != ERROR_SUCCESS) return FromWin32(err);
  }
  for (const auto& sub : node.subkeys) {
    HRESULT hr = RegisterKey(key.Get(), sub);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT UnregisterKey(HKEY parent, const REG_SCRIPT_KEY& node) {
  if (node.mark == REG_SCRIPT_KEY::Replace) {
    LONG err = RegDeleteTreeW(parent, W(node.name));
    return IsGone(err) ? S_OK : FromWin32(err);
  }
  HRESULT first = S_OK;
  {
    CXRegKey key;
    LONG err = RegOpenKeyExW(parent, W(node.name), 0, kAccess, key.Out());
    if (IsGone(err)) return S_OK;
    if (err != ERROR_SUCCESS) return FromWin32(err);
    // Children first, so an unmarked key is empty of our subkeys when its turn comes.
    for (auto it = node.subkeys.rbegin(); it != node.subkeys.rend(); ++it) {
      HRESULT hr = UnregisterKey(key.Get(), *it);
      if (FAILED(hr) && SUCCEEDED(first)) first = hr;
    }
    if (node.mark == REG_SCRIPT_KEY::Keep) {
      // The key stays; the named values the script wrote into it go.
      for (const auto& v : node.values) {
        err = RegDeleteValueW(key.Get(), W(v.name));
        if (err != ERROR_SUCCESS && !IsGone(err) && SUCCEEDED(first)) first = FromWin32(err);
      }
      return first;
    }
    DWORD subkeys = 0;
    err = RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr);
    if (err != ERROR_SUCCESS) return SUCCEEDED(first) ? FromWin32(err) : first;
    if (subkeys != 0) return first;  // something not ours still lives below
  }
  LONG err = RegDeleteKeyW(parent, W(node.name));
  if (err != ERROR_SUCCESS && !IsGone(err) && SUCCEEDED(first)) first = FromWin32(err);
  return first;
}

}  // namespace

HKEY CRegRegistrar::RootKey(REG_SCRIPT_ROOT::Root root) const {
  switch (root) {
    case REG_SCRIPT_ROOT::ClassesRoot: return m_classesRoot;
    case REG_SCRIPT_ROOT::CurrentUser: return HKEY_CURRENT_USER;
    case REG_SCRIPT_ROOT::LocalMachine: return HKEY_LOCAL_MACHINE;
    case REG_SCRIPT_ROOT::Users: return HKEY_USERS;
  }
  return nullptr;
}

HRESULT CRegRegistrar::Register(const CRegScript& script) const {
  for (const auto& root : script.Roots()) {
    HKEY base = RootKey(root.root);
    if (!base) return E_INVALIDARG;
    for (const auto& key : root.keys) {
      HRESULT hr = RegisterKey(base, key);
      if (FAILED(hr)) return hr;
    }
  }
  return S_OK;
}

HRESULT CRegRegistrar::Unregister(const CRegScript& script) const {
  HRESULT first = S_OK;
  const auto& roots = script.Roots();
  for (auto r = roots.rbegin(); r != roots.rend(); ++r) {
    HKEY base = RootKey(r->root);
    if (!base) return E_INVALIDARG;
    for (auto k = r->keys.rbegin(); k != r->keys.rend(); ++k) {
      HRESULT hr = UnregisterKey(base, *k);
      if (FAILED(hr) && SUCCEEDED(first)) first = hr;
    }
  }
  return first;
}
