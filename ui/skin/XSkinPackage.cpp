// Loading is one read, one in-place decipher pass and one index walk; extraction is an index
// lookup and one copy. The walk (SkinPackageIndex) checks every range against the body.
#include "XSkinPackage.h"

#include <cstring>

#include "ServiceInterfaces.h"
#include "SkinPackageIndex.h"
#include "XServiceLib.h"
#include "XString.h"
#include "XWin.h"

namespace {

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
  return XWalkPackageBody(body, size, [&index](const XPackageEntryView& view) {
    PACKAGE_ENTRY entry;
    entry.dwOffset = view.dataOffset;
    entry.dwSize = view.dataSize;
    size_t keep = view.nameLength < sizeof entry.szName - 1 ? view.nameLength : sizeof entry.szName - 1;
    memcpy(entry.szName, view.name, keep);
    entry.szName[keep] = 0;
    index[IndexKey(view.name, static_cast<int>(view.nameLength))] = entry;
  });
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
