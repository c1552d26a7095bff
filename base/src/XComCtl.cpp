// comctl32 loaded once per module at its first use and kept until the process ends; each
// entry point is looked up once.
#include "XComCtl.h"

namespace {

HMODULE Library() {
  static const HMODULE library = LoadLibraryW(L"comctl32.dll");
  return library;
}

// By name, or by the ordinal where older versions export it only so.
template <class F>
F Entry(const char* name, WORD ordinal = 0) {
  HMODULE library = Library();
  if (!library) return nullptr;
  FARPROC proc = GetProcAddress(library, name);
  if (!proc && ordinal) proc = GetProcAddress(library, MAKEINTRESOURCEA(ordinal));
  return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}

}  // namespace

BOOL XInitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
  static const auto f = Entry<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
  return f ? f(controls) : FALSE;
}

HIMAGELIST XImageList_Create(int width, int height, UINT flags, int initial, int grow) {
  static const auto f = Entry<HIMAGELIST(WINAPI*)(int, int, UINT, int, int)>("ImageList_Create");
  return f ? f(width, height, flags, initial, grow) : nullptr;
}

BOOL XImageList_Destroy(HIMAGELIST images) {
  static const auto f = Entry<BOOL(WINAPI*)(HIMAGELIST)>("ImageList_Destroy");
  return f && images ? f(images) : FALSE;
}

int XImageList_GetImageCount(HIMAGELIST images) {
  static const auto f = Entry<int(WINAPI*)(HIMAGELIST)>("ImageList_GetImageCount");
  return f && images ? f(images) : 0;
}

BOOL XImageList_GetIconSize(HIMAGELIST images, int* width, int* height) {
  static const auto f = Entry<BOOL(WINAPI*)(HIMAGELIST, int*, int*)>("ImageList_GetIconSize");
  return f && images ? f(images, width, height) : FALSE;
}

int XImageList_ReplaceIcon(HIMAGELIST images, int index, HICON icon) {
  static const auto f = Entry<int(WINAPI*)(HIMAGELIST, int, HICON)>("ImageList_ReplaceIcon");
  return f && images ? f(images, index, icon) : -1;
}

int XImageList_Add(HIMAGELIST images, HBITMAP image, HBITMAP mask) {
  static const auto f = Entry<int(WINAPI*)(HIMAGELIST, HBITMAP, HBITMAP)>("ImageList_Add");
  return f && images ? f(images, image, mask) : -1;
}

BOOL XImageList_Draw(HIMAGELIST images, int index, HDC dc, int x, int y, UINT style) {
  static const auto f = Entry<BOOL(WINAPI*)(HIMAGELIST, int, HDC, int, int, UINT)>("ImageList_Draw");
  return f && images ? f(images, index, dc, x, y, style) : FALSE;
}

BOOL XSetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  static const auto f = Entry<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR)>("SetWindowSubclass", 410);
  return f ? f(window, proc, id, data) : FALSE;
}

BOOL XRemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id) {
  static const auto f = Entry<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR)>("RemoveWindowSubclass", 412);
  return f ? f(window, proc, id) : FALSE;
}

LRESULT XDefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static const auto f = Entry<LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM)>("DefSubclassProc", 413);
  return f ? f(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}
