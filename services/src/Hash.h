// CHash: MD5 digests as hex text (IMD5, primary) and the repeating-key XOR of the skin
// package (IHash, second). Stateless apart from the shared reference count.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ServiceInterfaces.h"
#include "XObject.h"

class CHash : public CXObject<IMD5>, public IHash {
 public:
  CHash() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  LONG __stdcall AddRef() override { return CXObject<IMD5>::AddRef(); }
  LONG __stdcall Release() override { return CXObject<IMD5>::Release(); }

  void __stdcall MD5String(const char* text, char* out) override;
  void __stdcall Reserved(UINT_PTR, UINT_PTR, UINT_PTR) override {}
  void __stdcall Decipher(const unsigned char* in, const char* key, unsigned char* out, int length) override;

 private:
  ~CHash() override = default;
};

// RFC 1321 digest of a byte range.
void XMd5(const void* data, size_t length, uint8_t digest[16]);
