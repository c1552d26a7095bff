// Decoding rules for the identity of physical disk 0: the text fields of a drive's 512-byte
// identify block, the strings of a storage device descriptor, and which candidate serial
// number is kept. Platform-neutral functions over byte blocks, every read bounded by the block.
#pragma once

#include <cstddef>
#include <string>

struct XDiskIdentity {
  std::string serial;  // at most kDiskTextMax characters each
  std::string model;
};

constexpr size_t kDiskTextMax = 1023;

// Layout of the storage device descriptor's fixed part (little-endian 32-bit fields).
constexpr size_t kDescriptorHeaderSize = 40;
constexpr size_t kDescriptorSizeAt = 4;
constexpr size_t kDescriptorProductAt = 16;
constexpr size_t kDescriptorSerialAt = 24;

// Text of identify-block words first..last (inclusive), each word giving its high byte, then
// its low byte; ends at a NUL; blanks dropped wherever they are; trailing white space cut.
std::string XIdentifyText(const unsigned char* block, size_t size, int firstWord, int lastWord);
// Serial number (words 10 to 19) and model (words 27 to 46) of an identify block.
XDiskIdentity XIdentityFromIdentifyBlock(const unsigned char* block, size_t size);

// One string of a storage device descriptor (len characters, without its terminator).
// Hex digits (white space counting as 0) are decoded two to a byte, a lone last digit giving
// none; when that fails (a non-digit, or a byte neither printable nor 0) the string is
// taken as it is when printable, else it is empty. A serial number then has its bytes swapped
// in pairs (an odd last character drops off). Leading and trailing white space are cut.
std::string XDescriptorText(const char* text, size_t len, bool serialNumber);
// Serial number and product strings of a storage device descriptor of size valid bytes.
XDiskIdentity XIdentityFromDescriptor(const unsigned char* descriptor, size_t size);

// A candidate serial number counts when its first or its twentieth character is a letter or
// a digit.
bool XSerialLooksValid(const std::string& serial);

// Keeps the first acceptable candidate, with the model that came with it.
class XDiskIdentityPick {
 public:
  bool Offer(const XDiskIdentity& candidate);  // true when this candidate was taken
  bool Found() const { return m_found; }
  const XDiskIdentity& Identity() const { return m_identity; }

 private:
  bool m_found = false;
  XDiskIdentity m_identity;
};
