// CXNet through the real Corvane.dll against a loopback HTTP server of the test's own.
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CorvaneLib.h"
#include "LoopbackHttpServer.h"
#include "TestUtil.h"

namespace {

using xtest::LoopbackHttpServer;

const char kUserAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.2; )\r\n";

// Records what the download thread reports; a final status is (1, x) or (2, 1..3).
class Sink : public IDownloadSink {
 public:
  void __stdcall OnProgress(int percent) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_progress.push_back(percent);
  }
  void __stdcall OnStatus(int state, int code) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_status.emplace_back(state, code);
    if (state == 1 || code != 4) {
      m_done = true;
      m_cv.notify_all();
    }
  }
  bool WaitDone(DWORD ms = 15000) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_done; });
  }
  std::vector<std::pair<int, int>> Statuses() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_status;
  }
  std::vector<int> Progress() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_progress;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_done = false;
  std::vector<std::pair<int, int>> m_status;
  std::vector<int> m_progress;
};

using Statuses = std::vector<std::pair<int, int>>;

class XNet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    net = lib.Create<IXSocket>(IID_IXSocket);
    ASSERT_NE(net, nullptr);
  }
  // A finished download's thread may still hold its reference for a moment: no count check.
  void TearDown() override {
    if (net) net->Release();
  }
  // Downloads url into a fresh file and waits for the final status.
  void Fetch(const std::wstring& url, Sink& sink, const std::wstring& file) {
    EXPECT_EQ(net->Download(url.c_str(), file.c_str(), &sink), 0);
    ASSERT_TRUE(sink.WaitDone()) << "no final status";
  }

  CorvaneLib lib;
  IXSocket* net = nullptr;
  xtest::TempDir dir;
};

TEST_F(XNet, AnswersItsIdsAndTheUnnamedSlot) {
  void* out = nullptr;
  ASSERT_EQ(net->QueryInterface(&IID_IXUnknown, &out), S_OK);
  EXPECT_EQ(out, static_cast<void*>(net));
  EXPECT_EQ(net->Release(), 1);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(net->QueryInterface(&IID_IStatistic, &out), static_cast<HRESULT>(0x80004002));
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ((CallSlot<HRESULT, UINT_PTR, UINT_PTR>(net, 5, 1, 2)), static_cast<HRESULT>(0x80004001));
}

TEST_F(XNet, SplitUrlFillsThreeBuffersOrNothing) {
  std::vector<char> host(2100, 'Q'), prefix(2100, 'Q'), path(2100, 'Q');
  net->SplitUrl(L"http://example.com/dir/f.ini", host.data(), prefix.data(), path.data());
  EXPECT_STREQ(host.data(), "example.com");
  EXPECT_STREQ(prefix.data(), "http://example.com");
  EXPECT_STREQ(path.data(), "/dir/f.ini");

  std::vector<char> h2(2100, 'Q'), p2(2100, 'Q'), q2(2100, 'Q');
  net->SplitUrl(L"example.com/dir", h2.data(), p2.data(), q2.data());
  EXPECT_EQ(h2, std::vector<char>(2100, 'Q'));
  EXPECT_EQ(p2, std::vector<char>(2100, 'Q'));
  EXPECT_EQ(q2, std::vector<char>(2100, 'Q'));

  // A path longer than a buffer is cut, terminated, and nothing is written past it.
  std::wstring longUrl = L"http://h/" + std::wstring(3000, L'x');
  std::vector<char> h3(2200, 'Q'), p3(2200, 'Q'), q3(2200, 'Q');
  net->SplitUrl(longUrl.c_str(), h3.data(), p3.data(), q3.data());
  EXPECT_EQ(strlen(q3.data()), 2099u);
  EXPECT_EQ(q3[2100], 'Q');
}

TEST_F(XNet, AddressWithoutSchemeFailsToResolve) {
  Sink sink;
  std::wstring file = dir / L"out.bin";
  Fetch(L"127.0.0.1/file.bin", sink, file);
  EXPECT_EQ(sink.Statuses(), (Statuses{{2, 2}}));
  EXPECT_FALSE(xtest::FileExists(file));
}

TEST_F(XNet, NullArgumentsStartNothing) {
  Sink sink;
  EXPECT_EQ(net->Download(nullptr, L"x", &sink), 0);
  EXPECT_EQ(net->Download(L"http://127.0.0.1/", nullptr, &sink), 0);
  EXPECT_FALSE(sink.WaitDone(300));
  EXPECT_TRUE(sink.Statuses().empty());
}

TEST_F(XNet, SendsTheFixedRequestBytesAndRootForABareHost) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Response(200, "hi"); });
  ASSERT_NE(server.Port(), 0);
  const std::string host = "127.0.0.1:" + std::to_string(server.Port());

  Sink a;
  Fetch(server.BaseUrlW() + L"/dir/file.bin?x=1&y=%20", a, dir / L"a.bin");
  Sink b;
  Fetch(server.BaseUrlW(), b, dir / L"b.bin");  // ends right after the host
  ASSERT_EQ(server.RequestCount(), 2u);
  auto requests = server.Requests();
  EXPECT_EQ(requests[0].raw, std::string("GET /dir/file.bin?x=1&y=%20 HTTP/1.1\r\n") +
                                 "Accept: */*\r\n" + "Accept-Language: zh-cn\r\n" + kUserAgent + "Host:" + host +
                                 "\r\n" + "Connection: Keep-Alive\r\n" + "\r\n");
  EXPECT_EQ(requests[1].target, "/");
  EXPECT_EQ(a.Statuses(), (Statuses{{1, 0}}));
  EXPECT_EQ(xtest::ReadBytes(dir / L"a.bin"), "hi");
  EXPECT_EQ(a.Progress(), (std::vector<int>{100}));
}

TEST_F(XNet, NotFoundReportsThenStillWritesTheBody) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) {
    return LoopbackHttpServer::Response(404, "missing page");
  });
  Sink sink;
  Fetch(server.BaseUrlW() + L"/nope", sink, dir / L"404.html");
  EXPECT_EQ(sink.Statuses(), (Statuses{{2, 4}, {1, 0}}));
  EXPECT_EQ(xtest::ReadBytes(dir / L"404.html"), "missing page");
}

TEST_F(XNet, NoContentLengthGivesAnEmptyFileThatReplacesTheOldOne) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) {
    return LoopbackHttpServer::Response(200, "unannounced body", false);
  });
  std::wstring file = dir / L"empty.bin";
  ASSERT_TRUE(xtest::WriteBytes(file, "old contents"));
  Sink sink;
  Fetch(server.BaseUrlW() + L"/f", sink, file);
  EXPECT_EQ(sink.Statuses(), (Statuses{{1, 0}}));
  EXPECT_TRUE(xtest::FileExists(file));
  EXPECT_EQ(xtest::ReadBytes(file), "");
  EXPECT_TRUE(sink.Progress().empty());
}

TEST_F(XNet, StatusLineWithOneBlankCountsAsNotOk) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) {
    return std::string("HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok");
  });
  Sink sink;
  Fetch(server.BaseUrlW() + L"/s", sink, dir / L"s.bin");
  EXPECT_EQ(sink.Statuses(), (Statuses{{2, 4}, {1, 0}}));
  EXPECT_EQ(xtest::ReadBytes(dir / L"s.bin"), "ok");
}

TEST_F(XNet, ProgressReaches100OnAMebibyteInPieces) {
  std::string body(1 << 20, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 131) >> 3);
  LoopbackHttpServer server([&](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Response(200, body); });
  server.SetPacing(64 * 1024, 5);
  Sink sink;
  Fetch(server.BaseUrlW() + L"/big.bin", sink, dir / L"big.bin");
  EXPECT_EQ(sink.Statuses(), (Statuses{{1, 0}}));
  auto progress = sink.Progress();
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 100);
  EXPECT_GE(progress.size(), 1024u);  // at most 1024 bytes per receive
  for (size_t i = 1; i < progress.size(); ++i) EXPECT_LE(progress[i - 1], progress[i]);
  EXPECT_EQ(xtest::ReadBytes(dir / L"big.bin"), body);
}

TEST_F(XNet, BodyLongerThanAnnouncedIsCutAtTheLength) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) {
    return std::string("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n0123456789");
  });
  Sink sink;
  Fetch(server.BaseUrlW() + L"/c", sink, dir / L"c.bin");
  EXPECT_EQ(xtest::ReadBytes(dir / L"c.bin"), "01234");
  EXPECT_EQ(sink.Progress(), (std::vector<int>{100}));
}

TEST_F(XNet, HeaderOfFiveThousandBytesIsReadSafely) {
  std::string filler = "X-Filler: " + std::string(5000, 'f') + "\r\n";
  LoopbackHttpServer server([&](const LoopbackHttpServer::Request& r) {
    if (r.target == "/first") return LoopbackHttpServer::Response(200, "payload-1", true, filler);
    return "HTTP/1.1 200 OK\r\n" + filler + "Content-Length: 9\r\n\r\npayload-2";
  });
  Sink first, second;
  Fetch(server.BaseUrlW() + L"/first", first, dir / L"1.bin");
  Fetch(server.BaseUrlW() + L"/second", second, dir / L"2.bin");
  EXPECT_EQ(first.Statuses(), (Statuses{{1, 0}}));
  EXPECT_EQ(second.Statuses(), (Statuses{{1, 0}}));
  EXPECT_EQ(xtest::ReadBytes(dir / L"1.bin"), "payload-1");
  EXPECT_EQ(xtest::ReadBytes(dir / L"2.bin"), "payload-2");
}

TEST_F(XNet, RequestThatDoesNotFitIsRefused) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Response(200, "x"); });
  Sink sink;
  Fetch(server.BaseUrlW() + L"/" + std::wstring(1100, L'p'), sink, dir / L"long.bin");
  EXPECT_EQ(sink.Statuses(), (Statuses{{2, 3}}));
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_FALSE(xtest::FileExists(dir / L"long.bin"));

  Sink tooLong;  // longer than the address buffer: refused rather than fetched cut
  Fetch(server.BaseUrlW() + L"/" + std::wstring(2200, L'q'), tooLong, dir / L"long2.bin");
  EXPECT_EQ(tooLong.Statuses(), (Statuses{{2, 3}}));
}

TEST_F(XNet, SecondDownloadWaitsAndKeepsItsOwnParameters) {
  std::string big(256 * 1024, 'A');
  LoopbackHttpServer server([&](const LoopbackHttpServer::Request& r) {
    return LoopbackHttpServer::Response(200, r.target == "/one" ? big : std::string("second"));
  });
  server.SetPacing(16 * 1024, 10);
  Sink one, two;
  EXPECT_EQ(net->Download((server.BaseUrlW() + L"/one").c_str(), (dir / L"one.bin").c_str(), &one), 0);
  IXSocket* other = lib.Create<IXSocket>(IID_IXSocket);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->Download((server.BaseUrlW() + L"/two").c_str(), (dir / L"two.bin").c_str(), &two), 0);
  other->Release();  // the queued request keeps the object alive
  ASSERT_TRUE(one.WaitDone());
  ASSERT_TRUE(two.WaitDone());
  EXPECT_EQ(one.Statuses(), (Statuses{{1, 0}}));
  EXPECT_EQ(two.Statuses(), (Statuses{{1, 0}}));
  EXPECT_EQ(xtest::ReadBytes(dir / L"one.bin"), big);
  EXPECT_EQ(xtest::ReadBytes(dir / L"two.bin"), "second");
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, "/one");
  EXPECT_EQ(requests[1].target, "/two");
}

TEST_F(XNet, UnwritableFileEndsWithoutAStatus) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Response(200, "x"); });
  Sink sink;
  EXPECT_EQ(net->Download((server.BaseUrlW() + L"/f").c_str(), (dir / L"no\\such\\folder.bin").c_str(), &sink), 0);
  ASSERT_TRUE(server.WaitForRequests(1));
  EXPECT_FALSE(sink.WaitDone(500));
  EXPECT_TRUE(sink.Statuses().empty());
}

}  // namespace
