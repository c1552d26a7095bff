// Helpers of the fuzz targets: UTF-16 text from raw bytes, and a check that stops the run
// with a message when a parser breaks its own promise (libFuzzer then keeps the input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FUZZ_CHECK(cond)                                                     \
  do {                                                                       \
    if (!(cond)) {                                                           \
      fprintf(stderr, "%s:%d: promise broken: %s\n", __FILE__, __LINE__, #cond); \
      abort();                                                               \
    }                                                                        \
  } while (0)

// Little-endian UTF-16 units of the bytes (an odd last byte is dropped).
inline std::u16string FuzzU16(const uint8_t* data, size_t size) {
  std::u16string s;
  s.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) s += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  return s;
}
