// The language of the program's own texts: Chinese on a Chinese user-interface language,
// English on every other. One choice for every module (program, framework, updater), and
// string and dialog resources read in that language whatever the thread's own language is.
// Header-only, so modules that share no library share this rule.
#pragma once

#include <windows.h>

#include <string>

enum XUI_LANGUAGE { XLANG_ENGLISH = 0, XLANG_CHINESE = 1 };

// The texts' language for a user-interface language id.
inline XUI_LANGUAGE XLanguageOf(LANGID uiLanguage) {
  return PRIMARYLANGID(uiLanguage) == LANG_CHINESE ? XLANG_CHINESE : XLANG_ENGLISH;
}

// The texts' language for this user.
inline XUI_LANGUAGE XUserLanguage() { return XLanguageOf(GetUserDefaultUILanguage()); }

// The language id that the resources of a language are stored under.
inline LANGID XResourceLanguage(XUI_LANGUAGE language) {
  return language == XLANG_CHINESE ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                                   : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

// A resource of the module in the language, else in English; null when neither exists.
inline HRSRC XFindLanguageResource(HMODULE module, LPCWSTR type, LPCWSTR name, XUI_LANGUAGE language) {
  HRSRC found = FindResourceExW(module, type, name, XResourceLanguage(language));
  if (!found && language != XLANG_ENGLISH) found = FindResourceExW(module, type, name, XResourceLanguage(XLANG_ENGLISH));
  return found;
}

// String id of the module in the language (else in English); empty when missing. A string
// block holds 16 counted strings; every count is checked against the block's size.
inline std::wstring XLoadLanguageString(HMODULE module, UINT id, XUI_LANGUAGE language) {
  for (int pass = 0; pass < 2; ++pass) {
    const XUI_LANGUAGE lang = pass == 0 ? language : XLANG_ENGLISH;
    if (pass == 1 && lang == language) break;
    HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                  MAKEINTRESOURCEW(id / 16 + 1), XResourceLanguage(lang));
    HGLOBAL data = block ? LoadResource(module, block) : nullptr;
    const WCHAR* p = data ? static_cast<const WCHAR*>(LockResource(data)) : nullptr;
    if (!p) continue;
    const WCHAR* end = p + SizeofResource(module, block) / sizeof(WCHAR);
    for (UINT i = 0; i < id % 16 && p < end; ++i) p += 1 + *p;
    if (p >= end || *p == 0 || static_cast<size_t>(end - p - 1) < *p) continue;
    return std::wstring(p + 1, *p);
  }
  return std::wstring();
}

// The language's tag in skin entry names ("res.strings.zh").
inline const wchar_t* XLanguageTag(XUI_LANGUAGE language) { return language == XLANG_CHINESE ? L"zh" : L"en"; }
