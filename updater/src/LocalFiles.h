// What the updater learns from the local machine: the file version of a program and the
// temporary folder with its uniquely named files. Empty results mean "not available".
#pragma once

#include <string>

namespace brindle {

// "%d.%d.%d.%d" from the fixed file version of path's version resource; empty when the file
// has none, or one larger than 16383 bytes, or one whose fixed part cannot be read.
std::wstring FileVersionText(const std::wstring& path);

// FileVersionText of the running process's executable.
std::wstring RunningProgramVersion();

// "%temp%" expanded (at most 260 characters, no trailing backslash added or removed); empty
// when the variable is unset or too long.
std::wstring TempFolder();

// Creates a new, uniquely named empty file in folder with the platform's rule (first three
// characters of prefix, a hexadecimal number, ".tmp"); returns its path, or empty on failure.
std::wstring CreateUniqueFile(const std::wstring& folder, const wchar_t* prefix);

// The folder part of a path, without the trailing backslash.
std::wstring FolderOf(const std::wstring& path);

}  // namespace brindle
