// Skin location and choice. Both are computed once and kept for the process.
#include "XSkinConfig.h"

#include "XSkinPackage.h"
#include "XProgram.h"
#include "XWin.h"

const CString& CXSkinConfig::SkinFolder() {
  static const CString folder(XModuleFolder() + L"skin");
  return folder;
}

CString CXSkinConfig::ChooseSkinName(const CString& skinFolder) {
  CString config = skinFolder + L"\\config.ini";
  if (GetFileAttributesW(config) == INVALID_FILE_ATTRIBUTES) return CString(L"DefaultSkin.xui");
  wchar_t name[260] = {0};
  GetPrivateProfileStringW(L"skin", L"skin", L"", name, 260, config);
  return CString(name);
}

const CString& CXSkinConfig::SkinName() {
  static const CString name(ChooseSkinName(SkinFolder()));
  return name;
}

CString CXSkinConfig::PackagePath() { return SkinFolder() + L"\\" + SkinName(); }

int CXSkinConfig::LoadChosenSkin() {
  // An empty skin name names the folder itself, which is no package file.
  if (SkinName().IsEmpty()) return CXSkinPackage::Instance().Load(nullptr);
  return CXSkinPackage::Instance().Load(PackagePath());
}
