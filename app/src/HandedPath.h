// Paths handed to the program by other processes: the "/add" switch of the command line and
// the payload of a copy-data message. Platform-neutral (UTF-16 as char16_t, bytes as bytes),
// so the rules can be fuzzed natively; nothing here reads past the text or record it is given.
#pragma once

#include <cstddef>
#include <string>

// The path given with "/add": everything from five characters after the first "/add"
// (case-sensitive, anywhere in the text; the four letters and one separator of any kind),
// with every leading and trailing double quote removed. found tells whether the switch was
// there at all (a bare "/add" gives an empty path).
std::u16string ParseAddSwitchText(const std::u16string& commandLine, bool* found = nullptr);

// The path of a copy-data record: UTF-16 units ending at the first NUL or at the record's
// end, whichever comes first (an odd last byte is no unit). Null data gives an empty path.
std::u16string PathFromCopyData(const void* data, size_t bytes);
