// The XML layer's ParseAction stream, stripped and raw: the protocol's promises hold for any
// bytes (balanced start and end events, text only inside elements and never empty, one done).
#include <vector>

#include "FuzzCheck.h"
#include "XmlStream.h"

namespace {

std::vector<std::string> g_open;
int g_done = 0;
bool g_raw = false;

void OnEvent(int action, const char* text, int length, const char** attrs) {
  FUZZ_CHECK(g_done == 0);
  switch (action) {
    case ParseStart:
      FUZZ_CHECK(text && length == static_cast<int>(strlen(text)) && attrs);
      for (const char** a = attrs; *a; a += 2) FUZZ_CHECK(a[1]);
      g_open.emplace_back(text, static_cast<size_t>(length));
      break;
    case ParseEnd:
      FUZZ_CHECK(!g_open.empty() && g_open.back() == std::string(text, static_cast<size_t>(length)));
      FUZZ_CHECK(!attrs);
      g_open.pop_back();
      break;
    case ParseText:
      FUZZ_CHECK(text && length > 0 && !g_open.empty());
      if (!g_raw) FUZZ_CHECK(text[0] != ' ' && text[0] != '\t' && text[0] != '\n');
      break;
    case ParseDone:
      ++g_done;
      break;
    default:
      FUZZ_CHECK(action == ParseError);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> bytes(data, data + size);
  for (bool raw : {false, true}) {
    g_open.clear();
    g_done = 0;
    g_raw = raw;
    XParseXmlBytes(bytes.data(), static_cast<int>(bytes.size()), &OnEvent, raw);
    FUZZ_CHECK(g_done == 1);
  }
  return 0;
}
