// LoopbackHttpServer: one accept thread, connections served one at a time with time-outs.
#include "LoopbackHttpServer.h"

#include <ws2tcpip.h>

namespace xtest {

namespace {
const DWORD kIoTimeoutMs = 5000;
const size_t kMaxHeader = 256 * 1024;

struct WsaStartup {
  WsaStartup() { WSADATA d; WSAStartup(MAKEWORD(2, 2), &d); }
  ~WsaStartup() { WSACleanup(); }
};
}  // namespace

LoopbackHttpServer::LoopbackHttpServer(Handler handler, int port) : m_handler(std::move(handler)) {
  static WsaStartup wsa;
  m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (m_listen == INVALID_SOCKET) return;
  BOOL yes = TRUE;
  setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<u_short>(port));
  if (bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(m_listen, 16) != 0) {
    closesocket(m_listen);
    m_listen = INVALID_SOCKET;
    return;
  }
  int len = sizeof addr;
  getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
  m_port = ntohs(addr.sin_port);
  m_thread = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  if (m_listen != INVALID_SOCKET) closesocket(m_listen);
}

std::string LoopbackHttpServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }

std::wstring LoopbackHttpServer::BaseUrlW() const { return L"http://127.0.0.1:" + std::to_wstring(m_port); }

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_requests;
}

size_t LoopbackHttpServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_requests.size();
}

bool LoopbackHttpServer::WaitForRequests(size_t count, DWORD timeoutMs) const {
  DWORD start = GetTickCount();
  while (RequestCount() < count) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

void LoopbackHttpServer::SetPacing(size_t chunkBytes, DWORD pauseMs) {
  m_chunk = chunkBytes;
  m_pause = pauseMs;
}

std::string LoopbackHttpServer::Response(int status, const std::string& body, bool withLength,
                                         const std::string& extraHeaders) {
  const char* reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Status";
  std::string r = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
  if (withLength) r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  r += extraHeaders;
  r += "Connection: close\r\n\r\n";
  r += body;
  return r;
}

void LoopbackHttpServer::Run() {
  while (!m_stop) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(m_listen, &set);
    timeval tv = {0, 50 * 1000};
    if (select(0, &set, nullptr, nullptr, &tv) <= 0) continue;
    SOCKET client = accept(m_listen, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    DWORD timeout = kIoTimeoutMs;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    Serve(client);
    closesocket(client);
  }
}

void LoopbackHttpServer::Serve(SOCKET client) {
  Request req;
  char buf[4096];
  while (req.raw.find("\r\n\r\n") == std::string::npos && req.raw.size() < kMaxHeader && !m_stop) {
    int n = recv(client, buf, sizeof buf, 0);
    if (n <= 0) break;
    req.raw.append(buf, static_cast<size_t>(n));
  }
  if (req.raw.empty()) return;
  size_t sp1 = req.raw.find(' ');
  size_t sp2 = sp1 == std::string::npos ? sp1 : req.raw.find(' ', sp1 + 1);
  if (sp1 != std::string::npos) req.method = req.raw.substr(0, sp1);
  if (sp2 != std::string::npos) req.target = req.raw.substr(sp1 + 1, sp2 - sp1 - 1);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.push_back(req);
  }
  std::string response = m_handler ? m_handler(req) : Response(404, "");
  size_t chunk = m_chunk ? m_chunk.load() : response.size();
  for (size_t off = 0; off < response.size() && !m_stop; off += chunk) {
    size_t len = std::min(chunk, response.size() - off);
    if (send(client, response.data() + off, static_cast<int>(len), 0) <= 0) break;
    if (m_pause && off + len < response.size()) Sleep(m_pause);
  }
  shutdown(client, SD_SEND);
  // Drain briefly so the peer sees an orderly close rather than a reset.
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 200) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(client, &set);
    timeval tv = {0, 20 * 1000};
    if (select(0, &set, nullptr, nullptr, &tv) <= 0) continue;
    if (recv(client, buf, sizeof buf, 0) <= 0) break;
  }
}

}  // namespace xtest
