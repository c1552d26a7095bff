// Image object: decoding through XDecodePicture, drawing as AlphaBlend calls over the pieces
// that XCutPieces cuts (tiles are composed first into a scratch DIB the size of the visible
// part of the destination, then blended once).
#include "TessalyImage.h"

#include "TessalyDecoder.h"
#include "TessalyGeometry.h"
#include "XGeometry.h"

namespace {

// Destination sides beyond this are treated as garbage rather than drawn.
constexpr long long kMaxDestSide = 1 << 20;

bool SaneRect(const RECT& r) {
  const long long w = static_cast<long long>(r.right) - r.left;
  const long long h = static_cast<long long>(r.bottom) - r.top;
  return w > 0 && h > 0 && w <= kMaxDestSide && h <= kMaxDestSide;
}

}  // namespace

HRESULT __stdcall CTessalyImage::QueryInterface(const GUID* id, void** out) {
  return QueryPrimary(id, out, IID_ITessaly);
}

int __stdcall CTessalyImage::Load(const void* bytes, UINT size) {
  try {
    return XDecodePicture(bytes, size, m_picture) ? 1 : 0;
  } catch (...) {
    m_picture.Reset();
    return 0;
  }
}

int __stdcall CTessalyImage::HasBitmap() { return m_picture ? 1 : 0; }

HBITMAP __stdcall CTessalyImage::GetBitmap() { return m_picture.Handle(); }

int __stdcall CTessalyImage::GetWidth() { return m_picture.Width(); }

int __stdcall CTessalyImage::GetHeight() { return m_picture.Height(); }

int __stdcall CTessalyImage::Draw(HDC dc, const RECT* dest, const RECT* source, int mode, int alpha) {
  if (!dc || !dest || !m_picture || !SaneRect(*dest)) return 0;
  if (alpha > 255) alpha = 255;
  if (alpha <= 0) return 0;

  CRect part(0, 0, m_picture.Width(), m_picture.Height());
  if (source && !part.IntersectRect(part, *source)) return 0;

  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
  try {
    if (mode == DRAW_TILE) return DrawTiled(dc, *dest, part, blend);
    return DrawPieces(dc, *dest, part, mode, blend);
  } catch (...) {
    return 0;
  }
}

int CTessalyImage::DrawPieces(HDC dc, const RECT& dest, const RECT& source, int mode, const BLENDFUNCTION& blend) {
  XTessalyPiece pieces[XTESSALY_MAX_PIECES];
  const int n = XCutPieces(mode, dest, source, pieces);
  if (n == 0) return 0;
  CXBitmapDC mem(m_picture.Handle());
  if (!mem) return 0;
  int drawn = 0;
  for (int i = 0; i < n; ++i) {
    const CRect d(pieces[i].dst), s(pieces[i].src);
    if (AlphaBlend(dc, d.left, d.top, d.Width(), d.Height(), mem.Get(), s.left, s.top, s.Width(), s.Height(), blend))
      drawn = 1;
  }
  return drawn;
}

int CTessalyImage::DrawTiled(HDC dc, const RECT& dest, const RECT& source, const BLENDFUNCTION& blend) {
  // Only the visible part of the destination is composed, which bounds the scratch bitmap
  // by the size of the device context's surface.
  CRect area(dest);
  RECT clip;
  switch (GetClipBox(dc, &clip)) {
    case NULLREGION:
      return 0;
    case SIMPLEREGION:
    case COMPLEXREGION:
      if (!area.IntersectRect(area, clip)) return 0;
      break;
    default:
      break;
  }
  CXDib tiles;
  if (!tiles.Create(area.Width(), area.Height())) return 0;
  XTileFill(tiles.Bits(), area.Width(), area.Height(), area.left - dest.left, area.top - dest.top, m_picture.Bits(),
            m_picture.Width(), source);
  CXBitmapDC mem(tiles.Handle());
  if (!mem) return 0;
  return AlphaBlend(dc, area.left, area.top, area.Width(), area.Height(), mem.Get(), 0, 0, area.Width(), area.Height(),
                    blend)
             ? 1
             : 0;
}
