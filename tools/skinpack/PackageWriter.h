// Writer of the skin package format, portable C++ with no system calls, shared by the host
// packer and by tests and benchmarks that need packages of their own. A package is a
// 20-byte header and a body of stored ZIP local entries, XOR-enciphered with a repeating key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "XSkinPackageFormat.h"

namespace skinpack {

inline const char* DefaultKey() { return xskin::kPackageKey; }

struct Entry {
  std::string name;  // 8-bit name as the reader will see it, e.g. "res\\main.xml"
  std::string data;
};

inline uint32_t Crc32(const void* data, size_t size) {
  static uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    ready = true;
  }
  uint32_t crc = 0xFFFFFFFFu;
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

inline void PutLe16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
inline void PutLe32(std::string& out, uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}

// One local entry: stored (method 0 unless told otherwise), fixed 1980-01-01 time stamp so
// that packing the same sources gives the same bytes.
inline void AppendLocalEntry(std::string& body, const std::string& name, const std::string& data,
                             uint16_t method = 0) {
  PutLe32(body, xskin::kLocalSignature);
  PutLe16(body, 10);       // version needed
  PutLe16(body, 0);        // flags
  PutLe16(body, method);
  PutLe16(body, 0);        // time
  PutLe16(body, 0x0021);   // date: 1980-01-01
  PutLe32(body, Crc32(data.data(), data.size()));
  PutLe32(body, static_cast<uint32_t>(data.size()));
  PutLe32(body, static_cast<uint32_t>(data.size()));
  PutLe16(body, static_cast<uint32_t>(name.size()));
  PutLe16(body, 0);        // extra length
  body += name;
  body += data;
}

inline void Encipher(std::string& bytes, size_t from, const std::string& key) {
  if (key.empty()) return;
  for (size_t i = from, k = 0; i < bytes.size(); ++i, k = (k + 1 == key.size() ? 0 : k + 1))
    bytes[i] = static_cast<char>(bytes[i] ^ key[k]);
}

// Header: "XSKN", format 1, flags 0, entry count, body size, CRC-32 of the plain body.
inline std::string MakeHeader(uint32_t entries, const std::string& plainBody) {
  std::string h(xskin::kHeaderMagic);
  PutLe16(h, xskin::kFormat);
  PutLe16(h, 0);
  PutLe32(h, entries);
  PutLe32(h, static_cast<uint32_t>(plainBody.size()));
  PutLe32(h, Crc32(plainBody.data(), plainBody.size()));
  return h;
}

// Whole package from a plain body (a run of local entries, possibly hand-made by a test).
inline std::string PackBody(const std::string& plainBody, uint32_t entries, const std::string& key = DefaultKey()) {
  std::string out = MakeHeader(entries, plainBody);
  out += plainBody;
  Encipher(out, xskin::kHeaderSize, key);
  return out;
}

inline std::string BuildPackage(const std::vector<Entry>& entries, const std::string& key = DefaultKey()) {
  std::string body;
  for (const Entry& e : entries) AppendLocalEntry(body, e.name, e.data);
  return PackBody(body, static_cast<uint32_t>(entries.size()), key);
}

}  // namespace skinpack
