// CXmlParser: the ParseAction protocol over buffers and files, including the single closing
// ParseDone for well-formed and malformed text, and the missing-file message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestUtil.h"
#include "XmlParser.h"

namespace {

struct Event {
  int action;
  std::string text;
  std::vector<std::string> attrs;
};

std::vector<Event>& Events() {
  static std::vector<Event> events;
  return events;
}

void Record(int action, const char* text, int length, const char** attrs) {
  Event e{action, text ? std::string(text, static_cast<size_t>(length)) : std::string(), {}};
  if (action == ParseError && text) e.text = text;
  for (int i = 0; attrs && attrs[i]; ++i) e.attrs.push_back(attrs[i]);
  Events().push_back(e);
}

std::vector<Event> ParseXml(const std::string& xml) {
  Events().clear();
  XBuffer<unsigned char> buffer;
  if (!xml.empty()) {
    buffer.Resize(static_cast<int>(xml.size()));
    memcpy(buffer.GetData(), xml.data(), xml.size());
  }
  CXmlParser().Dofile(buffer, &Record);
  return Events();
}

std::vector<Event> ParseFile(const std::wstring& path) {
  Events().clear();
  CXmlParser().Dofile(xtest::Narrow(path).c_str(), &Record);
  return Events();
}

int Count(const std::vector<Event>& events, int action) {
  int n = 0;
  for (const Event& e : events) n += e.action == action;
  return n;
}

TEST(XmlParser, ReportsElementsAttributesAndTrimmedText) {
  auto events = ParseXml("<a x=\"1\" y='two'>\n\t  hello <b/>  </a>");
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].action, ParseStart);
  EXPECT_EQ(events[0].text, "a");
  EXPECT_EQ(events[0].attrs, (std::vector<std::string>{"x", "1", "y", "two"}));
  EXPECT_EQ(events[1].action, ParseText);
  EXPECT_EQ(events[1].text, "hello ");  // only leading blanks, tabs and line feeds go
  EXPECT_EQ(events[2].action, ParseStart);
  EXPECT_EQ(events[2].text, "b");
  EXPECT_TRUE(events[2].attrs.empty());
  EXPECT_EQ(events[3].action, ParseEnd);
  EXPECT_EQ(events[4].action, ParseEnd);
  EXPECT_EQ(events[4].text, "a");
  EXPECT_EQ(events[5].action, ParseDone);
}

TEST(XmlParser, EveryBufferEndsWithExactlyOneDone) {
  for (const char* xml : {"<a><b>text</b></a>", "<a><b>text</b><c", "not xml at all", "", "<a></b>"}) {
    auto events = ParseXml(xml);
    ASSERT_FALSE(events.empty()) << xml;
    EXPECT_EQ(events.back().action, ParseDone) << xml;
    EXPECT_EQ(Count(events, ParseDone), 1) << xml;
  }
  // Elements completed before the malformed point are reported.
  auto events = ParseXml("<a><b k='v'/><c></a>");
  EXPECT_EQ(Count(events, ParseStart), 3);
  EXPECT_EQ(events.back().action, ParseDone);
}

TEST(XmlParser, FilesEndWithOneDoneWhetherWellFormedOrNot) {
  xtest::TempDir dir;
  ASSERT_TRUE(xtest::WriteBytes(dir / L"good.xml", "<a><b/></a>"));
  ASSERT_TRUE(xtest::WriteBytes(dir / L"bad.xml", "<a><b/><"));
  auto good = ParseFile(dir / L"good.xml");
  EXPECT_EQ(Count(good, ParseStart), 2);
  EXPECT_EQ(Count(good, ParseEnd), 2);
  EXPECT_EQ(Count(good, ParseDone), 1);
  EXPECT_EQ(good.back().action, ParseDone);
  auto bad = ParseFile(dir / L"bad.xml");
  EXPECT_EQ(Count(bad, ParseStart), 2);
  EXPECT_EQ(Count(bad, ParseDone), 1);
  EXPECT_EQ(bad.back().action, ParseDone);
}

TEST(XmlParser, EmptyUnreadableAndMissingFiles) {
  xtest::TempDir dir;
  uitest::MessageRecorder boxes;
  ASSERT_TRUE(xtest::WriteBytes(dir / L"empty.xml", ""));
  EXPECT_TRUE(ParseFile(dir / L"empty.xml").empty());

  // A folder exists but cannot be opened as a file.
  auto folder = ParseFile(dir.Path());
  ASSERT_EQ(folder.size(), 1u);
  EXPECT_EQ(folder[0].action, ParseError);
  EXPECT_EQ(folder[0].text, "cannot open file!");
  EXPECT_TRUE(boxes.Messages().empty());

  std::wstring missing = dir / L"missing.xml";
  EXPECT_TRUE(ParseFile(missing).empty());
  ASSERT_EQ(boxes.Messages().size(), 1u);
  EXPECT_EQ(boxes.Messages()[0].text, L"Cannot find file: " + missing + L"!");
  EXPECT_EQ(boxes.Messages()[0].caption, L"Error");
  EXPECT_EQ(boxes.Messages()[0].type, static_cast<UINT>(MB_OK));
}

// A reader on the template base: counts elements and takes the finished flag from Done.
class CountingReader : public IXmlTemplate<CountingReader> {
 public:
  CountingReader() { s_current = this; }
  static void Callback(int action, const char*, int, const char**) {
    if (action == ParseStart) ++s_current->elements;
    if (action == ParseDone) s_current->m_bFinished = 1;
  }
  int elements = 0;
  static CountingReader* s_current;
};
CountingReader* CountingReader::s_current = nullptr;

TEST(XmlTemplate, ParseOperationsReturnTheFinishedFlag) {
  xtest::TempDir dir;
  ASSERT_TRUE(xtest::WriteBytes(dir / L"r.xml", "<r><i/><i/></r>"));
  CountingReader wide;
  EXPECT_EQ(wide.LoadFromFile((dir / L"r.xml").c_str(), &CountingReader::Callback), 1);
  EXPECT_EQ(wide.elements, 3);

  uitest::MessageRecorder boxes;
  CountingReader missing;
  EXPECT_EQ(missing.LoadFromFile(xtest::Narrow(dir / L"none.xml").c_str(), &CountingReader::Callback), 0);
  EXPECT_EQ(boxes.Messages().size(), 1u);

  CountingReader buffer;
  XBuffer<unsigned char> bytes;
  bytes.Resize(3);
  memcpy(bytes.GetData(), "<x>", 3);
  EXPECT_EQ(buffer.LoadFromBuffer(bytes, &CountingReader::Callback), 1);
  EXPECT_EQ(buffer.elements, 1);
}

TEST(XBufferTest, ResizeRules) {
  XBuffer<unsigned char> b;
  EXPECT_FALSE(b.Resize(0));
  EXPECT_FALSE(b.Resize(-3));
  EXPECT_EQ(b.GetSize(), 0);
  EXPECT_EQ(b.GetData(), nullptr);
  ASSERT_TRUE(b.Resize(4));
  b.GetData()[0] = 9;
  EXPECT_FALSE(b.Resize(0));
  EXPECT_EQ(b.GetSize(), 4);
  EXPECT_EQ(b.GetData()[0], 9);
  ASSERT_TRUE(b.Resize(8));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetData()[i], 0);
}

}  // namespace
