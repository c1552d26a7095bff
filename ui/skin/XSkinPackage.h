// CXSkinPackage: the skin package held in memory. The file is a 20-byte header and a body
// enciphered with the package key; the plain body is a run of stored ZIP local entries that
// is indexed once by lower-cased name. Invariant: every indexed entry lies inside the body.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "WendoraApi.h"
#include "XBuffer.h"
#include "XSkinPackageFormat.h"

struct PACKAGE_ENTRY {
  DWORD dwOffset;     // data offset from the start of the body
  DWORD dwSize;       // data size
  char szName[260];   // the entry's 8-bit name, cut to fit and terminated
};

typedef std::map<std::wstring, PACKAGE_ENTRY> XPackageIndex;

// Walks a plain body from offset 0 and adds every stored entry with data and a name to the
// index (a later duplicate wins). 1 when the walk ends at a foreign signature or the end of
// the body; 0 at a compressed entry or an entry whose header, name or data runs past the end.
WENDORA_API int XIndexPackageBody(const unsigned char* body, int size, XPackageIndex& index);

class WENDORA_API CXSkinPackage {
 public:
  static const int kHeaderSize = xskin::kHeaderSize;
  static const char* Key() { return xskin::kPackageKey; }

  // The process's package (loaded by the start-up sequence).
  static CXSkinPackage& Instance();

  CXSkinPackage() = default;
  CXSkinPackage(const CXSkinPackage&) = delete;
  CXSkinPackage& operator=(const CXSkinPackage&) = delete;

  // Reads, deciphers (through the service library's IHash) and indexes a package file,
  // replacing what was loaded before. 1 on success; on failure the entries indexed before
  // the failing point stay usable.
  int Load(const wchar_t* path);
  // Copies an entry (name compared without regard to case) into dst: 1, or 0 with dst
  // untouched when there is no such entry.
  int Extract(XBuffer<unsigned char>& dst, const wchar_t* name) const;

  int GetEntryCount() const { return static_cast<int>(m_index.size()); }
  int GetBodySize() const { return m_body.GetSize(); }
  const XPackageIndex& GetIndex() const { return m_index; }

 private:
  XBuffer<unsigned char> m_body;
  XPackageIndex m_index;
};

// Extract from the process's package: the one way every skin file reader gets its bytes.
WENDORA_API int XExtractSkinFile(XBuffer<unsigned char>& dst, const wchar_t* name);
