// Pure rules of the version object: the operating-system code mapping and the bounded
// four-part version text. Kept free of system calls so they can be tested on any input.
#pragma once

#include <windows.h>

// Operating-system code of the version object from the version record's platform id, major
// and minor numbers and the native processor architecture (consulted for 6.1 only).
int XMapOSVersion(DWORD platformId, DWORD major, DWORD minor, WORD nativeArchitecture);

// Writes "a.b.c.d" from the two halves of a file version: at most capacity - 2 characters and
// a terminator; a longer text is cut. Writes nothing when out is null or capacity < 1.
void XFormatFileVersion(DWORD mostSignificant, DWORD leastSignificant, wchar_t* out, int capacity);
