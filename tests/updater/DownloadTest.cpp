// The download routine over Wine's WinINet against a loopback server: what counts as a
// complete download, what is left on disk otherwise, and the progress it reports.
#include <gtest/gtest.h>

#include <vector>

#include "Download.h"
#include "LoopbackHttpServer.h"
#include "TestUtil.h"

namespace {

using Server = xtest::LoopbackHttpServer;

std::string Body(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 131 + i / 4096) & 0xFF);
  return body;
}

class Download : public ::testing::Test {
 protected:
  std::wstring Url(const char* path) const { return server.BaseUrlW() + xtest::Widen(path); }

  const std::string body = Body(50000);
  Server server{[this](const Server::Request& r) {
    if (r.target == "/file.bin") return Server::Response(200, body);
    if (r.target == "/nolength.bin") return Server::Response(200, body, false);
    if (r.target == "/short.bin")  // announces more than it sends, then closes
      return Server::Response(200, body.substr(0, 20000), false, "Content-Length: 50000\r\n");
    if (r.target == "/empty.bin") return Server::Response(200, "");
    return Server::Response(404, "<html>not here</html>");
  }};
  xtest::TempDir dir;
  std::wstring target = dir / L"out.bin";
};

}  // namespace

TEST_F(Download, CompleteBodyWithProgress) {
  std::vector<int> steps;
  ASSERT_TRUE(brindle::DownloadToFile(Url("/file.bin"), target, [&](int p) { steps.push_back(p); }));
  EXPECT_EQ(xtest::ReadBytes(target), body);
  ASSERT_FALSE(steps.empty());
  EXPECT_GE(steps.size(), body.size() / 4096);  // blocks of at most 4096 bytes
  for (size_t i = 1; i < steps.size(); ++i) EXPECT_LE(steps[i - 1], steps[i]);
  EXPECT_EQ(steps.back(), 100);

  // An existing file is replaced, and no progress function is needed.
  ASSERT_TRUE(xtest::WriteBytes(target, std::string(200000, 'x')));
  ASSERT_TRUE(brindle::DownloadToFile(Url("/file.bin"), target));
  EXPECT_EQ(xtest::ReadBytes(target), body);
  ASSERT_TRUE(server.Requests().size() >= 2);
  EXPECT_EQ(server.Requests()[0].method, "GET");
}

TEST_F(Download, IncompleteAnswersLeaveNoFile) {
  // No Content-Length (even with a body), a 404 page, an empty body, a body cut short, a
  // server that is gone: each fails, and nothing is left at the target.
  for (const char* path : {"/nolength.bin", "/missing.exe", "/empty.bin", "/short.bin"}) {
    EXPECT_FALSE(brindle::DownloadToFile(Url(path), target)) << path;
    EXPECT_FALSE(xtest::FileExists(target)) << path;
  }
  std::wstring gone;
  {
    Server other([](const Server::Request&) { return Server::Response(200, "x"); });
    gone = other.BaseUrlW() + L"/file.bin";
  }
  EXPECT_FALSE(brindle::DownloadToFile(gone, target));
  EXPECT_FALSE(xtest::FileExists(target));
}

TEST_F(Download, TargetThatCannotBeWritten) {
  EXPECT_FALSE(brindle::DownloadToFile(Url("/file.bin"), dir / L"no such folder\\out.bin"));
}

TEST_F(Download, CancelStopsAndRemovesThePartialFile) {
  server.SetPacing(4096, 20);
  std::atomic<bool> cancel{false};
  int calls = 0;
  EXPECT_FALSE(brindle::DownloadToFile(Url("/file.bin"), target, [&](int) {
    if (++calls == 2) cancel = true;
  }, &cancel));
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(xtest::FileExists(target));
}

TEST(DownloadPercent, SixtyFourBitArithmetic) {
  EXPECT_EQ(brindle::DownloadPercent(0, 1000), 0);
  EXPECT_EQ(brindle::DownloadPercent(999, 1000), 99);
  EXPECT_EQ(brindle::DownloadPercent(30000000, 40000000), 75);  // beyond 32-bit bytes x 100
  EXPECT_EQ(brindle::DownloadPercent(5000, 4000), 100);
  EXPECT_EQ(brindle::DownloadPercent(5, 0), 0);
}
