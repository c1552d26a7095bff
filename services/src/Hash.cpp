// CHash: RFC 1321 MD5 and the repeating-key XOR used for the skin package.
#include "Hash.h"

#include <emmintrin.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

struct Md5 {
  uint32_t a = 0x67452301, b = 0xefcdab89, c = 0x98badcfe, d = 0x10325476;

  static uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

  void Block(const uint8_t* p) {
    static const uint32_t K[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
        0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
        0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
        0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
        0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
        0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
        0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
    static const int S[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                              5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                              4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                              6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    uint32_t m[16];
    for (int i = 0; i < 16; ++i)
      m[i] = p[i * 4] | (p[i * 4 + 1] << 8) | (p[i * 4 + 2] << 16) | (static_cast<uint32_t>(p[i * 4 + 3]) << 24);
    uint32_t A = a, B = b, C = c, D = d;
    for (int i = 0; i < 64; ++i) {
      uint32_t f;
      int g;
      if (i < 16) { f = (B & C) | (~B & D); g = i; }
      else if (i < 32) { f = (D & B) | (~D & C); g = (5 * i + 1) % 16; }
      else if (i < 48) { f = B ^ C ^ D; g = (3 * i + 5) % 16; }
      else { f = C ^ (B | ~D); g = (7 * i) % 16; }
      uint32_t t = D;
      D = C;
      C = B;
      B = B + Rotl(A + f + K[i] + m[g], S[i]);
      A = t;
    }
    a += A; b += B; c += C; d += D;
  }
};

}  // namespace

void XMd5(const void* data, size_t length, uint8_t digest[16]) {
  Md5 md;
  const uint8_t* p = static_cast<const uint8_t*>(data);
  size_t full = length / 64;
  for (size_t i = 0; i < full; ++i) md.Block(p + i * 64);
  // Tail: the rest, 0x80, zeros, and the bit length in the last 8 bytes (one or two blocks).
  uint8_t tail[128] = {0};
  size_t rest = length % 64;
  if (rest) memcpy(tail, p + full * 64, rest);
  tail[rest] = 0x80;
  size_t tailLen = rest < 56 ? 64 : 128;
  uint64_t bits = static_cast<uint64_t>(length) * 8;
  for (int i = 0; i < 8; ++i) tail[tailLen - 8 + i] = static_cast<uint8_t>(bits >> (8 * i));
  for (size_t off = 0; off < tailLen; off += 64) md.Block(tail + off);
  const uint32_t words[4] = {md.a, md.b, md.c, md.d};
  for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
}

HRESULT CHash::QueryInterface(const GUID* id, void** out) {
  if (!out) return E_POINTER;
  if (id && XIsEqualId(*id, IID_IHash)) {
    *out = static_cast<IHash*>(this);
    AddRef();
    return S_OK;
  }
  return QueryPrimary(id, out, IID_IMD5);
}

void CHash::MD5String(const char* text, char* out) {
  if (!out) return;
  if (!text) text = "";
  uint8_t digest[16];
  XMd5(text, strlen(text), digest);
  static const char hex[] = "0123456789abcdef";
  for (int i = 0; i < 16; ++i) {
    out[i * 2] = hex[digest[i] >> 4];
    out[i * 2 + 1] = hex[digest[i] & 15];
  }
}

namespace {

// XOR of size bytes (a multiple of 16) with a key stream of the same length.
__attribute__((target("sse2"))) void XorBlockSse2(unsigned char* out, const unsigned char* in,
                                                  const unsigned char* stream, size_t size) {
  for (size_t j = 0; j < size; j += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + j));
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stream + j));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_xor_si128(v, s));
  }
}

void XorBlockWords(unsigned char* out, const unsigned char* in, const unsigned char* stream, size_t size) {
  for (size_t j = 0; j < size; j += 4) {
    uint32_t v, s;
    memcpy(&v, in + j, 4);
    memcpy(&s, stream + j, 4);
    v ^= s;
    memcpy(out + j, &v, 4);
  }
}

bool HasSse2() {
  static const bool has = __builtin_cpu_supports("sse2");
  return has;
}

}  // namespace

void CHash::Decipher(const unsigned char* in, const char* key, unsigned char* out, int length) {
  if (!in || !out || length <= 0) return;
  size_t k = key ? strlen(key) : 0;
  if (k == 0) {  // an empty key leaves the bytes as they are
    if (in != out) memmove(out, in, static_cast<size_t>(length));
    return;
  }
  const unsigned char* kb = reinterpret_cast<const unsigned char*>(key);
  const size_t n = static_cast<size_t>(length);
  size_t i = 0;
  // The package body is deciphered at start-up: whole blocks of 16 key repetitions (a
  // multiple of 16 bytes, so the key phase restarts at every block) go 16 bytes at a time.
  const size_t block = k * 16;
  // A key so long that its stream cannot be had falls through to the byte loop below.
  std::unique_ptr<unsigned char[]> stream(n >= block ? new (std::nothrow) unsigned char[block] : nullptr);
  if (stream) {
    for (size_t j = 0; j < block; ++j) stream[j] = kb[j % k];
    const bool sse2 = HasSse2();
    for (; i + block <= n; i += block) {
      if (sse2)
        XorBlockSse2(out + i, in + i, stream.get(), block);
      else
        XorBlockWords(out + i, in + i, stream.get(), block);
    }
  }
  for (size_t j = 0; i < n; ++i, j = (j + 1 == k ? 0 : j + 1)) out[i] = in[i] ^ kb[j];
}
