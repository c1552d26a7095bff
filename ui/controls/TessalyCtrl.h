// CTessalyCtrl: the image control. It draws a picture of the skin package, or one block of a
// strip of equal blocks, in one of six ways. Decoded pictures are shared by path across the
// process: the share table names only images that some holder still references.
#pragma once

#include <windows.h>

#include <map>

#include "ITessaly.h"
#include "WendoraApi.h"
#include "XBaseUI.h"

// Draw type by its skin name ("normal", "3vstretch", "3hstretch", "9stretch", "tile",
// "8stretch", case ignored): true with the type, false for any other name.
WENDORA_API bool XParseDrawType(const wchar_t* name, DRAW_TYPE& type);

// The image library class of a picture path by its extension (case ignored): ".png",
// ".jpg" or ".jpeg", ".gif" or ".bmp"; null for any other.
WENDORA_API const GUID* XImageClassOfPath(const wchar_t* path);

// The rectangles of the one Draw call that paints a picture into a control.
struct XIMAGE_DRAW {
  CRect dest;
  CRect source;
};

// Where a picture of width x height lands in a control for a draw type. Blocks (a count of 2
// or more) cut the picture into equal columns and index chooses one; the chosen part is the
// source. "normal" draws it at natural size, offset inside the control by the alignment word
// of the layout rule (right or centre horizontally, bottom vertically; else top-left) and cut
// to the control on every side; "3vstretch" takes its width and the control's height,
// "3hstretch" the control's width and its height, the others the whole control.
WENDORA_API XIMAGE_DRAW XImageDrawRects(const CRect& control, int width, int height, int blocks, int index,
                                        int type, DWORD alignment);

class WENDORA_API CTessalyCtrl : public CXBaseUI {
 public:
  CTessalyCtrl();
  ~CTessalyCtrl() override;  // gives up its image

  void DoPaint(HDC dc) override;
  // The stored style with 0x5 (disabled, background): images take no mouse input and paint in
  // the first pass.
  DWORD XUI_GetStyle() override;
  const wchar_t* XUI_GetClassName() override;  // "TESSALY"
  // "value" (picture path), "block", "drawtype" (by name), "alpha", and the layout rule's
  // "margin" and "alignment" (each turns the rule on); else as CXBaseUI.
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Takes the picture of a skin package entry, shared with every control showing that path;
  // a path of another kind, a missing entry or a missing library leaves the control empty.
  void SetImage(const CString& path);
  void SetImageEx(const CString& path, const CRect& rect, DRAW_TYPE type);
  void SetDrawType(DRAW_TYPE type) { m_drawType = type; }
  void SetDrawType(const wchar_t* name);  // an unknown name keeps the type
  DRAW_TYPE GetDrawType() const { return m_drawType; }
  ITessaly* GetImage() const { return m_pImage; }  // no reference added; null when empty
  CString GetImagePath() const { return m_strPath; }
  void SetImageBlock(int blocks) { m_nBlock = blocks; }
  int GetImageBlock() const { return m_nBlock; }
  void SetImageIndex(int index) { m_nIndex = index; }
  int GetImageIndex() const { return m_nIndex; }
  void SetTransparentAlpha(int alpha) { m_nAlpha = alpha; }
  int GetTransparentAlpha() const { return m_nAlpha; }

  // The share table. Anyone who keeps an image of a control beyond the control's life holds
  // it with HoldImage and gives it up with ReleaseImage, which forgets the path when that was
  // the last reference.
  static void HoldImage(ITessaly* image);
  static void ReleaseImage(ITessaly* image);
  static ITessaly* FindSharedImage(const CString& path);  // no reference added
  static int GetSharedImageCount();

 private:
  ITessaly* m_pImage = nullptr;  // one reference of its own
  int m_nBlock = 0;
  int m_nIndex = 0;
  DRAW_TYPE m_drawType = DRAW_NORMAL;
  int m_nAlpha = 255;
  CString m_strPath;

  // Path (compared exactly) -> image; the table holds no reference of its own.
  static std::map<CString, ITessaly*> m_mShareImage;
};
