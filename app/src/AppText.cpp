// The program's texts, read from the running executable's string tables.
#include "AppText.h"

std::wstring AppText(UINT id) { return AppText(id, XUserLanguage()); }

std::wstring AppText(UINT id, XUI_LANGUAGE language) {
  return XLoadLanguageString(GetModuleHandleW(nullptr), id, language);
}
