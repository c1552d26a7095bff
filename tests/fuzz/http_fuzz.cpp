// HTTP answers byte by byte through the client's header reader (status line, header lines,
// Content-Length), plus the host:port split of the address.
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
  return 0;
}
