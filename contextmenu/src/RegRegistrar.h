// Carries out a parsed registry script: registration writes every key and value, undoing
// removes what the script owns and leaves kept keys and foreign keys in place. Scripts for
// HKEY_CLASSES_ROOT may be redirected (per-user registration, tests) to another open key.
#pragma once

#include <windows.h>

#include "RegScript.h"

class CRegRegistrar {
 public:
  // classesRoot stands in for HKEY_CLASSES_ROOT; it must stay open while the registrar is used.
  explicit CRegRegistrar(HKEY classesRoot = HKEY_CLASSES_ROOT) : m_classesRoot(classesRoot) {}

  // Stops at the first failing registry call and returns its error as an HRESULT.
  HRESULT Register(const CRegScript& script) const;
  // Goes on past failures and returns the first one; keys that are already gone are no failure.
  HRESULT Unregister(const CRegScript& script) const;

 private:
  HKEY RootKey(REG_SCRIPT_ROOT::Root root) const;

  HKEY m_classesRoot;
};
