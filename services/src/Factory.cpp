// CreateInstance: the service library's single export. Each call makes one new object chosen
// by interface id (count 0) and returns the asked-for interface through its QueryInterface.
#include <new>

#include "Factory.h"
#include "Hash.h"
#include "Register.h"
#include "SqliteMgr.h"
#include "Statistic.h"
#include "SystemInfo.h"
#include "Version.h"
#include "XNet.h"

namespace {

// Makes the object, hands out the interface; deletes the object when it refuses the id.
template <class T>
void* Make(const GUID* id) {
  T* object = new (std::nothrow) T();
  if (!object) return nullptr;
  void* out = nullptr;
  if (FAILED(object->QueryInterface(id, &out)) || !out) {
    object->AddRef();
    object->Release();
    return nullptr;
  }
  return out;
}

}  // namespace

extern "C" __declspec(dllexport) void* __cdecl CreateInstance(const GUID* id) {
  if (!id) return nullptr;
  const GUID& g = *id;
  // Table order: CPU/disk info, MD5/hash, register, statistic, version, socket, SQLite.
  if (XIsEqualId(g, IID_ICPUInfo) || XIsEqualId(g, IID_IDiskInfo)) return Make<CSystemInfo>(id);
  if (XIsEqualId(g, IID_IMD5) || XIsEqualId(g, IID_IHash)) return Make<CHash>(id);
  if (XIsEqualId(g, IID_IRegister)) return Make<CRegister>(id);
  if (XIsEqualId(g, IID_IStatistic)) return Make<CStatistic>(id);
  if (XIsEqualId(g, IID_IVersion)) return Make<CVersion>(id);
  if (XIsEqualId(g, IID_IXSocket)) return Make<CXNet>(id);
  if (XIsEqualId(g, IID_ISQLite)) return Make<CSqliteMgr>(id);
  return nullptr;
}

void* XCreateObject(const GUID& id) { return CreateInstance(&id); }
