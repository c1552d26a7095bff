// CRegister: gathers the two hardware facts through the library's own objects and digests
// them. Each part is read into a zero-filled buffer, so a missing part stays empty.
#include "Register.h"

#include <cstring>

#include "Factory.h"
#include "XWin.h"

namespace {
std::string First16(const char* s) {
  if (!s) return std::string();
  size_t n = 0;
  while (n < 16 && s[n]) ++n;
  return std::string(s, n);
}
}  // namespace

std::string XMachineIdText(const char* cpuId, const char* diskSerial) { return First16(cpuId) + First16(diskSerial); }

HRESULT CRegister::QueryInterface(const GUID* id, void** out) { return QueryPrimary(id, out, IID_IRegister); }

void CRegister::GetMachineId(char* out) {
  if (!out) return;
  try {
    char cpu[20] = {0};
    {
      CXComPtr<ICPUInfo> info(XCreate<ICPUInfo>(IID_ICPUInfo));
      if (info) info->GetCPUID(cpu, sizeof cpu);
    }
    char serial[20] = {0};
    {
      CXComPtr<IDiskInfo> disk(XCreate<IDiskInfo>(IID_IDiskInfo));
      if (disk) disk->GetDiskSerial(serial, sizeof serial);  // at most 19 characters: the last byte stays 0
    }
    std::string text = XMachineIdText(cpu, serial);
    CXComPtr<IMD5> md5(XCreate<IMD5>(IID_IMD5));
    if (md5) md5->MD5String(text.c_str(), out);
  } catch (...) {
  }
}
