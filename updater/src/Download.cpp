// WinINet download: session and request handles are owned by CXInternet, the target file
// by CXHandle; every early return closes them. A partial file is deleted before failing.
#include "Download.h"

#include "UpdateRules.h"
#include "XInternet.h"
#include "XWin.h"

namespace brindle {

namespace {

const DWORD kBlockBytes = 4096;

// HTTP status of the response; 0 when the address is not HTTP or the status is unreadable.
DWORD StatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) return 0;
  return status;
}

uint64_t ContentLength(HINTERNET request) {
  wchar_t text[130] = {0};  // 260 bytes
  DWORD size = sizeof text - sizeof(wchar_t);
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return 0;
  text[129] = 0;
  return ParseContentLength(text);
}

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

}  // namespace

int DownloadPercent(uint64_t received, uint64_t total) {
  if (total == 0) return 0;
  uint64_t p = received >= total ? 100 : received * 100 / total;
  return static_cast<int>(p);
}

bool DownloadToFile(const std::wstring& url, const std::wstring& path, const ProgressFn& progress,
                    const std::atomic<bool>* cancel) {
  DWORD state = 0;
  if (!InternetGetConnectedState(&state, 0)) return false;
  DWORD access = (state & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG
                                                      : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
  CXInternet session(InternetOpenW(nullptr, access, nullptr, nullptr, 0));
  if (!session || Cancelled(cancel)) return false;
  CXInternet request(
      InternetOpenUrlW(session.Get(), url.c_str(), nullptr, 0, INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request) return false;
  DWORD status = StatusCode(request.Get());
  if (status != 0 && (status < 200 || status > 299)) return false;
  uint64_t total = ContentLength(request.Get());
  if (total == 0 || Cancelled(cancel)) return false;

  bool complete = false;
  {
    CXHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    char block[kBlockBytes];
    uint64_t received = 0;
    bool writeFailed = false;
    for (;;) {
      if (Cancelled(cancel)) break;
      DWORD got = 0;
      if (!InternetReadFile(request.Get(), block, kBlockBytes, &got) || got == 0) break;
      DWORD written = 0;
      if (!WriteFile(file.Get(), block, got, &written, nullptr) || written != got) {
        writeFailed = true;
        break;
      }
      received += got;
      if (progress) progress(DownloadPercent(received, total));
    }
    complete = !writeFailed && !Cancelled(cancel) && received >= total;
  }
  if (!complete) DeleteFileW(path.c_str());
  return complete;
}

}  // namespace brindle
