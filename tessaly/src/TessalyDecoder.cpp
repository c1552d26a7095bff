// WIC decoding: a stream over the caller's bytes, the codec chosen by the bytes' signature,
// frame 0 converted to 32bppPBGRA and copied into our own DIB, so no codec object outlives
// the call. COM is started for the call when the thread has not started it.
#include "TessalyDecoder.h"

#include <wincodec.h>

#include "XWin.h"

namespace {

// Starts COM on this thread for the call when nobody has; a thread already in either
// apartment kind is used as it is.
class CComScope {
 public:
  CComScope() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~CComScope() {
    if (SUCCEEDED(m_hr)) CoUninitialize();
  }
  CComScope(const CComScope&) = delete;
  CComScope& operator=(const CComScope&) = delete;
  bool Usable() const { return SUCCEEDED(m_hr) || m_hr == RPC_E_CHANGED_MODE; }

 private:
  HRESULT m_hr;
};

bool Decode(const void* bytes, UINT size, CXDib& out) {
  CXComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              factory.OutVoid())))
    return false;

  CXComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Out()))) return false;
  // The stream only reads; the codec API is not const-correct.
  if (FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size))) return false;

  CXComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())))
    return false;
  CXComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return false;

  CXComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out()))) return false;
  if (FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return false;

  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height))) return false;
  if (width == 0 || height == 0 || width > static_cast<UINT>(CXDib::kMaxSide) ||
      height > static_cast<UINT>(CXDib::kMaxSide))
    return false;
  if (!out.Create(static_cast<int>(width), static_cast<int>(height))) return false;
  if (FAILED(converter->CopyPixels(nullptr, out.Stride(), out.ByteSize(), reinterpret_cast<BYTE*>(out.Bits())))) {
    out.Reset();
    return false;
  }
  return true;
}

}  // namespace

bool XDecodePicture(const void* bytes, UINT size, CXDib& out) {
  out.Reset();
  if (!bytes || size == 0) return false;
  CComScope com;
  if (!com.Usable()) return false;
  return Decode(bytes, size, out);
}
