// A tiny HTTP server for tests: listens on 127.0.0.1 only, answers each connection with the
// bytes its handler returns, records every request, and stops with the object. Every wait
// inside it is bounded, so a test can never hang on it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace xtest {

class LoopbackHttpServer {
 public:
  struct Request {
    std::string raw;     // the bytes received up to and including the blank line
    std::string method;  // e.g. "GET"
    std::string target;  // request target as sent, e.g. "/stat.php?src=..."
  };
  using Handler = std::function<std::string(const Request&)>;

  // port 0 picks a free port. A port that cannot be bound leaves Port() at 0.
  explicit LoopbackHttpServer(Handler handler, int port = 0);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int Port() const { return m_port; }
  std::string BaseUrl() const;           // "http://127.0.0.1:<port>"
  std::wstring BaseUrlW() const;
  std::vector<Request> Requests() const;
  size_t RequestCount() const;
  bool WaitForRequests(size_t count, DWORD timeoutMs = 5000) const;

  // Send responses in pieces of chunkBytes with a pause between them (0 disables).
  void SetPacing(size_t chunkBytes, DWORD pauseMs);

  // A complete response with the status line, optional Content-Length and extra header lines
  // (each ending in CRLF).
  static std::string Response(int status, const std::string& body, bool withLength = true,
                              const std::string& extraHeaders = std::string());

 private:
  void Run();
  void Serve(SOCKET client);

  Handler m_handler;
  SOCKET m_listen = INVALID_SOCKET;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<size_t> m_chunk{0};
  std::atomic<DWORD> m_pause{0};
  mutable std::mutex m_mutex;
  std::vector<Request> m_requests;
  std::thread m_thread;
};

}  // namespace xtest
