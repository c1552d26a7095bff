// The program's own texts (tray menu, folder picker, hotkey messages), one string table per
// language in the program's resources (res/Strings.rc), chosen by the user's UI language.
#pragma once

#include <windows.h>

#include <string>

#include "XUiLanguage.h"

#include "AppStringIds.h"

// The text in the user's language (English where that language lacks it); empty when the
// running program has no such string.
std::wstring AppText(UINT id);
// The same in a given language.
std::wstring AppText(UINT id, XUI_LANGUAGE language);
