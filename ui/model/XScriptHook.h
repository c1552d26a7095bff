// How the object model reaches the script engine without depending on it: the engine fills
// these entries when it is created; until then (and in a skin without scripts) no script runs.
#pragma once

#include <windows.h>

class IXUIObject;

struct XSCRIPT_HOOKS {
  // Calls a global script function with (owner as "IXUIObject", wParam, lParam).
  void (*callEvent)(const char* func, IXUIObject* owner, UINT wParam, LONG lParam);
  // Calls a global script function without arguments.
  void (*call)(const char* func);
};

// The installed entries (all null before the engine exists).
XSCRIPT_HOOKS& XScriptHooks();
