// The skin's font file through the XML layer and the font-file grammar: colours stay 24-bit,
// font 0 is never described, and a pair names a font that the file described.
#include "FuzzCheck.h"
#include "SkinReaderRules.h"
#include "XmlStream.h"

namespace {

XFontFileGrammar* g_grammar = nullptr;

void OnEvent(int action, const char* text, int length, const char** attrs) {
  XFontFileStep step = g_grammar->Feed(action, text, length, attrs);
  if (step.kind != XFontFileStep::None) FUZZ_CHECK(step.rgb <= 0xFFFFFF);
  if (step.kind == XFontFileStep::Pair) FUZZ_CHECK(step.font != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  XFontFileGrammar grammar;
  g_grammar = &grammar;
  XParseXmlBytes(reinterpret_cast<const char*>(data), static_cast<int>(size), &OnEvent, false);
  auto zero = grammar.Fonts().find(0);
  if (zero != grammar.Fonts().end()) FUZZ_CHECK(!zero->second.hasFace && !zero->second.hasHeight && !zero->second.bold);
  g_grammar = nullptr;
  return 0;
}
