// Icon cache file, little-endian:
//   "PVIC", u32 version (1), u32 entry count, then per entry
//   u16 path length, path (UTF-16 units), u64 write time, u64 size, u16 width, u16 height,
//   width * height * 4 pixel bytes (or none when both sides are 0), u32 FNV-1a of the entry's
//   bytes before it.
// Every read is checked against the bytes left first.
#include "IconCache.h"

namespace {

const char kMagic[4] = {'P', 'V', 'I', 'C'};
const uint32_t kVersion = 1;

uint32_t Fnv1a(const uint8_t* data, size_t size) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  bool Has(size_t n) const { return m_size - m_pos >= n; }
  size_t Pos() const { return m_pos; }
  const uint8_t* At(size_t pos) const { return m_data + pos; }
  bool Uint(size_t bytes, uint64_t& value) {
    if (!Has(bytes)) return false;
    value = 0;
    for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(m_data[m_pos + i]) << (8 * i);
    m_pos += bytes;
    return true;
  }
  bool Bytes(size_t n, const uint8_t*& out) {
    if (!Has(n)) return false;
    out = m_data + m_pos;
    m_pos += n;
    return true;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

void PutUint(std::string& out, uint64_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool WithinBounds(const ICON_CACHE_ENTRY& e) {
  if (e.path.empty() || e.path.size() > kIconCacheMaxPath) return false;
  if (e.width > kIconCacheMaxSide || e.height > kIconCacheMaxSide) return false;
  if ((e.width == 0) != (e.height == 0)) return false;
  return e.pixels.size() == static_cast<size_t>(e.width) * e.height * 4;
}

bool ReadEntry(Reader& in, ICON_CACHE_ENTRY& e) {
  const size_t start = in.Pos();
  uint64_t length = 0, width = 0, height = 0;
  const uint8_t* bytes = nullptr;
  if (!in.Uint(2, length) || length == 0 || length > kIconCacheMaxPath || !in.Bytes(length * 2, bytes)) return false;
  e.path.resize(length);
  for (size_t i = 0; i < length; ++i) e.path[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  if (!in.Uint(8, e.writeTime) || !in.Uint(8, e.size) || !in.Uint(2, width) || !in.Uint(2, height)) return false;
  if (width > kIconCacheMaxSide || height > kIconCacheMaxSide || (width == 0) != (height == 0)) return false;
  e.width = static_cast<uint16_t>(width);
  e.height = static_cast<uint16_t>(height);
  const size_t pixelBytes = static_cast<size_t>(width * height * 4);
  if (!in.Bytes(pixelBytes, bytes)) return false;
  e.pixels.assign(bytes, bytes + pixelBytes);
  const uint32_t expected = Fnv1a(in.At(start), in.Pos() - start);
  uint64_t sum = 0;
  return in.Uint(4, sum) && sum == expected;
}

}  // namespace

std::vector<ICON_CACHE_ENTRY> ReadIconCache(const uint8_t* data, size_t size) {
  std::vector<ICON_CACHE_ENTRY> entries;
  if (!data) return entries;
  Reader in(data, size);
  const uint8_t* magic = nullptr;
  uint64_t version = 0, count = 0;
  if (!in.Bytes(4, magic) || std::string(reinterpret_cast<const char*>(magic), 4) != std::string(kMagic, 4) ||
      !in.Uint(4, version) || version != kVersion || !in.Uint(4, count))
    return entries;
  for (uint64_t i = 0; i < count && i < kIconCacheMaxEntries; ++i) {
    ICON_CACHE_ENTRY e;
    if (!ReadEntry(in, e)) break;
    entries.push_back(std::move(e));
  }
  return entries;
}

std::string WriteIconCache(const std::vector<ICON_CACHE_ENTRY>& entries) {
  std::string body;
  uint32_t count = 0;
  for (const ICON_CACHE_ENTRY& e : entries) {
    if (count == kIconCacheMaxEntries) break;
    if (!WithinBounds(e)) continue;
    const size_t start = body.size();
    PutUint(body, e.path.size(), 2);
    for (char16_t c : e.path) PutUint(body, c, 2);
    PutUint(body, e.writeTime, 8);
    PutUint(body, e.size, 8);
    PutUint(body, e.width, 2);
    PutUint(body, e.height, 2);
    body.append(reinterpret_cast<const char*>(e.pixels.data()), e.pixels.size());
    PutUint(body, Fnv1a(reinterpret_cast<const uint8_t*>(body.data()) + start, body.size() - start), 4);
    ++count;
  }
  std::string out(kMagic, 4);
  PutUint(out, kVersion, 4);
  PutUint(out, count, 4);
  return out + body;
}
