// Where the skin lives: the folder "skin" beside the running executable, its optional
// "config.ini" naming the package, and the package path chosen once per process.
#pragma once

#include "WendoraApi.h"
#include "XString.h"

class WENDORA_API CXSkinConfig {
 public:
  // The executable's folder followed by "skin" (no trailing backslash), computed once.
  static const CString& SkinFolder();
  // The package name for a skin folder: key "skin" of section "skin" of its "config.ini"
  // (empty when the key is missing or empty), or "DefaultSkin.xui" without that file.
  static CString ChooseSkinName(const CString& skinFolder);
  // The name chosen for this process's skin folder, kept after the first call.
  static const CString& SkinName();
  // Skin folder, a backslash and the skin name.
  static CString PackagePath();
  // Chooses the skin and loads it into the process's package; the package's result.
  static int LoadChosenSkin();
};
