// Shell item utilities: special folders, type icons, shortcut files and opening a favourite
// the way the user expects. Stateless apart from the cached answer of Is64BitSystem.
#pragma once

#include <windows.h>

#include "XString.h"

// Path of a special folder (CSIDL_*); 1 when obtained, else 0 with path emptied.
int GetSpecialFolderPath(int csidl, CString& path);

// Large icon chosen by type only (the item is never read): the folder icon for an existing
// folder, else the icon registered for the path's extension. Null on failure; the caller
// owns the icon.
HICON GetFileTypeIcon(const CString& path);
// The two halves of it, without asking the file system what the path is: the folder icon,
// and the icon of the path's extension as a file.
HICON GetFolderTypeIcon();
HICON GetFileExtensionIcon(const CString& path);

// Type keys, one per type icon: folders have their own (no extension can hold a backslash),
// files their extension in lower case ("" for none).
extern const wchar_t kFolderKey[];
std::wstring ExtensionKey(const CString& path);
// What the name suggests, without the file system: an extension names a file type, and a
// name without one is taken for a folder.
std::wstring GuessedTypeKey(const CString& path);
// What GetFileTypeIcon goes by, on a local fixed drive; elsewhere (a share, a removable or
// optical drive, which can keep the caller waiting for seconds) the guess, unasked.
std::wstring ExactTypeKey(const CString& path);
// Whether a path is on a drive letter whose drive is fixed or a RAM disk (the program's drive
// type seam is all it asks).
bool IsOnLocalFixedDrive(const std::wstring& path);

// Reads a shortcut file. 1 when the file could be loaded (target may still be empty), else
// 0 with target emptied.
int ResolveShortcut(const CString& shortcut, CString& target);

// Writes a shortcut to target (working folder: the target's folder, show command SW_SHOW).
// description may be null. Always returns 0.
int CreateShortcut(const CString& target, const wchar_t* description, const CString& shortcut);

// 1 when the machine's native processor architecture is x64 or Itanium, else 0 (cached).
int Is64BitSystem();

// Whether the shell can be handed the path whole (shorter than MAX_PATH). A longer path is
// refused by every start of the program, never cut: a cut path can name another item.
bool PathFitsShell(const CString& path);

// Opens a favourite: folders in the file manager, shortcuts through their target, other
// items by their file type, with the open-with chooser as the last resort. 1 when something
// was started, else 0 (also for a path the shell cannot take whole).
int OpenItem(const CString& path);

// Full path of the running executable, whatever its length (empty when it cannot be read),
// and its folder with a trailing backslash.
CString ProgramPath();
CString ProgramFolder();

// Small path helpers shared by the store and the shell utilities.
bool PathIsExistingFolder(const CString& path);
bool PathExistsAtAll(const CString& path);
CString PathWithoutLastComponent(const CString& path);
// The path without trailing backslashes, as paths are stored; a drive root ("C:\") and a
// lone backslash keep theirs.
CString PathWithoutTrailingBackslash(const CString& path);
