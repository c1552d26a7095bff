// Oskel.ParseXML from Lua: event order and arguments, the text rules, bad input, handler
// failures and the refusal of a nested parse.
#include <windows.h>

#include "OskelFixture.h"
#include "TestUtil.h"

namespace {

class Xml : public OskelScript {
 protected:
  void SetUp() override {
    OskelScript::SetUp();
    // record(...) keeps "count/event:name:text" per call; take() returns and clears them.
    ASSERT_EQ(Run("events = {}\n"
                  "function record(...)\n"
                  "  local e, n, t = ...\n"
                  "  events[#events + 1] = select('#', ...) .. '/' .. tostring(e) .. ':' .. tostring(n) .. ':' .. tostring(t)\n"
                  "end\n"
                  "function take() local s = table.concat(events, '|') events = {} return s end"),
              "");
  }
  // Writes the document into the temp folder and names it in the global `path`.
  void Document(const std::string& bytes, const char* global = "path") {
    std::wstring file = dir / (Widen(global) + L".xml");
    ASSERT_TRUE(xtest::WriteBytes(file, bytes));
    host.SetString(global, Ansi(file));
  }
  static std::wstring Widen(const char* s) { return XWiden(s); }
  std::string Parse(const char* handler = "record") {
    return Run(std::string("return select('#', Oskel.ParseXML(path, '") + handler + "')), take()");
  }
  xtest::TempDir dir;
};

TEST_F(Xml, StartTagThenTextWithLeadingBlanksSkipped) {
  Document("<root>  hi </root>");
  EXPECT_EQ(Parse(), "0,3/1:root:nil|3/3:root:hi ");
}

TEST_F(Xml, TextAfterAClosingTagBelongsToTheLastOpenedElement) {
  Document("<a><b>x</b>y<c/>\n\t z</a>");
  EXPECT_EQ(Parse(), "0,3/1:a:nil|3/1:b:nil|3/3:b:x|3/3:b:y|3/1:c:nil|3/3:c:z");
}

TEST_F(Xml, BlankChunksVanishButCarriageReturnsAndUtf8Stay) {
  Document("<?xml version=\"1.0\"?>\n<list>\n  <item>\xC3\xA9t\xC3\xA9</item>\n  <cr>&#13;x</cr>\n</list>\n");
  std::string events = Parse();
  EXPECT_EQ(events.find("0,3/1:list:nil|3/1:item:nil|3/3:item:\xC3\xA9t\xC3\xA9|3/1:cr:nil|3/3:cr:\r"), 0u)
      << events;
  EXPECT_EQ(events.find(":\n"), std::string::npos);  // no chunk of line feeds and spaces
}

TEST_F(Xml, MissingEmptyOrUnusablePathsCallNothing) {
  host.SetString("path", Ansi(dir / L"missing.xml"));
  EXPECT_EQ(Parse(), "0,");
  Document("");
  EXPECT_EQ(Parse(), "0,");
  Document("<r>t</r>");
  host.SetString("longpath", std::string(5000, 'x') + ".xml");
  host.SetString("nulpath", Ansi(dir / L"path.xml") + std::string("\0.bak", 5));
  EXPECT_EQ(Run("return select('#', Oskel.ParseXML(longpath, 'record')), select('#', Oskel.ParseXML(nulpath, 'record')),"
                " select('#', Oskel.ParseXML(nil, 'record')), select('#', Oskel.ParseXML({}, 'record')), take()"),
            "0,0,0,0,");
  EXPECT_EQ(Parse(), "0,3/1:r:nil|3/3:r:t");  // the same file by its plain name
}

TEST_F(Xml, MalformedDocumentStopsSilentlyAfterTheEventsBeforeTheFault) {
  Document("<a><b>t</a><never/>");
  EXPECT_EQ(Parse(), "0,3/1:a:nil|3/1:b:nil|3/3:b:t");
}

TEST_F(Xml, HandlerErrorsAreSwallowedAndItIsLookedUpForEveryEvent) {
  Document("<a><b>one</b><c>two</c></a>");
  EXPECT_EQ(Run("local calls = 0\n"
                "function failing(e, n) calls = calls + 1 error('boom ' .. n) end\n"
                "local n = select('#', Oskel.ParseXML(path, 'failing'))\n"
                "return n, calls"),
            "0,5");
  // The first event swaps the global: later events reach the new function.
  EXPECT_EQ(Run("function first(e, n) record('first', n) first = record end\n"
                "Oskel.ParseXML(path, 'first') return take()"),
            "2/first:a:nil|3/1:b:nil|3/3:b:one|3/1:c:nil|3/3:c:two");
  // No such global, or not a function: nothing happens.
  EXPECT_EQ(Run("notfunction = 5\n"
                "return select('#', Oskel.ParseXML(path, 'nosuch')), select('#', Oskel.ParseXML(path, 'notfunction')),"
                " select('#', Oskel.ParseXML(path, nil)), take()"),
            "0,0,0,");
}

TEST_F(Xml, HandlerNameIsBoundedTo259Characters) {
  Document("<r/>");
  const std::string name259 = "h" + std::string(258, 'x');
  host.SetString("short", name259);
  host.SetString("long", name259 + std::string(41, 'y'));
  EXPECT_EQ(Run("_G[long] = function() record('long') end\n"
                "_G[short] = function(e, n) record(e, n) end\n"
                "Oskel.ParseXML(path, long) return take()"),
            "2/1:r:nil");
}

TEST_F(Xml, NestedParseIsRefusedAndTheOuterParseGoesOn) {
  Document("<outer><first>a</first><second>b</second></outer>");
  Document("<inner>x</inner>", "other");
  EXPECT_EQ(Run("function inner(...) record('inner', ...) end\n"
                "function outer(e, n, t)\n"
                "  record(e, n, t)\n"
                "  if n == 'first' and e == 1 then record('nested', select('#', Oskel.ParseXML(other, 'inner'))) end\n"
                "end\n"
                "Oskel.ParseXML(path, 'outer') return take()"),
            "3/1:outer:nil|3/1:first:nil|2/nested:0:nil|3/3:first:a|3/1:second:nil|3/3:second:b");
  // Once the outer parse has ended, the module parses again.
  host.SetString("path", Ansi(dir / L"other.xml"));
  EXPECT_EQ(Parse("inner"), "0,4/inner:1:inner|4/inner:3:inner");
}

}  // namespace
