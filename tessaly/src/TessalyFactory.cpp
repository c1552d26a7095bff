// The library's factory and its single export, CreateInstance. Every object leaves here with
// a count of 1 (taken by its own QueryInterface), owned by the caller.
#include "TessalyFactory.h"

#include <new>

#include "TessalyImage.h"

namespace {

bool IsPictureClass(const GUID& id) {
  return XIsEqualId(id, CLSID_TessalyPng) || XIsEqualId(id, CLSID_TessalyJpeg) || XIsEqualId(id, CLSID_TessalyGifBmp);
}

// The object's interface for id with one reference, or null (and the object gone).
template <class I, class T>
I* Hand(T* object, const GUID& id) {
  if (!object) return nullptr;
  void* out = nullptr;
  if (FAILED(object->QueryInterface(&id, &out)) || !out) {
    object->AddRef();
    object->Release();
    return nullptr;
  }
  return static_cast<I*>(out);
}

}  // namespace

HRESULT __stdcall CTessalyFactory::QueryInterface(const GUID* id, void** out) {
  return QueryPrimary(id, out, IID_ITessalyFactory);
}

ITessaly* __stdcall CTessalyFactory::CreateImage(const GUID* clsid) {
  if (!clsid || !IsPictureClass(*clsid)) return nullptr;
  return Hand<ITessaly>(new (std::nothrow) CTessalyImage(), IID_ITessaly);
}

extern "C" __declspec(dllexport) ITessalyFactory* __cdecl CreateInstance() {
  return Hand<ITessalyFactory>(new (std::nothrow) CTessalyFactory(), IID_ITessalyFactory);
}
