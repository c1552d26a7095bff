// Owning holders for the USER and shell objects the program makes: icons, popup menus, image
// lists and shell item id lists. Each is destroyed exactly once, by its holder, whatever way
// the scope is left.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <type_traits>

struct XIconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using CXIcon = std::unique_ptr<std::remove_pointer<HICON>::type, XIconDeleter>;

struct XMenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using CXMenu = std::unique_ptr<std::remove_pointer<HMENU>::type, XMenuDeleter>;

struct XImageListDeleter {
  void operator()(HIMAGELIST images) const { ImageList_Destroy(images); }
};
using CXImageList = std::unique_ptr<std::remove_pointer<HIMAGELIST>::type, XImageListDeleter>;

// An item id list handed out by the shell (freed with the task allocator).
struct XItemIdListDeleter {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using CXItemIdList = std::unique_ptr<ITEMIDLIST, XItemIdListDeleter>;
