// The image library (Tessaly.dll) as its callers see it: the factory behind its export
// "CreateInstance" and the image objects it makes. Only plain pointers, integers, GUIDs and GDI
// handles cross this border; slot order is binary contract: append, never reorder.
#pragma once

#include <windows.h>

#include "XUnknown.h"

// Class ids of the PNG, JPEG and GIF/BMP image objects (ITessalyFactory::CreateImage).
inline constexpr GUID CLSID_TessalyPng = {0x497090A5, 0x7FE2, 0x4DAF, {0xAA, 0x5D, 0x6A, 0xA7, 0x31, 0x05, 0x00, 0x7A}};
inline constexpr GUID CLSID_TessalyJpeg = {0xB06153D2, 0x44BC, 0x4B3B, {0xB1, 0x2A, 0x3A, 0xEB, 0xE1, 0xA3, 0xAD, 0x0A}};
inline constexpr GUID CLSID_TessalyGifBmp = {0x6DDFD8EC, 0x4F63, 0x4D4F, {0x86, 0xCC, 0x74, 0x6A, 0x99, 0xE8, 0xB5, 0x1A}};

inline constexpr GUID IID_ITessaly = {0xB14703D7, 0x85C8, 0x4542, {0x8A, 0x73, 0x2A, 0x61, 0x25, 0x1A, 0x60, 0x00}};
inline constexpr GUID IID_ITessalyFactory = {0x38E68747, 0x6C36, 0x4FC1, {0xB9, 0x95, 0xE6, 0x49, 0x35, 0x8D, 0xFA, 0xB2}};

// How ITessaly::Draw fills its destination. Parts are cut at thirds of the source rectangle
// on each cut axis: for a source side of n pixels the two end parts are n / 3 pixels each
// and the middle part is the rest (a side under 3 pixels has no end parts). End parts keep
// their size in the destination and the middle part stretches to fill it; when the
// destination side is shorter than both end parts together, the end parts share it in
// proportion and the middle part vanishes. Stretching is nearest-pixel.
enum DRAW_TYPE {
  // The source at natural size with its top-left at the destination's top-left, cut off at
  // the destination's right and bottom edges (callers place the destination to align).
  DRAW_NORMAL = 0,
  // Three bands cut across the height (top, middle, bottom); every band spans the whole
  // destination width (stretched when the widths differ).
  DRAW_3VSTRETCH = 1,
  // Three columns cut across the width (left, middle, right); every column spans the whole
  // destination height.
  DRAW_3HSTRETCH = 2,
  // Both cuts: four corners at natural size, top and bottom edges stretched across, left and
  // right edges stretched down, the centre stretched both ways.
  DRAW_9STRETCH = 3,
  // The source repeated from the destination's top-left, the last row and column cut off.
  DRAW_TILE = 4,
  // As DRAW_9STRETCH without the centre: a frame; whatever lies below shows through inside.
  DRAW_8STRETCH = 5,
};

// An image: one decoded picture held as a premultiplied 32-bit BGRA DIB section.
// Reference counted: the creator owns one reference; the object frees itself on the last
// Release. Use an object from one thread at a time (AddRef and Release from any thread).
struct ITessaly : IXUnknown {
  // Decodes a PNG, JPEG, GIF (first frame) or BMP picture from bytes, which the image does
  // not keep. Replaces the picture held before; on failure the image holds none. 1 or 0.
  virtual int __stdcall Load(const void* bytes, UINT size) = 0;
  // 1 when the image holds a picture, else 0.
  virtual int __stdcall HasBitmap() = 0;
  // The picture's bitmap (32-bit top-down DIB section, premultiplied alpha), or null. It
  // stays the image's: never delete it, and use it only until the next Load or the last
  // Release. It is selected into no device context between calls, so it may be copied
  // (ImageList_Add) or selected by the caller for a moment.
  virtual HBITMAP __stdcall GetBitmap() = 0;
  // Picture size in pixels; 0 without a picture.
  virtual int __stdcall GetWidth() = 0;
  virtual int __stdcall GetHeight() = 0;
  // Draws the source rectangle (picture pixels; null = the whole picture; cut to the
  // picture) into the destination rectangle (logical units of dc) in the mode (a DRAW_TYPE),
  // blended over what is there with per-pixel alpha times alpha / 255 (alpha is clamped to
  // 0..255; 255 = as the picture is). Nothing is drawn outside the destination, and dc's
  // selected objects are left as they were. 1 when something was drawn; 0 without a
  // picture, with an empty source or destination (or one wider or higher than 2^20), alpha 0
  // or an unknown mode.
  virtual int __stdcall Draw(HDC dc, const RECT* dest, const RECT* source, int mode, int alpha) = 0;
};

// The factory returned by the export "CreateInstance": stateless, a new one per call, reference
// counted like the images. Images outlive the factory that made them.
struct ITessalyFactory : IXUnknown {
  // A new empty image for a class id (CLSID_TessalyPng, CLSID_TessalyJpeg or
  // CLSID_TessalyGifBmp), with one reference owned by the caller; null for any other id.
  // Every class decodes each of the four formats: the picture's own signature decides, so a
  // misnamed file still shows.
  virtual ITessaly* __stdcall CreateImage(const GUID* clsid) = 0;
};

// The library's export (undecorated name "CreateInstance"): the factory with one reference
// owned by the caller, or null when it cannot be made.
typedef ITessalyFactory* (__cdecl* PFN_TessalyCreateInstance)();
