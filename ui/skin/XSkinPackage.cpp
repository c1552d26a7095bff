// Loading is one read, one in-place decipher pass and one index walk; extraction is an index
// lookup and one copy. The walk checks every header, name and data range against the body.
#include "XSkinPackage.h"

#include <cstring>

#include "ServiceInterfaces.h"
#include "XServiceLib.h"
#include "XString.h"
#include "XWin.h"

namespace {

using xskin::kLocalHeaderSize;
using xskin::kLocalSignature;
const int kMaxIndexedName = 2600;

DWORD Le16(const unsigned char* p) { return static_cast<DWORD>(p[0] | (p[1] << 8)); }
DWORD Le32(const unsigned char* p) {
  return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
         (static_cast<DWORD>(p[3]) << 24);
}

std::wstring IndexKey(const char* name, int length) {
  std::wstring key = XWiden(name, length, CP_ACP);
  if (!key.empty()) CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
  return key;
}

bool ReadAll(HANDLE file, unsigned char* out, DWORD size) {
  while (size > 0) {
    DWORD got = 0;
    if (!ReadFile(file, out, size, &got, nullptr) || got == 0) return false;
    out += got;
    size -= got;
  }
  return true;
}

}  // namespace

int XIndexPackageBody(const unsigned char* body, int size, XPackageIndex& index) {
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
      const char* name = reinterpret_cast<const char*>(h + kLocalHeaderSize);
      PACKAGE_ENTRY entry;
      entry.dwOffset = static_cast<DWORD>(data);
      entry.dwSize = static_cast<DWORD>(c);
      size_t keep = static_cast<size_t>(n) < sizeof entry.szName - 1 ? static_cast<size_t>(n) : sizeof entry.szName - 1;
      memcpy(entry.szName, name, keep);
      entry.szName[keep] = 0;
      index[IndexKey(name, static_cast<int>(n))] = entry;
    }
    p = data + c;
  }
  return 1;
}

CXSkinPackage& CXSkinPackage::Instance() {
  static CXSkinPackage package;
  return package;
}

int CXSkinPackage::Load(const wchar_t* path) {
  m_index.clear();
  m_body.Free();
  if (!path || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return 0;
  CXHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.Valid()) return 0;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFF0) return 0;

  // The header is read past; the body lands in its final buffer and is deciphered in place.
  XBuffer<unsigned char> body;
  unsigned char header[kHeaderSize];
  const long long bodySize = size.QuadPart - kHeaderSize;
  if (size.QuadPart >= kHeaderSize && !ReadAll(file.Get(), header, kHeaderSize)) return 0;
  if (bodySize > 0 && (!body.Resize(static_cast<int>(bodySize)) ||
                       !ReadAll(file.Get(), body.GetData(), static_cast<DWORD>(bodySize))))
    return 0;

  CXComPtr<IXUnknown> object(static_cast<IXUnknown*>(CXServiceLib::CreateInstance(IID_IHash)));
  if (!object) return 0;
  CXComPtr<IHash> hash;
  if (FAILED(object->QueryInterface(&IID_IHash, hash.OutVoid())) || !hash) return 0;
  if (body.GetSize() > 0) hash->Decipher(body.GetData(), Key(), body.GetData(), body.GetSize());

  m_body = std::move(body);
  return XIndexPackageBody(m_body.GetData(), m_body.GetSize(), m_index);
}

int CXSkinPackage::Extract(XBuffer<unsigned char>& dst, const wchar_t* name) const {
  if (!name) return 0;
  std::wstring key(name);
  if (!key.empty()) CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
  auto it = m_index.find(key);
  if (it == m_index.end()) return 0;
  const PACKAGE_ENTRY& entry = it->second;
  return dst.Assign(m_body.GetData() + entry.dwOffset, static_cast<int>(entry.dwSize)) ? 1 : 0;
}

int XExtractSkinFile(XBuffer<unsigned char>& dst, const wchar_t* name) {
  return CXSkinPackage::Instance().Extract(dst, name);
}
