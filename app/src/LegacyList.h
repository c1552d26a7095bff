// The lines of the legacy list file (older versions' favourites): ANSI bytes, one path per
// line. Platform-neutral; the caller widens each line with the ANSI code page.
#pragma once

#include <string>
#include <vector>

// The non-empty lines of bytes in file order: LF or CR LF line ends, any length, a last line
// without a line end included. Bytes are kept as they are (NULs too).
std::vector<std::string> SplitLegacyLines(const std::string& bytes);
