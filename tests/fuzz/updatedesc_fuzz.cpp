// The update description's values as the updater uses them: the announced and current
// versions compared by the version rule, the notes' line breaks, the installer's file name
// from the url, the Content-Length text and the dialog's colour text.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "UpdateRules.h"

namespace {

std::u16string Text(FuzzedDataProvider& in) {
  std::string bytes = in.ConsumeRandomLengthString(600);
  return FuzzU16(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::u16string announced = Text(in), current = Text(in), url = Text(in), info = Text(in);
  std::u16string number = Text(in), color = Text(in);

  uint64_t a = brindle::VersionNumber(announced), c = brindle::VersionNumber(current);
  FUZZ_CHECK(brindle::VersionNumber(announced + u".9") >= a);  // a part added never lowers it
  FUZZ_CHECK((a > c) != (a <= c));
  std::u16string joined = announced + u"." + current;
  (void)brindle::VersionNumber(joined);

  std::u16string notes = brindle::ExpandLineBreaks(info);
  FUZZ_CHECK(notes.size() <= info.size());
  FUZZ_CHECK(notes.find(u"\\n") == std::u16string::npos);

  std::u16string name = u"untouched";
  if (brindle::InstallerFileName(url, &name)) {
    FUZZ_CHECK(!name.empty() && name.find_first_of(u"<>:\"/\\|?*") == std::u16string::npos);
    FUZZ_CHECK(name.back() != u'.' && name.back() != u' ');
    for (char16_t ch : name) FUZZ_CHECK(ch >= 32);
  } else {
    FUZZ_CHECK(name == u"untouched");
  }

  (void)brindle::ParseContentLength(number.c_str());
  uint32_t rgb = 0xFFFFFFFF;
  if (brindle::ParseColorText(color, &rgb)) FUZZ_CHECK(rgb <= 0xFFFFFF);
  return 0;
}
