// Picture decoding through the system's imaging codecs: PNG, JPEG, GIF (first frame) and BMP
// bytes into a premultiplied 32-bit BGRA DIB. The bytes are read during the call only.
#pragma once

#include <windows.h>

#include "TessalyDib.h"

// Decodes size bytes into out (replacing what it held); false, with out empty, when the bytes
// are no picture the codecs know, are damaged, or the picture is larger than CXDib accepts.
bool XDecodePicture(const void* bytes, UINT size, CXDib& out);
