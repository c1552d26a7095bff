// CXNet: one-file HTTP/1.1 downloads over a plain socket (IXSocket). The socket layer is
// started with the object and stopped with it. Each Download copies its parameters and runs
// on a thread of its own; the process-wide download slot runs one download at a time, in the
// order of the Download calls.
#pragma once

#include <winsock2.h>

#include "ServiceInterfaces.h"
#include "XObject.h"

struct XDownloadRequest;

class CXNet : public CXObject<IXSocket> {
 public:
  static constexpr int kUrlChars = 2100;
  static constexpr int kTextBytes = 2100;
  static constexpr int kHeaderBytes = 1024;

  CXNet();

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  int __stdcall Download(const wchar_t* url, const wchar_t* file, IDownloadSink* sink) override;
  void __stdcall SplitUrl(const wchar_t* url, char* host, char* prefix, char* path) override;
  HRESULT __stdcall Reserved(UINT_PTR, UINT_PTR) override { return E_NOTIMPL; }

 private:
  ~CXNet() override;

  static DWORD WINAPI DownloadThread(void* param);
  void Run(const XDownloadRequest& request);
  void Fetch(const XDownloadRequest& request);

  bool m_wsaStarted = false;
  SOCKET m_socket = INVALID_SOCKET;
  sockaddr_in m_address = {};
  wchar_t m_url[kUrlChars] = {0};
  char m_host[kTextBytes] = {0};
  char m_prefix[kTextBytes] = {0};
  char m_path[kTextBytes] = {0};
  char m_header[kHeaderBytes] = {0};
};
