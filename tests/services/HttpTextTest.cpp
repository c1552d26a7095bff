// The raw HTTP client's text rules: address splitting, the request and the header reader.
#include <gtest/gtest.h>

#include <string>

#include "HttpText.h"

namespace {

TEST(HttpText, SplitsAddressesAtTheHost) {
  struct Case {
    const wchar_t* url;
    const wchar_t* host;
    const wchar_t* prefix;
    const wchar_t* path;
  } cases[] = {
      {L"http://example.com", L"example.com", L"http://example.com", L""},
      {L"http://example.com/", L"example.com", L"http://example.com", L"/"},
      {L"HTTP://a.b:81/x/y.zip?q=1", L"a.b:81", L"HTTP://a.b:81", L"/x/y.zip?q=1"},
      {L"http:///host//a/b", L"host", L"http:///host", L"//a/b"},
      {L"ftp://h", L"h", L"ftp://h", L""},
      {L"http://", L"", L"http://", L""},
  };
  for (const Case& c : cases) {
    XUrlParts p = XSplitUrlText(c.url);
    EXPECT_TRUE(p.found) << c.url;
    EXPECT_EQ(p.host, c.host) << c.url;
    EXPECT_EQ(p.prefix, c.prefix) << c.url;
    EXPECT_EQ(p.path, c.path) << c.url;
  }
  for (const wchar_t* url : {L"example.com/a", L"http:/x/y", L"", static_cast<const wchar_t*>(nullptr)}) {
    XUrlParts p = XSplitUrlText(url);
    EXPECT_FALSE(p.found);
    EXPECT_TRUE(p.host.empty() && p.prefix.empty() && p.path.empty());
  }
}

TEST(HttpText, HostPortOnlyForANumberInRange) {
  struct Case {
    const char* host;
    bool ok;
    const char* name;
    uint16_t port;
  } cases[] = {
      {"example.com", true, "example.com", 80},  {"127.0.0.1:8080", true, "127.0.0.1", 8080},
      {"h:65535", true, "h", 65535},             {"h:1", true, "h", 1},
      {"h:0", true, "h:0", 80},                  {"h:65536", true, "h:65536", 80},
      {"h:", true, "h:", 80},                    {"h:8a", true, "h:8a", 80},
      {"h:123456", true, "h:123456", 80},        {"", false, "", 80},
      {":80", false, "", 80},
  };
  for (const Case& c : cases) {
    std::string name;
    uint16_t port = 0;
    EXPECT_EQ(XSplitHostPort(c.host, name, port), c.ok) << c.host;
    EXPECT_EQ(name, c.name) << c.host;
    EXPECT_EQ(port, c.port) << c.host;
  }
}

const char kRequest[] =
    "GET /a/b.txt?x=1 HTTP/1.1\r\n"
    "Accept: */*\r\n"
    "Accept-Language: zh-cn\r\n"
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.2; )\r\n"
    "Host:example.com\r\n"
    "Connection: Keep-Alive\r\n"
    "\r\n";

TEST(HttpText, RequestHasTheFixedHeaderOrderAndIsNeverCut) {
  char out[1024];
  size_t n = XBuildGetRequest("/a/b.txt?x=1", "example.com", out, sizeof out);
  EXPECT_EQ(std::string(out, n), kRequest);
  EXPECT_EQ(out[n], 0);

  const size_t len = sizeof kRequest - 1;
  std::string exact(len + 1, 'Z');
  EXPECT_EQ(XBuildGetRequest("/a/b.txt?x=1", "example.com", &exact[0], len + 1), len);
  std::string tight(len, 'Z');
  EXPECT_EQ(XBuildGetRequest("/a/b.txt?x=1", "example.com", &tight[0], len), 0u);
  EXPECT_EQ(tight[0], 0);  // refused, left empty

  std::string longPath = "/" + std::string(1100, 'p');
  char small[1024];
  memset(small, 'Z', sizeof small);
  EXPECT_EQ(XBuildGetRequest(longPath.c_str(), "h", small, sizeof small), 0u);
  EXPECT_EQ(small[0], 0);
}

XHttpHeaderReader ReadAll(const std::string& bytes, size_t* consumed = nullptr) {
  XHttpHeaderReader r;
  size_t i = 0;
  while (i < bytes.size()) {
    if (r.Feed(bytes[i++])) break;
  }
  if (consumed) *consumed = i;
  return r;
}

TEST(HttpText, StatusCodeSitsBetweenTheFirstTwoBlanksOfTheStatusLine) {
  struct Case {
    const char* header;
    int code;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\n\r\n", 200},
      {"HTTP/1.0 404 Not Found\r\n\r\n", 404},
      {"HTTP/1.1 200\r\nContent-Length: 5\r\n\r\n", 0},  // one blank on the status line
      {"HTTP/1.1\r\n\r\n", 0},
      {"HTTP/1.1 2x0 OK\r\n\r\n", 2},
      {"HTTP/1.1  200 OK\r\n\r\n", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XParseStatusCode(c.header), c.code) << c.header;
    EXPECT_EQ(ReadAll(c.header).StatusCode(), c.code) << c.header;
  }
  EXPECT_EQ(XParseStatusCode(nullptr), 0);
}

TEST(HttpText, ContentLengthLines) {
  struct Case {
    const char* line;
    int64_t value;
  } cases[] = {
      {"Content-Length: 1234", 1234},   {"content-length:7", 7},      {"CONTENT-LENGTH :  9", 9},
      {"Content-Length: 12abc", 12},    {"Content-Length: ", 0},      {"Content-Length: -5", 0},
      {"X-Content-Length: 5", -1},      {"Content-Lengths: 5", -1},   {"Content-Type: text", -1},
      {"Content-Length: 99999999999999999999999", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(XParseContentLengthLine(c.line, strlen(c.line)), c.value) << c.line;
}

TEST(HttpText, HeaderEndsAtTheBlankLineWithoutTakingBodyBytes) {
  std::string response = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\nX: y\r\n\r\nbody";
  size_t consumed = 0;
  XHttpHeaderReader r = ReadAll(response, &consumed);
  EXPECT_TRUE(r.Complete());
  EXPECT_EQ(consumed, response.size() - 4);
  EXPECT_EQ(r.ContentLength(), 4);
  EXPECT_EQ(r.StatusCode(), 200);
  EXPECT_EQ(std::string(r.Text()), response.substr(0, consumed));

  XHttpHeaderReader open = ReadAll("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n");
  EXPECT_FALSE(open.Complete());
  EXPECT_EQ(open.ContentLength(), 4);
  EXPECT_EQ(ReadAll("HTTP/1.1 200 OK\r\n\r\n").ContentLength(), 0);
}

TEST(HttpText, LongHeaderKeepsItsStartAndStillFindsTheLength) {
  std::string filler = "X-Filler: " + std::string(5000, 'a') + "\r\n";
  for (bool lengthFirst : {true, false}) {
    std::string header = "HTTP/1.1 200 OK\r\n";
    header += lengthFirst ? "Content-Length: 321\r\n" + filler : filler + "Content-Length: 321\r\n";
    header += "\r\n";
    size_t consumed = 0;
    XHttpHeaderReader r = ReadAll(header + "BODY", &consumed);
    EXPECT_TRUE(r.Complete());
    EXPECT_EQ(consumed, header.size());
    EXPECT_EQ(r.TotalBytes(), header.size());
    EXPECT_EQ(strlen(r.Text()), XHttpHeaderReader::kKeep);
    EXPECT_EQ(std::string(r.Text()), header.substr(0, XHttpHeaderReader::kKeep));
    EXPECT_EQ(r.StatusCode(), 200);
    EXPECT_EQ(r.ContentLength(), 321) << lengthFirst;
  }
}

}  // namespace
