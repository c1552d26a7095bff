// The factory as the service objects themselves use it: one new object by interface id,
// exactly as CreateInstance hands it out (the caller owns the reference it returns).
#pragma once

#include "ServiceInterfaces.h"

void* XCreateObject(const GUID& id);

template <class T>
T* XCreate(const GUID& id) {
  return static_cast<T*>(XCreateObject(id));
}
