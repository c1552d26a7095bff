// CXUIMgr: the framework's entry point for the application, one per process. It holds the
// application's notification callback, which every FireNotify of the framework reaches.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XUIObject.h"

class WENDORA_API CXUIMgr {
 public:
  static CXUIMgr& GetInstance();

  // Not owned; null (the default) makes every notification return 0.
  void SetNotifyCallback(INotifyCallback* callback) { m_pNotify = callback; }
  INotifyCallback* GetNotifyCallback() const { return m_pNotify; }

 private:
  CXUIMgr() = default;
  ~CXUIMgr() = default;
  CXUIMgr(const CXUIMgr&) = delete;
  CXUIMgr& operator=(const CXUIMgr&) = delete;

  INotifyCallback* m_pNotify = nullptr;
};
