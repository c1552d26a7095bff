// Message boxes of the framework, with the sink that keeps unattended runs from blocking.
#include "XMessageBox.h"

namespace {
PFN_XMessageSink g_sink = nullptr;
}

int XShowMessageBox(const wchar_t* text, const wchar_t* caption, UINT type) {
  if (g_sink) {
    g_sink(text ? text : L"", caption ? caption : L"", type);
    return IDOK;
  }
  return MessageBoxW(nullptr, text, caption, type);
}

PFN_XMessageSink XSetMessageSink(PFN_XMessageSink sink) {
  PFN_XMessageSink old = g_sink;
  g_sink = sink;
  return old;
}
