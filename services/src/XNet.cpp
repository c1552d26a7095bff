// CXNet: socket, request, header and body handling of one download, on its own thread.
// Socket and file are held by RAII holders, so every early end closes them.
#include "XNet.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "HttpText.h"
#include "ModuleRef.h"
#include "XWin.h"

// One download's parameters, copied at the call so a later Download cannot change them.
struct XDownloadRequest {
  wchar_t url[CXNet::kUrlChars] = {0};
  wchar_t file[MAX_PATH] = {0};
  bool fits = true;  // false when the address or the file path was too long to copy whole
  IDownloadSink* sink = nullptr;
  CXNet* net = nullptr;  // holds one reference until the thread ends
  HMODULE pin = nullptr;
  LONG ticket = 0;  // turn in the download slot
};

namespace {

// The process-wide download slot: one download runs at a time, the others wait for their
// turn in the order of their Download calls.
class XDownloadSlot {
 public:
  XDownloadSlot() {
    InitializeCriticalSection(&m_cs);
    InitializeConditionVariable(&m_turn);
  }
  ~XDownloadSlot() { DeleteCriticalSection(&m_cs); }
  XDownloadSlot(const XDownloadSlot&) = delete;
  XDownloadSlot& operator=(const XDownloadSlot&) = delete;

  LONG TakeTicket() {
    EnterCriticalSection(&m_cs);
    LONG ticket = m_next++;
    LeaveCriticalSection(&m_cs);
    return ticket;
  }
  void Enter(LONG ticket) {
    EnterCriticalSection(&m_cs);
    while (m_serving != ticket) SleepConditionVariableCS(&m_turn, &m_cs, INFINITE);
    LeaveCriticalSection(&m_cs);
  }
  void Leave() {
    EnterCriticalSection(&m_cs);
    ++m_serving;
    LeaveCriticalSection(&m_cs);
    WakeAllConditionVariable(&m_turn);
  }

 private:
  CRITICAL_SECTION m_cs;
  CONDITION_VARIABLE m_turn;
  LONG m_next = 0;
  LONG m_serving = 0;
};

XDownloadSlot& DownloadSlot() {
  static XDownloadSlot slot;
  return slot;
}

// Holds the slot for one download's run.
class XSlotTurn {
 public:
  explicit XSlotTurn(LONG ticket) { DownloadSlot().Enter(ticket); }
  ~XSlotTurn() { DownloadSlot().Leave(); }
  XSlotTurn(const XSlotTurn&) = delete;
  XSlotTurn& operator=(const XSlotTurn&) = delete;
};

class CXSocket {
 public:
  explicit CXSocket(SOCKET s) : m_s(s) {}
  ~CXSocket() { Reset(); }
  CXSocket(const CXSocket&) = delete;
  CXSocket& operator=(const CXSocket&) = delete;
  bool Valid() const { return m_s != INVALID_SOCKET; }
  SOCKET Get() const { return m_s; }
  void Reset() {
    if (m_s != INVALID_SOCKET) closesocket(m_s);
    m_s = INVALID_SOCKET;
  }

 private:
  SOCKET m_s;
};

void Status(IDownloadSink* sink, int state, int code) {
  if (sink) sink->OnStatus(state, code);
}

}  // namespace

CXNet::CXNet() {
  WSADATA data;
  m_wsaStarted = WSAStartup(MAKEWORD(2, 0), &data) == 0;
}

CXNet::~CXNet() {
  if (m_wsaStarted) WSACleanup();
}

HRESULT CXNet::QueryInterface(const GUID* id, void** out) { return QueryPrimary(id, out, IID_IXSocket); }

void CXNet::SplitUrl(const wchar_t* url, char* host, char* prefix, char* path) {
  try {
    XUrlParts parts = XSplitUrlText(url);
    if (!parts.found) return;
    auto put = [](char* out, const std::wstring& text) {
      if (!out) return;
      std::string narrow = XNarrow(text.c_str(), static_cast<int>(text.size()));
      XCopyBounded(out, static_cast<size_t>(kTextBytes), narrow.c_str(), narrow.size());
    };
    put(host, parts.host);
    put(prefix, parts.prefix);
    put(path, parts.path);
  } catch (...) {
  }
}

int CXNet::Download(const wchar_t* url, const wchar_t* file, IDownloadSink* sink) {
  if (!url || !file) return 0;
  XDownloadRequest* request = new (std::nothrow) XDownloadRequest;
  if (!request) return 0;
  request->fits = wcslen(url) < static_cast<size_t>(kUrlChars) && wcslen(file) < MAX_PATH;
  XCopyBounded(request->url, static_cast<size_t>(kUrlChars), url);
  XCopyBounded(request->file, static_cast<size_t>(MAX_PATH), file);
  request->sink = sink;
  request->net = this;
  AddRef();
  request->pin = XPinThisModule();
  // Created suspended so that a ticket is only taken by a thread that will run.
  HANDLE thread = CreateThread(nullptr, 0, DownloadThread, request, CREATE_SUSPENDED, nullptr);
  if (!thread) {
    if (request->pin) FreeLibrary(request->pin);
    delete request;
    Release();
    return 0;
  }
  request->ticket = DownloadSlot().TakeTicket();
  ResumeThread(thread);
  CloseHandle(thread);
  return 0;
}

DWORD WINAPI CXNet::DownloadThread(void* param) {
  HMODULE pin = nullptr;
  {
    XDownloadRequest* request = static_cast<XDownloadRequest*>(param);
    pin = request->pin;
    {
      XSlotTurn turn(request->ticket);
      request->net->Run(*request);
    }
    request->net->Release();
    delete request;
  }
  XExitPinnedThread(pin, 0);
}

void CXNet::Run(const XDownloadRequest& request) {
  try {
    Fetch(request);
  } catch (...) {
    // Out of memory mid-download: the socket and file holders have closed what was open.
  }
}

void CXNet::Fetch(const XDownloadRequest& request) {
  IDownloadSink* sink = request.sink;
  if (!request.fits) {
    Status(sink, 2, 3);
    return;
  }

  const protoent* proto = getprotobyname("tcp");
  CXSocket sock(socket(AF_INET, SOCK_STREAM, proto ? proto->p_proto : IPPROTO_TCP));
  if (!sock.Valid()) {
    Status(sink, 2, 1);
    return;
  }
  m_socket = sock.Get();

  XCopyBounded(m_url, static_cast<size_t>(kUrlChars), request.url);
  m_host[0] = m_prefix[0] = m_path[0] = 0;
  SplitUrl(m_url, m_host, m_prefix, m_path);
  if (!m_path[0]) XCopyBounded(m_path, sizeof m_path, "/");

  std::string name;
  uint16_t port = 80;
  const hostent* entry = XSplitHostPort(m_host, name, port) ? gethostbyname(name.c_str()) : nullptr;
  bool connected = false;
  if (entry && entry->h_addrtype == AF_INET && entry->h_length == 4 && entry->h_addr_list[0]) {
    memset(&m_address, 0, sizeof m_address);
    m_address.sin_family = AF_INET;
    m_address.sin_port = htons(port);
    memcpy(&m_address.sin_addr, entry->h_addr_list[0], 4);
    connected = connect(sock.Get(), reinterpret_cast<const sockaddr*>(&m_address), sizeof m_address) == 0;
  }
  if (!connected) {
    sock.Reset();
    m_socket = INVALID_SOCKET;
    Status(sink, 2, 2);
    return;
  }

  char requestText[kHeaderBytes];
  size_t length = XBuildGetRequest(m_path, m_host, requestText, sizeof requestText);
  if (length == 0 || send(sock.Get(), requestText, static_cast<int>(length), 0) != static_cast<int>(length)) {
    Status(sink, 2, 3);
    m_socket = INVALID_SOCKET;
    return;
  }

  // The header byte by byte, so that no byte of the body is consumed.
  XHttpHeaderReader header;
  char c = 0;
  while (recv(sock.Get(), &c, 1, 0) == 1) {
    if (header.Feed(c)) break;
  }
  XCopyBounded(m_header, sizeof m_header, header.Text());
  if (header.StatusCode() != 200) Status(sink, 2, 4);

  CXHandle file(CreateFileW(request.file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    m_socket = INVALID_SOCKET;
    return;
  }

  const int64_t total = header.ContentLength();
  int64_t received = 0;
  char buffer[1024];
  while (received < total) {
    int want = static_cast<int>(std::min<int64_t>(sizeof buffer, total - received));
    int got = recv(sock.Get(), buffer, want, 0);
    if (got <= 0) break;
    DWORD written = 0;
    if (!WriteFile(file.Get(), buffer, static_cast<DWORD>(got), &written, nullptr) ||
        written != static_cast<DWORD>(got))
      break;
    received += got;
    if (sink) sink->OnProgress(static_cast<int>(received * 100 / total));
  }
  file.Reset();
  sock.Reset();
  m_socket = INVALID_SOCKET;
  Status(sink, 1, 0);
}
