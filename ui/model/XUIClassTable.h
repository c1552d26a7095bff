// The class-name table: the "class" of a template's "View" element (case ignored) names the
// kind of object the template builder makes. Each class enters itself with one line in its
// own source file:
//     XUI_REGISTER_CLASS(L"button", CXButtonImpl)
// so classes can be added independently. Names not in the table make nothing.
#pragma once

#include <string>
#include <vector>

#include "WendoraApi.h"
#include "XUIObject.h"

typedef IXUIObject* (*PFN_XCreateUIObject)();

class WENDORA_API CXUIClassTable {
 public:
  // Adds or replaces a row; false for an empty name or no creator.
  static bool Register(const wchar_t* name, PFN_XCreateUIObject creator);
  static bool Unregister(const wchar_t* name);
  static bool IsRegistered(const wchar_t* name);
  // The creator of a row, or null.
  static PFN_XCreateUIObject Find(const wchar_t* name);
  // A new object of the named class (owned by the caller), or null for an unknown name.
  static IXUIObject* Create(const wchar_t* name);
  // The registered names, lower-cased, sorted.
  static std::vector<std::wstring> Names();
};

template <class T>
IXUIObject* XCreateUIObjectOf() {
  return new T();
}

// Enters class T under name when the library is loaded.
#define XUI_REGISTER_CLASS(name, T) XUI_REGISTER_CLASS_AT_(name, T, __LINE__)
#define XUI_REGISTER_CLASS_AT_(name, T, line) XUI_REGISTER_CLASS_AT2_(name, T, line)
#define XUI_REGISTER_CLASS_AT2_(name, T, line)                                        \
  namespace {                                                                        \
  [[maybe_unused]] const bool xui_class_registered_##line = CXUIClassTable::Register(name, &XCreateUIObjectOf<T>); \
  }
