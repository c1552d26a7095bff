// An open handle of the platform's internet library (session, connection or request), closed
// on destruction. Header-only; a module that uses it links the internet library itself.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "XWin.h"

inline void XCloseInternetHandle(HINTERNET h) { InternetCloseHandle(h); }
using CXInternet = CXHolder<XNullableTraits<HINTERNET, &XCloseInternetHandle>>;
