// Rich-text markup: splitting and style reading. A style is "key=value" pairs between ';';
// keys are compared without regard to ASCII letter case after trimming blanks.
#include "RichTextMarkup.h"

#include "SkinValueText.h"

namespace {

const char16_t kOpen[] = u"{#";
const char16_t kClose[] = u"{/}";
const size_t kOpenLen = 2;
const size_t kCloseLen = 3;

bool IsStyledPart(const std::u16string& part) {
  return part.size() >= kOpenLen + kCloseLen && part.compare(0, kOpenLen, kOpen) == 0 &&
         part.compare(part.size() - kCloseLen, kCloseLen, kClose) == 0;
}

std::u16string Trim(const std::u16string& s) {
  const char16_t* blanks = u" \t\r\n";
  size_t b = s.find_first_not_of(blanks);
  if (b == std::u16string::npos) return std::u16string();
  size_t e = s.find_last_not_of(blanks);
  return s.substr(b, e - b + 1);
}

bool SameWord(const std::u16string& a, const char16_t* word) {
  size_t i = 0;
  for (; i < a.size() && word[i]; ++i) {
    char16_t c = a[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != word[i]) return false;
  }
  return i == a.size() && word[i] == 0;
}

void ReadStyle(const std::u16string& part, XRichRun& run) {
  std::u16string body = part.substr(kOpenLen);
  size_t close = body.find(kClose);
  if (close != std::u16string::npos) body = body.substr(0, close);
  std::u16string style;
  size_t brace = body.find(u'}');
  if (brace != std::u16string::npos) {
    style = body.substr(0, brace);
    run.text = body.substr(brace + 1);
  } else {
    run.text = body;
  }
  std::u16string unquoted;
  for (char16_t c : style) {
    if (c != u'"') unquoted += c;
  }
  for (const std::u16string& piece : XSkinSplitText(unquoted, u';')) {
    std::vector<std::u16string> fields = XSkinSplitText(piece, u'=');
    if (fields.size() < 2) continue;
    std::u16string key = Trim(fields[0]);
    const int value = XSkinParseIntText(fields[1]);
    if (SameWord(key, u"fontid")) run.fontIds[0] = value;
    else if (SameWord(key, u"hfontid")) run.fontIds[1] = value;
    else if (SameWord(key, u"pfontid")) run.fontIds[2] = value;
  }
}

}  // namespace

std::vector<std::u16string> XSplitRichParts(const std::u16string& text) {
  std::vector<std::u16string> parts;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find(kOpen, pos);
    // The closing mark is looked for after the opening one, so a stray "{/}" before it
    // stays in the plain text.
    const size_t close = open != std::u16string::npos ? text.find(kClose, open + kOpenLen) : std::u16string::npos;
    if (close == std::u16string::npos) {
      parts.push_back(text.substr(pos));
      break;
    }
    if (open > pos) parts.push_back(text.substr(pos, open - pos));
    parts.push_back(text.substr(open, close + kCloseLen - open));
    pos = close + kCloseLen;
  }
  return parts;
}

std::vector<XRichRun> XParseRichText(const std::u16string& text) {
  std::vector<XRichRun> runs;
  for (const std::u16string& part : XSplitRichParts(text)) {
    XRichRun run;
    if (IsStyledPart(part)) {
      run.styled = true;
      ReadStyle(part, run);
    } else {
      run.text = part;
    }
    runs.push_back(std::move(run));
  }
  return runs;
}
