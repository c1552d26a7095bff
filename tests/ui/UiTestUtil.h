// Helpers of the framework tests: the packed test skins, packages written by a test, and a
// recorder for the framework's message boxes (so that none blocks a run).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TestUtil.h"
#include "XMessageBox.h"

namespace uitest {

// testbin\testskins\<name>.xui, packed at build time from tests/ui/skins/<name>.
inline std::wstring TestSkin(const std::wstring& name) {
  return xtest::TestBinFolder() + L"\\testskins\\" + name + L".xui";
}

struct ShownMessage {
  std::wstring text, caption;
  UINT type;
};

// Collects the message boxes shown while it lives.
class MessageRecorder {
 public:
  MessageRecorder() {
    Shown().clear();
    m_previous = XSetMessageSink(&MessageRecorder::Sink);
  }
  ~MessageRecorder() { XSetMessageSink(m_previous); }
  const std::vector<ShownMessage>& Messages() const { return Shown(); }

 private:
  static std::vector<ShownMessage>& Shown() {
    static std::vector<ShownMessage> shown;
    return shown;
  }
  static void Sink(const wchar_t* text, const wchar_t* caption, UINT type) {
    Shown().push_back(ShownMessage{text, caption, type});
  }
  PFN_XMessageSink m_previous;
};

inline std::string ToBytes(const unsigned char* data, int size) {
  return data && size > 0 ? std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}

}  // namespace uitest
