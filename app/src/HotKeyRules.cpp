// Key-table entry rule; names are compared in ASCII letter case only, as the file's element
// and attribute names are ASCII.
#include "HotKeyRules.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// a (n bytes) equals the lower-case ASCII word.
bool SameWord(const char* a, int n, const char* word) {
  int i = 0;
  for (; i < n && word[i]; ++i) {
    if (Lower(a[i]) != word[i]) return false;
  }
  return i == n && word[i] == 0;
}

bool SameWord(const char* a, const char* word) {
  int n = 0;
  while (a[n] && n < 64) ++n;  // longer names are never one of ours
  return a[n] == 0 && SameWord(a, n, word);
}

}  // namespace

bool XHotKeyItem(const char* name, int length, const char** attrs, const char** key, const char** value) {
  if (!name || length != 7 || !SameWord(name, 7, "hk_item") || !attrs || !attrs[0]) return false;
  *key = "";
  *value = "";
  for (const char** a = attrs; a[0] && a[1]; a += 2) {
    if (SameWord(a[0], "key")) *key = a[1];
    else if (SameWord(a[0], "value")) *value = a[1];
  }
  return true;
}
