// HotKey.xml: the XML layer's event stream read by the key table's entry rule.
#include <vector>

#include "FuzzCheck.h"
#include "HotKeyRules.h"
#include "XmlStream.h"

namespace {

std::vector<std::pair<std::string, std::string>> g_entries;
int g_done = 0;

void OnEvent(int action, const char* text, int length, const char** attrs) {
  if (action == ParseDone) ++g_done;
  if (action != ParseStart) return;
  const char* key = nullptr;
  const char* value = nullptr;
  if (XHotKeyItem(text, length, attrs, &key, &value)) {
    FUZZ_CHECK(key && value);
    g_entries.emplace_back(key, value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_entries.clear();
  g_done = 0;
  XParseXmlBytes(reinterpret_cast<const char*>(data), static_cast<int>(size), &OnEvent, false);
  FUZZ_CHECK(g_done == 1);
  return 0;
}
