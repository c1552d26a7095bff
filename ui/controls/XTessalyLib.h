// The image library (Tessaly.dll) as the framework uses it: found beside the program on first
// use and kept for the process, and skin pictures turned into image objects.
#pragma once

#include "ITessaly.h"

class CXTessalyLib {
 public:
  // A new factory (one reference, owned by the caller), or null without the library.
  static ITessalyFactory* CreateFactory();
  // A new image of the library class holding the picture of a skin package entry: one
  // reference, or null when the library, the class, the entry or the picture is missing (or
  // memory runs out); never throws.
  static ITessaly* LoadSkinPicture(const GUID& clsid, const wchar_t* path);
};
