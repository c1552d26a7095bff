// Plain value rules of the script module: how Lua numbers become 32-bit integers, the
// operators of BitComputing, and the white space skipped at the start of XML text chunks.
// Pure functions, no Lua or Win32 state.
#pragma once

#include <cstddef>
#include <cstdint>

// Integer part of n, wrapped modulo 2^32 into a signed 32-bit value; NaN and infinities give 0.
int32_t OskelToInt32(double n);

// "<<" and ">>" shift by b mod 32 (">>" fills with zeros), "&" and "|" are bitwise; the
// operator must match exactly (opLen bytes), anything else gives 0.
int32_t OskelBitComputing(int32_t a, const char* op, size_t opLen, int32_t b);

inline int32_t OskelHiWord(int32_t n) { return static_cast<int32_t>(static_cast<uint32_t>(n) >> 16); }
inline int32_t OskelLoWord(int32_t n) { return n & 0xFFFF; }

// Count of leading tabs, line feeds and spaces; carriage returns are not skipped.
size_t OskelLeadingBlanks(const char* s, size_t len);
