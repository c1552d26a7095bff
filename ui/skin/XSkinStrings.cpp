// The skin's string tables: read with the raw parser so that a text split at entities keeps
// its blanks, trimmed as template text is, and looked up without regard to case.
#include "XSkinStrings.h"

#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XSkinText.h"
#include "XmlParser.h"

namespace {

// The reader's state between the parser's callbacks (one table is read at a time, on the UI
// thread).
struct STRING_READER {
  CXSkinStrings* table = nullptr;
  bool inString = false;
  CString name;
  std::string text;
  bool finished = false;
};
STRING_READER g_reader;

void Flush() {
  if (!g_reader.inString || !g_reader.table) return;
  const std::string& t = g_reader.text;
  size_t begin = 0, end = t.size();
  while (begin < end && (t[begin] == ' ' || t[begin] == '\t' || t[begin] == '\n' || t[begin] == '\r')) ++begin;
  while (end > begin && (t[end - 1] == ' ' || t[end - 1] == '\t' || t[end - 1] == '\n' || t[end - 1] == '\r')) --end;
  if (!g_reader.name.IsEmpty())
    g_reader.table->Set(g_reader.name, XSkinWidenUtf8(t.data() + begin, static_cast<int>(end - begin)));
  g_reader.inString = false;
  g_reader.text.clear();
}

void Callback(int action, const char* text, int length, const char** attrs) {
  switch (action) {
    case ParseStart:
      Flush();
      if (text && lstrcmpiA(text, "string") == 0) {
        g_reader.inString = true;
        g_reader.name = XSkinAttribute(attrs, "id");
      }
      break;
    case ParseText:
      if (g_reader.inString && text && length > 0) g_reader.text.append(text, static_cast<size_t>(length));
      break;
    case ParseEnd:
      Flush();
      break;
    case ParseDone:
      Flush();
      g_reader.finished = true;
      break;
    default:
      break;
  }
}

}  // namespace

CXSkinStrings& CXSkinStrings::Instance() {
  static CXSkinStrings strings;
  return strings;
}

std::wstring CXSkinStrings::Key(const CString& name) {
  std::wstring key = name.GetString();
  if (!key.empty()) CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
  return key;
}

void CXSkinStrings::LoadForLanguage(XUI_LANGUAGE language) {
  CXSkinRegistry& registry = CXSkinRegistry::Instance();
  if (const XSKIN_FILE* common = registry.FindXml(L"res.strings")) ReadFromPackage(CString(common->path));
  CString own = CString(L"res.strings.") + XLanguageTag(language);
  if (const XSKIN_FILE* table = registry.FindXml(own)) ReadFromPackage(CString(table->path));
}

int CXSkinStrings::ReadFromPackage(const wchar_t* entry) {
  XBuffer<unsigned char> bytes;
  if (!XExtractSkinFile(bytes, entry)) return 0;
  return ReadFromBuffer(bytes);
}

int CXSkinStrings::ReadFromBuffer(XBuffer<unsigned char>& bytes) {
  g_reader = STRING_READER();
  g_reader.table = this;
  CXmlParser().DofileRaw(bytes, &Callback);
  const bool finished = g_reader.finished;
  g_reader = STRING_READER();
  return finished ? 1 : 0;
}

void CXSkinStrings::Set(const CString& name, const CString& text) { m_texts[Key(name)] = text; }

const CString* CXSkinStrings::Find(const CString& name) const {
  auto it = m_texts.find(Key(name));
  return it == m_texts.end() ? nullptr : &it->second;
}

CString CXSkinStrings::Resolve(const CString& value) const {
  if (value.GetLength() < 2 || value.GetAt(0) != L'@') return value;
  const CString* text = Find(value.Mid(1));
  return text ? *text : value;
}
