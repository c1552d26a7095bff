// Registry scripts of the context-menu extension, with the variables it substitutes.
#include "FuzzCheck.h"
#include "RegScript.h"

namespace {

void CheckKey(const REG_SCRIPT_KEY& key, int depth) {
  FUZZ_CHECK(depth <= CRegScript::kMaxDepth);
  FUZZ_CHECK(!key.name.empty() && key.name.size() <= 255 && key.name.find(u'\\') == std::u16string::npos);
  for (const REG_SCRIPT_NAMED_VALUE& v : key.values) FUZZ_CHECK(!v.name.empty() && v.name.size() <= 16383);
  for (const REG_SCRIPT_KEY& sub : key.subkeys) CheckKey(sub, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const REG_SCRIPT_VARIABLES kVars = {{u"APPID", u"{6F1A4C32-0D5B-4E7A-9C21-3B8E5D7F9A10}"},
                                             {u"MODULE", u"C:\\Program Files\\it's {odd}\\100%\\Hollin.dll"}};
  // Half the inputs are read as UTF-16, half as ASCII bytes, so plain-text scripts mutate well.
  std::u16string text;
  if (size > 0 && (data[0] & 1)) text = FuzzU16(data + 1, size - 1);
  else if (size > 0) text.assign(data + 1, data + size);
  CRegScript script;
  if (script.Parse(text, kVars)) {
    FUZZ_CHECK(script.Error().empty());
    for (const REG_SCRIPT_ROOT& root : script.Roots())
      for (const REG_SCRIPT_KEY& key : root.keys) CheckKey(key, 1);
  } else {
    FUZZ_CHECK(!script.Error().empty() && script.Roots().empty());
  }
  return 0;
}
