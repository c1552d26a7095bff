// Helpers of the image library tests: Tessaly.dll loaded by file name from the test folder as
// the framework loads it, and images made from bytes.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "ITessaly.h"
#include "TestUtil.h"
#include "XWin.h"

namespace tessalytest {

class TessalyLib {
 public:
  TessalyLib() : m_module(LoadLibraryW(L"Tessaly.dll")) {
    auto create = m_module.Proc<PFN_TessalyCreateInstance>("CreateInstance");
    if (create) m_factory.Reset(create());
  }
  ITessalyFactory* Factory() const { return m_factory.Get(); }
  // A new image of the class with the bytes loaded (load result ignored), or null.
  CXComPtr<ITessaly> Image(const std::string& bytes, const GUID& clsid = CLSID_TessalyPng) const {
    CXComPtr<ITessaly> image(m_factory ? m_factory->CreateImage(&clsid) : nullptr);
    if (image) image->Load(bytes.data(), static_cast<UINT>(bytes.size()));
    return image;
  }

 private:
  CXModule m_module;  // declared first: freed after the factory is released
  CXComPtr<ITessalyFactory> m_factory;
};

}  // namespace tessalytest
