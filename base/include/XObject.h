// Reference-counting base of the objects that cross module borders (service objects, images). The count changes only atomically; the
// object deletes itself when Release takes it to 0. QueryInterface is each class's own.
// A class with a second interface also derives from it and overrides QueryInterface, AddRef
// and Release once: the one override serves both tables, so both share one count.
#pragma once

#include "XUnknown.h"

template <class Primary>
class CXObject : public Primary {
 public:
  LONG __stdcall AddRef() override { return InterlockedIncrement(&m_ref); }
  LONG __stdcall Release() override {
    LONG n = InterlockedDecrement(&m_ref);
    if (n == 0) delete this;
    return n;
  }
  LONG RefCount() const { return m_ref; }

 protected:
  CXObject() = default;
  virtual ~CXObject() = default;

  // Stores this object's primary interface for its own id or IXUnknown's; else null.
  HRESULT QueryPrimary(const GUID* id, void** out, const GUID& own) {
    if (!out) return E_POINTER;
    if (id && (XIsEqualId(*id, own) || XIsEqualId(*id, IID_IXUnknown))) {
      *out = static_cast<Primary*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

  volatile LONG m_ref = 0;
};
