// Skin package body walk. Every header, name and data range is checked against the body in
// 64-bit arithmetic before anything is read from it.
#include "SkinPackageIndex.h"

#include "XSkinPackageFormat.h"

namespace {

using xskin::kLocalHeaderSize;
using xskin::kLocalSignature;
const int kMaxIndexedName = 2600;

uint32_t Le16(const unsigned char* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

int XWalkPackageBody(const unsigned char* body, int size, const std::function<void(const XPackageEntryView&)>& visit) {
  if (!body || size <= 0) return 1;
  const long long end = size;
  long long p = 0;
  while (p < end) {
    if (end - p < 4) return 0;  // a torn signature
    const unsigned char* h = body + p;
    if (Le32(h) != kLocalSignature) return 1;
    if (end - p < kLocalHeaderSize) return 0;
    if (Le16(h + 8) != 0) return 0;  // compressed entries are not served
    const long long n = Le16(h + 26), e = Le16(h + 28), c = Le32(h + 18);
    const long long data = p + kLocalHeaderSize + n + e;
    if (data > end || c > end - data) return 0;  // name, extra field or data past the body
    if (c > 0 && n > 0 && n < kMaxIndexedName) {
      XPackageEntryView entry;
      entry.name = reinterpret_cast<const char*>(h + kLocalHeaderSize);
      entry.nameLength = static_cast<size_t>(n);
      entry.dataOffset = static_cast<uint32_t>(data);
      entry.dataSize = static_cast<uint32_t>(c);
      visit(entry);
    }
    p = data + c;
  }
  return 1;
}
