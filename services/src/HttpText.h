// Plain text rules of the raw HTTP client: address splitting, the fixed GET request and the
// byte-by-byte response-header reader. No I/O here; every output is bounded by its buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Parts of an address "scheme://host/path". found is false when the address has no "://";
// then all three parts are empty.
struct XUrlParts {
  bool found = false;
  std::wstring host;    // from after "://" and further slashes up to the next "/" or the end
  std::wstring prefix;  // from the start of the address up to the end of the host
  std::wstring path;    // the rest, from the "/" on; empty when there is none
};
XUrlParts XSplitUrlText(const wchar_t* url);

// Splits "name:port" for connecting. Without a port suffix the whole host is the name and the
// port is 80; a suffix that is not a number from 1 to 65535 leaves the host whole (it will
// then fail to resolve). False when there is no name to resolve.
bool XSplitHostPort(const std::string& host, std::string& name, uint16_t& port);

// The fixed GET request for path and host. Returns its length, or 0 when it does not fit in
// capacity bytes (the request is then refused, never cut).
size_t XBuildGetRequest(const char* path, const char* host, char* out, size_t capacity);

// Reads a response header one byte at a time. Keeps the first kKeep bytes as text (always
// terminated), detects the blank line that ends the header, and takes Content-Length from
// whichever header line carries it, however long the header is.
class XHttpHeaderReader {
 public:
  static constexpr size_t kKeep = 1023;

  // Returns true once the header is complete (the last four bytes were CR LF CR LF).
  bool Feed(char c);
  bool Complete() const { return m_complete; }
  const char* Text() const { return m_text; }
  size_t TotalBytes() const { return m_total; }
  // The number between the first and second blank of the status line; 0 without both.
  int StatusCode() const;
  // The Content-Length value, or 0 when absent or not a number.
  int64_t ContentLength() const { return m_length; }

 private:
  void EndLine();

  char m_text[kKeep + 1] = {0};
  size_t m_kept = 0;
  size_t m_total = 0;
  char m_line[kKeep + 1] = {0};  // the current line, cut at kKeep bytes
  size_t m_lineLen = 0;
  uint32_t m_last4 = 0;
  bool m_complete = false;
  int64_t m_length = 0;
};

// Status code of a header text as XHttpHeaderReader::StatusCode reads it.
int XParseStatusCode(const char* header);
// Content-Length of one header line (without CR LF); -1 when the line is not that field.
int64_t XParseContentLengthLine(const char* line, size_t len);
