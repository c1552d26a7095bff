// Raw HTTP client and identity timings through the real Corvane.dll: a 16 MiB download from a
// loopback server by CXNet (header read byte by byte, body in 1 KiB receives) against a plain
// client in this program that reads the same answer in 64 KiB receives; plus the cost of the
// machine identity and of a ping's Send call. Prints figures only.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "LoopbackHttpServer.h"
#include "ServiceInterfaces.h"
#include "TestUtil.h"
#include "XWin.h"

using xbench::Now;
using xbench::Median;

namespace {

const size_t kBody = 16u << 20;
const int kRounds = 5;

class DoneSink : public IDownloadSink {
 public:
  void __stdcall OnProgress(int) override {}
  void __stdcall OnStatus(int state, int code) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (state == 1 || code != 4) {
      m_done = true;
      m_cv.notify_all();
    }
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [this] { return m_done; });
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_done = false;
};

// The same request and file writing, with large receives.
bool PlainDownload(int port, const std::wstring& file) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<u_short>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return false;
  std::string request = "GET /big HTTP/1.1\r\nHost:127.0.0.1\r\n\r\n";
  send(s, request.data(), static_cast<int>(request.size()), 0);
  CXHandle out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::vector<char> buf(65536);
  std::string head;
  bool inBody = false;
  for (;;) {
    int n = recv(s, buf.data(), static_cast<int>(buf.size()), 0);
    if (n <= 0) break;
    const char* p = buf.data();
    size_t len = static_cast<size_t>(n);
    if (!inBody) {
      head.append(p, len);
      size_t end = head.find("\r\n\r\n");
      if (end == std::string::npos) continue;
      inBody = true;
      std::string rest = head.substr(end + 4);
      DWORD w = 0;
      WriteFile(out.Get(), rest.data(), static_cast<DWORD>(rest.size()), &w, nullptr);
      continue;
    }
    DWORD w = 0;
    WriteFile(out.Get(), p, static_cast<DWORD>(len), &w, nullptr);
  }
  closesocket(s);
  return true;
}

}  // namespace

int main() {
  CXModule corvane(LoadLibraryW(L"Corvane.dll"));
  auto create = corvane.Proc<PFN_XCreateInstance>("CreateInstance");
  if (!create) {
    printf("Corvane.dll not found\n");
    return 1;
  }
  std::string body(kBody, 'b');
  xtest::LoopbackHttpServer server([&](const xtest::LoopbackHttpServer::Request&) {
    return xtest::LoopbackHttpServer::Response(200, body);
  });
  xtest::TempDir dir;
  std::wstring file = dir / L"big.bin";

  std::vector<double> xnet, plain;
  for (int round = 0; round < kRounds; ++round) {
    CXComPtr<IXSocket> net(static_cast<IXSocket*>(create(&IID_IXSocket)));
    DoneSink sink;
    double t0 = Now();
    net->Download((server.BaseUrlW() + L"/big").c_str(), file.c_str(), &sink);
    sink.Wait();
    xnet.push_back(Now() - t0);
    if (xtest::ReadBytes(file).size() != kBody) printf("short CXNet download\n");
    t0 = Now();
    PlainDownload(server.Port(), file);
    plain.push_back(Now() - t0);
  }
  double mx = Median(xnet), mp = Median(plain);
  printf("download 16 MiB from loopback (median of %d): CXNet %.1f ms (%.0f MiB/s), plain 64 KiB client %.1f ms; ratio %.2f\n",
         kRounds, mx * 1000, 16 / mx, mp * 1000, mx / mp);

  const int kIds = 20;
  CXComPtr<IRegister> reg(static_cast<IRegister*>(create(&IID_IRegister)));
  CXComPtr<IMD5> md5(static_cast<IMD5*>(create(&IID_IMD5)));
  double t0 = Now();
  for (int i = 0; i < kIds; ++i) {
    char id[33] = {0};
    reg->GetMachineId(id);
  }
  double perId = (Now() - t0) / kIds;
  t0 = Now();
  for (int i = 0; i < kIds; ++i) {
    char digest[33] = {0};
    md5->MD5String("0123456789ABCDEF0123456789ABCDEF", digest);
  }
  double perDigest = (Now() - t0) / kIds;
  printf("machine identity: %.3f ms per GetMachineId (device probes and digest), digest alone %.4f ms; ratio %.0f\n",
         perId * 1000, perDigest * 1000, perId / perDigest);

  IStatistic* stat = static_cast<IStatistic*>(create(&IID_IStatistic));
  std::wstring base = server.BaseUrlW() + L"/stat.php?src=pinvale&type=open&";
  t0 = Now();
  const int kPings = 10;
  for (int i = 0; i < kPings; ++i) stat->Send(base.c_str());
  double perSend = (Now() - t0) / kPings;
  server.WaitForRequests(static_cast<size_t>(2 * kRounds + kPings), 20000);
  printf("ping: Send returns after %.3f ms (identity and version read on the calling thread), %.2f x GetMachineId\n",
         perSend * 1000, perSend / perId);
  return 0;
}
