// Identify-block and storage-descriptor decoding for the disk serial number. Every read is
// bounded by the size of the block that arrived, and every text is cut at kDiskTextMax.
#include "DiskIdentity.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsPrint(unsigned char c) { return c >= 0x20 && c <= 0x7E; }
bool IsAlnum(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Value of a descriptor hex digit (white space counts as 0), or -1.
int HexValue(unsigned char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (IsSpace(c)) return 0;
  return -1;
}

std::string CutAtNul(const std::string& s) { return s.substr(0, std::min(s.find('\0'), s.size())); }

std::string Trim(const std::string& s, bool leading) {
  size_t b = 0, e = s.size();
  if (leading)
    while (b < e && IsSpace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsSpace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Limit(std::string s) {
  if (s.size() > kDiskTextMax) s.resize(kDiskTextMax);
  return s;
}

// The NUL-terminated string at offset in the descriptor, bounded by its size; empty when the
// offset is 0 or outside.
std::string DescriptorString(const unsigned char* d, size_t size, uint32_t offset) {
  if (offset == 0 || offset >= size) return std::string();
  const char* s = reinterpret_cast<const char*>(d + offset);
  size_t n = 0;
  while (offset + n < size && s[n]) ++n;
  return std::string(s, n);
}

}  // namespace

std::string XIdentifyText(const unsigned char* block, size_t size, int firstWord, int lastWord) {
  std::string out;
  if (!block || firstWord < 0 || lastWord < firstWord) return out;
  for (int w = firstWord; w <= lastWord; ++w) {
    size_t at = static_cast<size_t>(w) * 2;
    if (at + 1 >= size) break;
    const unsigned char pair[2] = {block[at + 1], block[at]};
    for (unsigned char c : pair) {
      if (c == 0) return Limit(Trim(out, false));
      if (c != ' ') out.push_back(static_cast<char>(c));
    }
  }
  return Limit(Trim(out, false));
}

XDiskIdentity XIdentityFromIdentifyBlock(const unsigned char* block, size_t size) {
  XDiskIdentity id;
  id.serial = XIdentifyText(block, size, 10, 19);
  id.model = XIdentifyText(block, size, 27, 46);
  return id;
}

std::string XDescriptorText(const char* text, size_t len, bool serialNumber) {
  if (!text) return std::string();
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
  std::string out;
  // Every character must be a digit; a lone last digit completes no byte and is dropped.
  bool hex = len > 0;
  for (size_t i = 0; hex && i < len; ++i) hex = HexValue(s[i]) >= 0;
  for (size_t i = 0; hex && i + 1 < len; i += 2) {
    unsigned char byte = static_cast<unsigned char>(HexValue(s[i]) * 16 + HexValue(s[i + 1]));
    if (byte != 0 && !IsPrint(byte)) hex = false;
    out.push_back(static_cast<char>(byte));
  }
  if (!hex) {
    out.clear();
    bool printable = true;
    for (size_t i = 0; i < len && printable; ++i) printable = IsPrint(s[i]);
    if (printable) out.assign(text, len);
  }
  out = CutAtNul(out);
  if (serialNumber) {
    if (out.size() % 2) out.push_back('\0');
    for (size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
    out = CutAtNul(out);
  }
  return Limit(Trim(out, true));
}

XDiskIdentity XIdentityFromDescriptor(const unsigned char* descriptor, size_t size) {
  XDiskIdentity id;
  if (!descriptor || size < kDescriptorHeaderSize) return id;
  uint32_t ownSize, productAt, serialAt;
  memcpy(&ownSize, descriptor + kDescriptorSizeAt, sizeof ownSize);
  memcpy(&productAt, descriptor + kDescriptorProductAt, sizeof productAt);
  memcpy(&serialAt, descriptor + kDescriptorSerialAt, sizeof serialAt);
  // The descriptor's own size bounds its strings as much as the bytes received do.
  if (ownSize >= kDescriptorHeaderSize && ownSize < size) size = ownSize;
  std::string serial = DescriptorString(descriptor, size, serialAt);
  std::string product = DescriptorString(descriptor, size, productAt);
  id.serial = XDescriptorText(serial.data(), serial.size(), true);
  id.model = XDescriptorText(product.data(), product.size(), false);
  return id;
}

bool XSerialLooksValid(const std::string& serial) {
  if (serial.empty()) return false;
  if (IsAlnum(static_cast<unsigned char>(serial[0]))) return true;
  return serial.size() > 19 && IsAlnum(static_cast<unsigned char>(serial[19]));
}

bool XDiskIdentityPick::Offer(const XDiskIdentity& candidate) {
  if (m_found || !XSerialLooksValid(candidate.serial)) return false;
  m_identity = candidate;
  m_found = true;
  return true;
}
