// The image control: picture loading through the share table and the placement arithmetic of
// its one Draw call. A table entry is dropped when its image's last reference goes.
#include "TessalyCtrl.h"

#include "XRelayOut.h"
#include "XSkinText.h"
#include "XTessalyLib.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"image", CTessalyCtrl)

std::map<CString, ITessaly*> CTessalyCtrl::m_mShareImage;

namespace {

const struct {
  const wchar_t* name;
  DRAW_TYPE type;
} kDrawTypes[] = {
    {L"normal", DRAW_NORMAL},   {L"3vstretch", DRAW_3VSTRETCH}, {L"3hstretch", DRAW_3HSTRETCH},
    {L"9stretch", DRAW_9STRETCH}, {L"tile", DRAW_TILE},          {L"8stretch", DRAW_8STRETCH},
};

// Offset of a part of size inner in a span of size outer for one half of an alignment word,
// by its first flag of near (1), far (4) and centre (2); centre only where allowed.
int AlignOffset(DWORD flags, int outer, int inner, bool centre) {
  if (flags & XALIGN_NEAR) return 0;
  if (flags & XALIGN_FAR) return outer - inner;
  if (centre && (flags & XALIGN_CENTER)) return (outer - inner) / 2;
  return 0;
}

}  // namespace

bool XParseDrawType(const wchar_t* name, DRAW_TYPE& type) {
  if (!name) return false;
  for (const auto& entry : kDrawTypes) {
    if (lstrcmpiW(name, entry.name) == 0) {
      type = entry.type;
      return true;
    }
  }
  return false;
}

const GUID* XImageClassOfPath(const wchar_t* path) {
  if (!path) return nullptr;
  const wchar_t* dot = wcsrchr(path, L'.');
  if (!dot || wcspbrk(dot, L"\\/")) return nullptr;  // a dot in a folder name is no extension
  if (lstrcmpiW(dot, L".png") == 0) return &CLSID_TessalyPng;
  if (lstrcmpiW(dot, L".jpg") == 0 || lstrcmpiW(dot, L".jpeg") == 0) return &CLSID_TessalyJpeg;
  if (lstrcmpiW(dot, L".gif") == 0 || lstrcmpiW(dot, L".bmp") == 0) return &CLSID_TessalyGifBmp;
  return nullptr;
}

XIMAGE_DRAW XImageDrawRects(const CRect& control, int width, int height, int blocks, int index, int type,
                            DWORD alignment) {
  XIMAGE_DRAW out;
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  // The part of the picture shown: one block of a strip, or the whole picture whatever the
  // index (a button sets the index of all its pictures, strips or not).
  const int partWidth = blocks >= 2 ? width / blocks : width;
  const long long left = blocks >= 2 ? static_cast<long long>(partWidth) * index : 0;
  // A block outside the strip leaves an empty source: nothing is drawn.
  const int sourceLeft = left < 0 || left > width ? width : static_cast<int>(left);
  out.source = CRect(sourceLeft, 0, sourceLeft + partWidth, height);

  switch (type) {
    case DRAW_NORMAL: {
      int x = control.left + AlignOffset(HIWORD(alignment), control.Width(), partWidth, true);
      int y = control.top + AlignOffset(LOWORD(alignment), control.Height(), height, false);
      // Cut to the control on the left and top by moving the source; the library cuts the
      // right and bottom at the destination's edges.
      if (x < control.left) {
        out.source.left += control.left - x;
        x = control.left;
      }
      if (y < control.top) {
        out.source.top += control.top - y;
        y = control.top;
      }
      out.dest = CRect(x, y, control.right, control.bottom);
      break;
    }
    case DRAW_3VSTRETCH:
      out.dest = CRect(control.left, control.top, control.left + partWidth, control.bottom);
      break;
    case DRAW_3HSTRETCH:
      out.dest = CRect(control.left, control.top, control.right, control.top + height);
      break;
    default:
      out.dest = control;
      break;
  }
  return out;
}

CTessalyCtrl::CTessalyCtrl() = default;

CTessalyCtrl::~CTessalyCtrl() {
  ReleaseImage(m_pImage);
  m_pImage = nullptr;
}

void CTessalyCtrl::HoldImage(ITessaly* image) {
  if (image) image->AddRef();
}

void CTessalyCtrl::ReleaseImage(ITessaly* image) {
  if (!image || image->Release() > 0) return;
  for (auto it = m_mShareImage.begin(); it != m_mShareImage.end();) {
    if (it->second == image) it = m_mShareImage.erase(it);
    else ++it;
  }
}

ITessaly* CTessalyCtrl::FindSharedImage(const CString& path) {
  auto it = m_mShareImage.find(path);
  return it == m_mShareImage.end() ? nullptr : it->second;
}

int CTessalyCtrl::GetSharedImageCount() { return static_cast<int>(m_mShareImage.size()); }

void CTessalyCtrl::SetImage(const CString& path) {
  // The new image is taken before the old one is given up, so setting the same path again
  // keeps the decoded picture.
  ITessaly* image = FindSharedImage(path);
  if (image) {
    HoldImage(image);
  } else if (const GUID* clsid = XImageClassOfPath(path)) {
    image = CXTessalyLib::LoadSkinPicture(*clsid, path);
    try {
      if (image) m_mShareImage[path] = image;
    } catch (...) {
      // Out of memory: shown by no one rather than held by a control the table cannot name.
      image->Release();
      image = nullptr;
    }
  }
  ReleaseImage(m_pImage);
  m_pImage = image;
  try {
    m_strPath = path;
  } catch (...) {
    m_strPath = CString();
  }
}

void CTessalyCtrl::SetImageEx(const CString& path, const CRect& rect, DRAW_TYPE type) {
  SetImage(path);
  XUI_SetRect(rect);
  SetDrawType(type);
}

void CTessalyCtrl::SetDrawType(const wchar_t* name) { XParseDrawType(name, m_drawType); }

DWORD CTessalyCtrl::XUI_GetStyle() { return CXBaseUI::XUI_GetStyle() | XUI_STYLE_DISABLED | XUI_STYLE_BACKGROUND; }

const wchar_t* CTessalyCtrl::XUI_GetClassName() { return L"TESSALY"; }

BOOL CTessalyCtrl::XUI_SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name) return 0;
  if (lstrcmpiW(name, L"value") == 0) {
    SetImage(CString(value));
  } else if (lstrcmpiW(name, L"block") == 0) {
    SetImageBlock(XSkinParseInt(value));
  } else if (lstrcmpiW(name, L"drawtype") == 0) {
    SetDrawType(value);
  } else if (lstrcmpiW(name, L"alpha") == 0) {
    SetTransparentAlpha(XSkinParseInt(value));
  } else if (lstrcmpiW(name, L"margin") == 0) {
    if (CXRelayOut* rule = GetRelayoutPtr()) {
      rule->SetMargin(XSkinParseMargin(CString(value)));
      rule->SetEnable(1);
    }
  } else if (lstrcmpiW(name, L"alignment") == 0) {
    if (CXRelayOut* rule = GetRelayoutPtr()) {
      rule->SetAlignment(value);
      rule->SetEnable(1);
    }
  } else {
    return CXBaseUI::XUI_SetAttribute(name, value);
  }
  return 1;
}

void CTessalyCtrl::DoPaint(HDC dc) {
  if (!m_pImage || !dc) return;
  const CXRelayOut* rule = GetRelayoutPtr();
  const XIMAGE_DRAW d = XImageDrawRects(XUI_GetRect(), m_pImage->GetWidth(), m_pImage->GetHeight(), m_nBlock,
                                        m_nIndex, m_drawType, rule ? rule->GetAlignment() : XALIGN_DEFAULT);
  m_pImage->Draw(dc, &d.dest, &d.source, m_drawType, m_nAlpha);
}
