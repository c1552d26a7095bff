// Loads Corvane.dll from the test folder by file name and hands out its CreateInstance.
#pragma once

#include <gtest/gtest.h>

#include "ServiceInterfaces.h"
#include "XWin.h"

class CorvaneLib {
 public:
  CorvaneLib() : m_module(LoadLibraryW(L"Corvane.dll")) {
    m_create = m_module.Proc<PFN_XCreateInstance>("CreateInstance");
  }
  bool Loaded() const { return m_create != nullptr; }
  template <class T>
  T* Create(const GUID& id) const { return m_create ? static_cast<T*>(m_create(&id)) : nullptr; }

 private:
  CXModule m_module;
  PFN_XCreateInstance m_create = nullptr;
};

// Calls slot n of an object's interface table, bypassing the C++ names.
template <class R, class... A>
R CallSlot(void* object, int slot, A... args) {
  using Fn = R(__stdcall*)(void*, A...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}
