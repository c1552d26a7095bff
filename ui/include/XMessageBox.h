// The framework's user-facing error boxes ("Cannot find file: %s!" and friends). A sink set by
// a test (or a host that logs instead) receives the texts instead of a modal box.
#pragma once

#include <windows.h>

#include "WendoraApi.h"

typedef void (*PFN_XMessageSink)(const wchar_t* text, const wchar_t* caption, UINT type);

// Shows MessageBoxW with no owner, or hands the texts to the sink when one is set.
WENDORA_API int XShowMessageBox(const wchar_t* text, const wchar_t* caption, UINT type);
// Sets the sink (null restores real message boxes); returns the previous one.
WENDORA_API PFN_XMessageSink XSetMessageSink(PFN_XMessageSink sink);
