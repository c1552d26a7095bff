// The entry rule of the key table "HotKey.xml", over the XML layer's start-tag events.
// Platform-neutral: names and values stay the parser's UTF-8 text.
#pragma once

// True when the start tag (name of length bytes, attribute list name, value, ..., null) is
// an entry: the element HK_ITEM in any letter case with at least one attribute. key and
// value then point at its "key" and "value" attributes (names in any letter case, a later
// attribute of the same name wins), or at "" when one is missing.
bool XHotKeyItem(const char* name, int length, const char** attrs, const char** key, const char** value);
