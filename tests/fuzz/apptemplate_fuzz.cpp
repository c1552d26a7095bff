// The skin's start file "oninit.x" through the XML layer and the start-file grammar.
#include "FuzzCheck.h"
#include "SkinReaderRules.h"
#include "XmlStream.h"

namespace {

int g_entries = 0;

void OnEvent(int action, const char* text, int length, const char** attrs) {
  XStartFileEntry entry;
  if (action != ParseStart || !XStartFileEntryOf(text, attrs, &entry)) return;
  FUZZ_CHECK(entry.name && entry.path);
  ++g_entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_entries = 0;
  XParseXmlBytes(reinterpret_cast<const char*>(data), static_cast<int>(size), &OnEvent, false);
  return 0;
}
