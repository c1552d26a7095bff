// The name/folder split of a row's path. Works on indices into the given text only.
#include "ItemPathParts.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EndsWithNoCase(const std::u16string& s, const char16_t* tail) {
  const std::u16string t(tail);
  if (s.size() < t.size()) return false;
  for (size_t i = 0; i < t.size(); ++i)
    if (Lower(s[s.size() - t.size() + i]) != t[i]) return false;
  return true;
}

// The end of "server\share" starting at i: after the share's name.
size_t ShareRootEnd(const std::u16string& p, size_t i) {
  while (i < p.size() && !IsSeparator(p[i])) ++i;  // server
  if (i < p.size()) ++i;
  while (i < p.size() && !IsSeparator(p[i])) ++i;  // share
  return i;
}

bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Length of the path's root: "C:\" (3), "C:" (2), "\\server\share" (up to the share's end),
// the same after the long-path prefixes "\\?\" and "\\?\UNC\"; 0 when the path has none.
size_t RootLength(const std::u16string& p) {
  size_t start = 0;
  if (p.size() >= 4 && IsSeparator(p[0]) && IsSeparator(p[1]) && p[2] == u'?' && IsSeparator(p[3])) {
    start = 4;
    if (p.size() >= 8 && Lower(p[4]) == u'u' && Lower(p[5]) == u'n' && Lower(p[6]) == u'c' && IsSeparator(p[7]))
      return ShareRootEnd(p, 8);
  } else if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
    return ShareRootEnd(p, 2);
  }
  if (p.size() >= start + 2 && p[start + 1] == u':' && IsLetter(p[start]))
    return p.size() >= start + 3 && IsSeparator(p[start + 2]) ? start + 3 : start + 2;
  return start;
}

}  // namespace

ITEM_PATH_PARTS SplitItemPath(const std::u16string& path) {
  ITEM_PATH_PARTS parts;
  const size_t root = RootLength(path);
  size_t end = path.size();
  while (end > root && IsSeparator(path[end - 1])) --end;
  if (end <= root) {
    // A root alone is its own name ("C:\", "\\server\share"); so is a path of separators.
    parts.name = root > 0 ? path.substr(0, root) : path;
    return parts;
  }
  size_t slash = end;
  while (slash > root && !IsSeparator(path[slash - 1])) --slash;
  parts.name = path.substr(slash, end - slash);
  if (EndsWithNoCase(parts.name, u".lnk") && parts.name.size() > 4) parts.name.resize(parts.name.size() - 4);
  if (slash > 0) {
    // The folder keeps a drive root's separator ("C:\"), sheds any other.
    size_t folderEnd = slash;
    while (folderEnd > root && IsSeparator(path[folderEnd - 1])) --folderEnd;
    parts.folder = path.substr(0, folderEnd);
  }
  return parts;
}
