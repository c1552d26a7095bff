// The skin package's fixed layout, shared by the framework's reader and the host packer: a
// 20-byte header and a body of stored ZIP local entries, XOR-enciphered with the package key.
// Portable C++ without system headers. Every package ever written depends on these values.
#pragma once

#include <cstdint>

namespace xskin {

// The repeating XOR key of the body (the header is not enciphered).
inline constexpr char kPackageKey[] = "qmtzrvakp";

// Header: magic "XSKN", format (16 bits), flags (16 bits), entry count, plain body size and
// CRC-32 of the plain body (32 bits each), all little-endian. The reader skips it.
inline constexpr char kHeaderMagic[] = "XSKN";
inline constexpr uint16_t kFormat = 1;
inline constexpr int kHeaderSize = 20;

// A stored ZIP local entry: its signature and its fixed header size before the name.
inline constexpr uint32_t kLocalSignature = 0x04034B50;
inline constexpr int kLocalHeaderSize = 30;

}  // namespace xskin
