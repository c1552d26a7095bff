// The program's one command-line switch: "/add" followed by a path. Plain text rules, no
// Win32 state, so every case can be tested on its own.
#pragma once

#include "XString.h"

// The path given with "/add" in the text after the program name: everything from five
// characters after the first "/add" (case-sensitive, anywhere in the text; the four letters
// and one separator of any kind), with every leading and trailing double quote removed.
// found tells whether the switch was there at all (a bare "/add" gives an empty path).
CString ParseAddSwitch(const wchar_t* commandLine, bool* found = nullptr);

// The remembered "/add" path of this process: set once before the instance test, read once
// when the main window is created.
CString& PendingAddPath();
