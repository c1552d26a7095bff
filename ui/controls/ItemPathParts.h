// How a list row shows a path: the item's own name on the first line, the folder it lies in
// on the second. Platform-neutral (UTF-16 as char16_t) and pure: the parts are derived from
// the text alone, never from the file system, and always come from the path's own characters.
#pragma once

#include <string>

struct ITEM_PATH_PARTS {
  std::u16string name;    // "notes.txt", "Editor" for "Editor.lnk", "C:\" for a drive root
  std::u16string folder;  // where it lies ("C:\Tools"), empty for a root or a bare name
};

// Either separator counts; trailing separators are ignored. A root (a drive "C:\", a share
// "\\server\share", a lone "\\server") is its own name with no folder. A shortcut's ".lnk"
// (any case) is dropped from its name unless nothing would be left.
ITEM_PATH_PARTS SplitItemPath(const std::u16string& path);
