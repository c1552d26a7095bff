// The walk over a skin package's plain body: a run of stored ZIP local entries. Platform-
// neutral; the package turns each entry into an index record. Invariant: every entry handed
// out lies inside the body, its name included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

struct XPackageEntryView {
  const char* name;     // the entry's 8-bit name, not terminated
  size_t nameLength;    // 1 to 2599 bytes
  uint32_t dataOffset;  // from the start of the body
  uint32_t dataSize;    // at least 1
};

// Walks a plain body from offset 0 and hands every stored entry with data and a name to
// visit, in body order. 1 when the walk ends at a foreign signature or the end of the body;
// 0 at a compressed entry or an entry whose header, name or data runs past the end.
int XWalkPackageBody(const unsigned char* body, int size, const std::function<void(const XPackageEntryView&)>& visit);
