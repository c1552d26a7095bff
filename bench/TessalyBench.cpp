// Image library figures: a 256 x 256 picture with alpha is encoded by the system's codecs as
// PNG, JPEG, GIF and BMP and decoded through Tessaly.dll (with COM started on the thread and
// without); then each draw mode fills a 400 x 300 DIB, compared with one plain AlphaBlend
// stretch of the same picture over the same area.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "Canvas.h"
#include "ITessaly.h"
#include "XGdi.h"
#include "XWin.h"

using xbench::BestMicros;

namespace {

const int kSide = 256;

// The test picture (premultiplied BGRA): colour gradients, alpha falling off to the right.
std::vector<BYTE> Pixels() {
  std::vector<BYTE> px(static_cast<size_t>(kSide) * kSide * 4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      BYTE* p = &px[(static_cast<size_t>(y) * kSide + x) * 4];
      const int a = 255 - x / 2;
      p[0] = static_cast<BYTE>(y * a / 255);
      p[1] = static_cast<BYTE>(((x + y) / 2) * a / 255);
      p[2] = static_cast<BYTE>(x * a / 255);
      p[3] = static_cast<BYTE>(a);
    }
  }
  return px;
}

// The picture encoded in a container format, or empty when the codec is missing.
std::string Encode(IWICImagingFactory* factory, const GUID& container, const std::vector<BYTE>& px) {
  CXComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out()))) return std::string();
  CXComPtr<IWICBitmapEncoder> encoder;
  CXComPtr<IWICBitmapFrameEncode> frame;
  CXComPtr<IWICBitmap> bitmap;
  if (FAILED(factory->CreateEncoder(container, nullptr, encoder.Out())) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.Out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(kSide, kSide)))
    return std::string();
  if (FAILED(factory->CreateBitmapFromMemory(kSide, kSide, GUID_WICPixelFormat32bppPBGRA, kSide * 4,
                                             static_cast<UINT>(px.size()), const_cast<BYTE*>(px.data()),
                                             bitmap.Out())))
    return std::string();
  if (FAILED(frame->WriteSource(bitmap.Get(), nullptr)) || FAILED(frame->Commit()) || FAILED(encoder->Commit()))
    return std::string();
  HGLOBAL memory = nullptr;
  if (FAILED(GetHGlobalFromStream(stream.Get(), &memory))) return std::string();
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  const void* data = GlobalLock(memory);
  std::string bytes(static_cast<const char*>(data), static_cast<size_t>(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  return bytes;
}

}  // namespace

int main() {
  CXModule lib(LoadLibraryW(L"Tessaly.dll"));
  auto create = lib.Proc<PFN_TessalyCreateInstance>("CreateInstance");
  CXComPtr<ITessalyFactory> factory(create ? create() : nullptr);
  if (!factory) {
    printf("Tessaly.dll or its factory is missing\n");
    return 1;
  }

  struct Format {
    const char* name;
    GUID container;
    std::string bytes;
  } formats[] = {{"PNG", GUID_ContainerFormatPng, {}},
                 {"JPEG", GUID_ContainerFormatJpeg, {}},
                 {"GIF", GUID_ContainerFormatGif, {}},
                 {"BMP", GUID_ContainerFormatBmp, {}}};
  const std::vector<BYTE> px = Pixels();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    CXComPtr<IWICImagingFactory> wic;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   wic.OutVoid())))
      for (Format& f : formats) f.bytes = Encode(wic.Get(), f.container, px);
  }

  CXComPtr<ITessaly> image(factory->CreateImage(&CLSID_TessalyPng));
  printf("decode of a %dx%d picture (microseconds per Load; COM started / not started on the thread)\n", kSide, kSide);
  std::vector<double> withCom(4);
  for (int i = 0; i < 4; ++i) {
    Format& f = formats[i];
    if (f.bytes.empty() || !image->Load(f.bytes.data(), static_cast<UINT>(f.bytes.size()))) {
      printf("  %-5s codec missing\n", f.name);
      continue;
    }
    withCom[i] = BestMicros(5, 10, [&] { image->Load(f.bytes.data(), static_cast<UINT>(f.bytes.size())); });
  }
  CoUninitialize();
  for (int i = 0; i < 4; ++i) {
    Format& f = formats[i];
    if (withCom[i] == 0) continue;
    const double without =
        BestMicros(5, 10, [&] { image->Load(f.bytes.data(), static_cast<UINT>(f.bytes.size())); });
    printf("  %-5s %7zu bytes  %9.0f us  %9.0f us  (x%.2f)  %.1f Mpixel/s\n", f.name, f.bytes.size(), withCom[i],
           without, without / withCom[i], kSide * kSide / withCom[i]);
  }

  // Draw figures with the PNG picture.
  image->Load(formats[0].bytes.data(), static_cast<UINT>(formats[0].bytes.size()));
  if (!image->HasBitmap()) return 1;
  const int w = 400, h = 300;
  xtest::Canvas canvas(w, h);
  const RECT dest = {0, 0, w, h};
  const RECT block = {0, 0, 64, 64};
  const double baseline = BestMicros(5, 50, [&] {
    CXBitmapDC mem(image->GetBitmap());
    const BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(canvas.Dc(), 0, 0, w, h, mem.Get(), 0, 0, kSide, kSide, bf);
  });
  printf("draw into %dx%d (microseconds per Draw; ratio to one AlphaBlend stretch of the picture: %.0f us)\n", w, h,
         baseline);
  const struct {
    const char* name;
    int mode;
    const RECT* source;
  } draws[] = {{"normal", DRAW_NORMAL, nullptr},      {"3vstretch", DRAW_3VSTRETCH, nullptr},
               {"3hstretch", DRAW_3HSTRETCH, nullptr}, {"9stretch", DRAW_9STRETCH, nullptr},
               {"9stretch 64px", DRAW_9STRETCH, &block}, {"8stretch", DRAW_8STRETCH, nullptr},
               {"tile", DRAW_TILE, nullptr},          {"tile 64px", DRAW_TILE, &block}};
  for (const auto& d : draws) {
    const double t = BestMicros(5, 50, [&] { image->Draw(canvas.Dc(), &dest, d.source, d.mode, 255); });
    const double half = BestMicros(5, 50, [&] { image->Draw(canvas.Dc(), &dest, d.source, d.mode, 128); });
    printf("  %-14s %8.0f us (x%.2f)   alpha 128: %8.0f us\n", d.name, t, t / baseline, half);
  }
  return 0;
}
