// CTessalyImage: the library's image object (ITessaly). It holds at most one decoded picture,
// a premultiplied 32-bit DIB that is selected into a device context only inside Draw.
#pragma once

#include "ITessaly.h"
#include "TessalyDib.h"
#include "XObject.h"

class CTessalyImage : public CXObject<ITessaly> {
 public:
  CTessalyImage() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  int __stdcall Load(const void* bytes, UINT size) override;
  int __stdcall HasBitmap() override;
  HBITMAP __stdcall GetBitmap() override;
  int __stdcall GetWidth() override;
  int __stdcall GetHeight() override;
  int __stdcall Draw(HDC dc, const RECT* dest, const RECT* source, int mode, int alpha) override;

 private:
  ~CTessalyImage() override = default;
  int DrawPieces(HDC dc, const RECT& dest, const RECT& source, int mode, const BLENDFUNCTION& blend);
  int DrawTiled(HDC dc, const RECT& dest, const RECT& source, const BLENDFUNCTION& blend);

  CXDib m_picture;
};
