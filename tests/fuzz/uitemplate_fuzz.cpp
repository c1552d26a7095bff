// UI templates through the XML layer's raw stream and the template grammar, built into a
// model tree by a sink that keeps the builder's rules: one root, children only below the
// insertion point, and a close only for a View that made an object.
#include <vector>

#include "FuzzCheck.h"
#include "TemplateGrammar.h"
#include "XmlStream.h"

namespace {

class CModelSink : public IXTemplateSink {
 public:
  bool MakeView(const char* className, const char* id) override {
    FUZZ_CHECK(className && id);
    // Unknown classes make nothing, as the class table does.
    if (!XSkinSameName(className, "view") && !XSkinSameName(className, "button")) return false;
    if (!m_rootMade) {
      m_rootMade = true;
      m_depth = 1;
      return true;
    }
    if (m_depth == 0) return false;
    ++m_depth;
    ++m_objects;
    return true;
  }
  void CloseView() override {
    FUZZ_CHECK(m_depth > 0);
    --m_depth;
  }
  void MakeImage(const XImageSpec& image) override {
    for (const auto& p : image.properties) FUZZ_CHECK(p.first && p.second);
    if (image.margin) (void)XSkinParseMarginText(XSkinByteUnits(image.margin, strlen(image.margin)));
  }
  void AttachEvent(const char* name, const char* func) override { FUZZ_CHECK(*name && *func); }
  void Relayout(const XRelayoutSpec& rule) override {
    FUZZ_CHECK(rule.margin && rule.alignment);
    (void)XSkinParseMarginText(XSkinByteUnits(rule.margin, strlen(rule.margin)));
  }
  void ApplyProperty(const std::string& element, const std::string& value) override {
    FUZZ_CHECK(!element.empty() && !value.empty());
    FUZZ_CHECK(value.front() != ' ' && value.front() != '\t' && value.front() != '\n');
    std::u16string units = XSkinByteUnits(value.data(), value.size());
    XSkinBox box;
    (void)XSkinParseRectText(units, &box);
    (void)XSkinParseRgbText(units);
    (void)XSkinParseIntListText(units);
  }

  bool m_rootMade = false;
  int m_depth = 0;
  int m_objects = 0;
};

XTemplateGrammar* g_grammar = nullptr;
bool g_done = false;

void OnEvent(int action, const char* text, int length, const char** attrs) {
  FUZZ_CHECK(!g_done);
  g_done = g_grammar->Feed(action, text, length, attrs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CModelSink sink;
  XTemplateGrammar grammar(sink);
  g_grammar = &grammar;
  g_done = false;
  XParseXmlBytes(reinterpret_cast<const char*>(data), static_cast<int>(size), &OnEvent, true);
  FUZZ_CHECK(g_done);
  g_grammar = nullptr;
  return 0;
}
