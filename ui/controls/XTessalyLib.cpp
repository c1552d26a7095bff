// Pictures come from the skin package; an image is handed out only when it holds one, and
// no failure on the way leaves as an exception.
#include "XTessalyLib.h"

#include "XBuffer.h"
#include "XProgramLib.h"
#include "XSkinPackage.h"
#include "XWin.h"

ITessalyFactory* CXTessalyLib::CreateFactory() {
  static CXProgramLib library(L"Tessaly.dll", "CreateInstance");
  PFN_TessalyCreateInstance create = library.EntryAs<PFN_TessalyCreateInstance>();
  return create ? create() : nullptr;
}

ITessaly* CXTessalyLib::LoadSkinPicture(const GUID& clsid, const wchar_t* path) {
  if (!path || !*path) return nullptr;
  try {
    CXComPtr<ITessalyFactory> factory(CreateFactory());
    if (!factory) return nullptr;
    CXComPtr<ITessaly> image(factory->CreateImage(&clsid));
    if (!image) return nullptr;
    XBuffer<unsigned char> bytes;
    if (!XExtractSkinFile(bytes, path)) return nullptr;
    if (!image->Load(bytes.GetData(), static_cast<UINT>(bytes.GetSize())) || !image->HasBitmap()) return nullptr;
    return image.Detach();
  } catch (...) {
    return nullptr;  // out of memory looking the entry up: no picture
  }
}
