// HTTP answers byte by byte through the client's header reader (status line, header lines,
// Content-Length), plus the address split, the host:port split and the fixed GET request.
#include <vector>

#include "FuzzCheck.h"
#include "HttpText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  XHttpHeaderReader reader;
  size_t fed = 0;
  while (fed < size && !reader.Feed(static_cast<char>(data[fed]))) ++fed;
  FUZZ_CHECK(reader.TotalBytes() <= size);
  FUZZ_CHECK(strlen(reader.Text()) <= XHttpHeaderReader::kKeep);
  FUZZ_CHECK(reader.ContentLength() >= 0);
  (void)reader.StatusCode();
  std::string copy(reinterpret_cast<const char*>(data), size);
  (void)XParseStatusCode(copy.c_str());
  (void)XParseContentLengthLine(copy.data(), copy.size());

  std::string name;
  uint16_t port = 0;
  if (XSplitHostPort(copy, name, port)) FUZZ_CHECK(!name.empty() && port != 0);

  // The address as wide text (its units one per byte pair) and the request built from it.
  std::u16string units = FuzzU16(data, size);
  std::wstring url(units.begin(), units.end());
  XUrlParts parts = XSplitUrlText(url.c_str());
  if (parts.found) {
    FUZZ_CHECK(url.find(L"://") != std::wstring::npos);
    FUZZ_CHECK(parts.prefix.size() + parts.path.size() <= url.size());
    FUZZ_CHECK(url.compare(0, parts.prefix.size(), parts.prefix) == 0);
  } else {
    FUZZ_CHECK(parts.host.empty() && parts.prefix.empty() && parts.path.empty());
  }
  const size_t capacity = size % 700;
  std::vector<char> out(capacity + 1, 'x');
  const size_t half = copy.size() / 2;
  std::string path = copy.substr(0, half).c_str(), host = copy.substr(half).c_str();
  size_t n = XBuildGetRequest(path.c_str(), host.c_str(), out.data(), capacity);
  FUZZ_CHECK(n < capacity || (n == 0 && capacity == 0));
  if (n > 0) FUZZ_CHECK(strlen(out.data()) == n);
  FUZZ_CHECK(out[capacity] == 'x');  // nothing written past the capacity
  return 0;
}
