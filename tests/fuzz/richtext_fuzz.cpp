// Rich-text captions of any UTF-16 text: the parts cover the text exactly, and every styled
// run's text comes from inside its part.
#include "FuzzCheck.h"
#include "RichTextMarkup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text = FuzzU16(data, size);
  std::u16string joined;
  for (const std::u16string& part : XSplitRichParts(text)) {
    FUZZ_CHECK(!part.empty());
    joined += part;
  }
  FUZZ_CHECK(joined == text);
  size_t chars = 0;
  for (const XRichRun& run : XParseRichText(text)) {
    FUZZ_CHECK(run.styled || run.text.find(u"{#") == std::u16string::npos ||
               run.text.find(u"{/}", run.text.find(u"{#")) == std::u16string::npos);
    if (!run.styled) FUZZ_CHECK(run.fontIds[0] == 0 && run.fontIds[1] == 0 && run.fontIds[2] == 0);
    FUZZ_CHECK(run.fontIds[3] == 0);
    chars += run.text.size();
  }
  FUZZ_CHECK(chars <= text.size());
  return 0;
}
