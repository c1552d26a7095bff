// The UI manager: made on first use, destroyed at process exit.
#include "XUIMgr.h"

CXUIMgr& CXUIMgr::GetInstance() {
  static CXUIMgr instance;
  return instance;
}
