// The bounded string read of per-user values (the key holder, CXRegKey, lives in XWin.h).
#pragma once

#include <windows.h>

#include "XWin.h"

// Reads a REG_SZ (or REG_EXPAND_SZ, expanded) value into out, which holds at most capacity
// characters including the terminating NUL. A value that does not fit, is missing or has
// another type leaves out empty and returns false; a partial path is never handed on.
bool XReadRegString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* out, size_t capacity);
