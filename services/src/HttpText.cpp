// Address splitting, request building and header reading of the raw HTTP client. Outputs
// never pass their buffers: a request that does not fit is refused, a long header is cut.
#include "HttpText.h"

#include <cstring>
#include <cwchar>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Appends s to out at pos when it fits (one byte kept for the terminator).
bool Append(char* out, size_t capacity, size_t& pos, const char* s) {
  size_t n = strlen(s);
  if (pos + n + 1 > capacity) return false;
  memcpy(out + pos, s, n);
  pos += n;
  out[pos] = 0;
  return true;
}

}  // namespace

XUrlParts XSplitUrlText(const wchar_t* url) {
  XUrlParts parts;
  if (!url) return parts;
  const wchar_t* sep = wcsstr(url, L"://");
  if (!sep) return parts;
  const wchar_t* host = sep + 3;
  while (*host == L'/') ++host;
  const wchar_t* end = host;
  while (*end && *end != L'/') ++end;
  parts.found = true;
  parts.host.assign(host, end);
  parts.prefix.assign(url, end);
  parts.path.assign(end);
  return parts;
}

bool XSplitHostPort(const std::string& host, std::string& name, uint16_t& port) {
  name = host;
  port = 80;
  size_t colon = host.rfind(':');
  if (colon != std::string::npos && colon + 1 < host.size() && host.size() - colon - 1 <= 5) {
    unsigned value = 0;
    bool digits = true;
    for (size_t i = colon + 1; i < host.size(); ++i) {
      if (!IsDigit(host[i])) { digits = false; break; }
      value = value * 10 + static_cast<unsigned>(host[i] - '0');
    }
    if (digits && value >= 1 && value <= 65535) {
      name = host.substr(0, colon);
      port = static_cast<uint16_t>(value);
    }
  }
  return !name.empty();
}

size_t XBuildGetRequest(const char* path, const char* host, char* out, size_t capacity) {
  if (!out || capacity == 0) return 0;
  const char* parts[] = {"GET ", path ? path : "", " HTTP/1.1\r\n", "Accept: */*\r\n",
                         "Accept-Language: zh-cn\r\n",
                         "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.2; )\r\n",
                         "Host:", host ? host : "", "\r\n", "Connection: Keep-Alive\r\n", "\r\n"};
  size_t pos = 0;
  out[0] = 0;
  for (const char* p : parts) {
    if (!Append(out, capacity, pos, p)) {
      out[0] = 0;
      return 0;
    }
  }
  return pos;
}

bool XHttpHeaderReader::Feed(char c) {
  if (m_complete) return true;
  if (m_kept < kKeep) {
    m_text[m_kept++] = c;
    m_text[m_kept] = 0;
  }
  ++m_total;
  m_last4 = (m_last4 << 8) | static_cast<unsigned char>(c);
  if (c == '\n') {
    // The line ends at LF; a CR before it is not part of the line.
    if (m_lineLen > 0 && m_line[m_lineLen - 1] == '\r') m_line[--m_lineLen] = 0;
    EndLine();
  } else if (m_lineLen < kKeep) {
    m_line[m_lineLen++] = c;
    m_line[m_lineLen] = 0;
  }
  if (m_total >= 4 && m_last4 == 0x0D0A0D0Au) m_complete = true;
  return m_complete;
}

void XHttpHeaderReader::EndLine() {
  if (m_length == 0) {
    int64_t v = XParseContentLengthLine(m_line, m_lineLen);
    if (v > 0) m_length = v;
  }
  m_lineLen = 0;
  m_line[0] = 0;
}

int XHttpHeaderReader::StatusCode() const { return XParseStatusCode(m_text); }

int XParseStatusCode(const char* header) {
  if (!header) return 0;
  size_t lineEnd = strcspn(header, "\r\n");
  const char* first = static_cast<const char*>(memchr(header, ' ', lineEnd));
  if (!first) return 0;
  const char* second = static_cast<const char*>(memchr(first + 1, ' ', lineEnd - (first + 1 - header)));
  if (!second) return 0;
  int code = 0;
  for (const char* p = first + 1; p < second && IsDigit(*p) && code < 100000; ++p) code = code * 10 + (*p - '0');
  return code;
}

int64_t XParseContentLengthLine(const char* line, size_t len) {
  static const char kName[] = "content-length";
  const size_t nameLen = sizeof kName - 1;
  if (!line || len < nameLen) return -1;
  for (size_t i = 0; i < nameLen; ++i)
    if (Lower(line[i]) != kName[i]) return -1;
  size_t i = nameLen;
  while (i < len && IsBlank(line[i])) ++i;
  if (i >= len || line[i] != ':') return -1;
  ++i;
  while (i < len && IsBlank(line[i])) ++i;
  int64_t value = 0;
  for (; i < len && IsDigit(line[i]); ++i) {
    if (value > (INT64_MAX - 9) / 10) return 0;  // absurd length: treated as absent
    value = value * 10 + (line[i] - '0');
  }
  return value;
}
