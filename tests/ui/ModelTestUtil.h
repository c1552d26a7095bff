// Helpers of the object-model tests: probe objects that record what reaches them, a
// window-typed probe, a recording notify callback, and a real hidden host window.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "ControlMgr.h"
#include "TestUtil.h"
#include "XBaseUI.h"
#include "XBuffer.h"
#include "XSkinTemplate.h"
#include "XUIMgr.h"

// Readable CString values in test failures.
inline void PrintTo(const CString& s, std::ostream* os) {
  *os << '"';
  for (wchar_t c : s.Str()) *os << (c < 128 ? static_cast<char>(c) : '?');
  *os << '"';
}

namespace uitest {

struct Received {
  UINT msg;
  LONG x, y;
  WPARAM wParam;
  LPARAM lParam;
  HWND wnd;
};

// A windowless object that records its messages and paints, and can run the shared event
// step first like every event-capable control.
class ProbeUI : public CXBaseUI {
 public:
  ProbeUI() = default;
  explicit ProbeUI(const wchar_t* id) { SetID(id); }
  ~ProbeUI() override {
    if (m_destroyed) ++*m_destroyed;
  }

  LRESULT MessageHandle(MESSAGE_EVENT* e) override {
    if (m_eventStep) DoEventStep(e);
    m_received.push_back(Received{e->uMsg, e->x, e->y, e->wParam, e->lParam, e->hWnd});
    if (m_handle) e->bHandled = TRUE;
    return m_result;
  }
  void DoPaint(HDC) override {
    if (m_paintLog) m_paintLog->push_back(std::wstring(XUI_GetID()));
  }
  const wchar_t* XUI_GetClassName() override { return m_className.empty() ? CXBaseUI::XUI_GetClassName() : m_className.c_str(); }

  int Count(UINT msg) const {
    int n = 0;
    for (const Received& r : m_received) n += r.msg == msg;
    return n;
  }
  const Received* Last(UINT msg) const {
    for (auto it = m_received.rbegin(); it != m_received.rend(); ++it)
      if (it->msg == msg) return &*it;
    return nullptr;
  }

  std::vector<Received> m_received;
  std::vector<std::wstring>* m_paintLog = nullptr;
  int* m_destroyed = nullptr;
  std::wstring m_className;
  bool m_eventStep = false;
  bool m_handle = false;
  LRESULT m_result = 0;
};

// An object that reports itself as a window (UI type 1), for layout references and for
// owners of control managers.
class WindowProbe : public ProbeUI {
 public:
  using ProbeUI::ProbeUI;
  DWORD XUI_GetUIType() override { return XUI_TYPE_WINDOW; }
};

class RecordingCallback : public INotifyCallback {
 public:
  RecordingCallback() { m_previous = CXUIMgr::GetInstance().GetNotifyCallback(); CXUIMgr::GetInstance().SetNotifyCallback(this); }
  ~RecordingCallback() { CXUIMgr::GetInstance().SetNotifyCallback(m_previous); }
  LRESULT OnNotify(IXUIObject* sender, NOTIFY_EVENT* e) override {
    senders.push_back(sender);
    events.push_back(*e);
    return result;
  }
  std::vector<IXUIObject*> senders;
  std::vector<NOTIFY_EVENT> events;
  LRESULT result = 0;

 private:
  INotifyCallback* m_previous;
};

// A real, hidden popup window at a known screen position, recording the messages that its
// procedure receives (for posted and reflected messages).
class HostWindow {
 public:
  HostWindow(int x = 100, int y = 100, int w = 300, int h = 200) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HostWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"UiTestHost";
    RegisterClassW(&wc);
    m_hwnd = CreateWindowExW(0, L"UiTestHost", L"host", WS_POPUP, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~HostWindow() { DestroyWindow(m_hwnd); }
  HWND Get() const { return m_hwnd; }

  // Takes every message posted to the window so far, in order.
  std::vector<MSG> TakePosted() { return xtest::TakePosted(m_hwnd); }
  std::vector<UINT> sent;  // messages the procedure saw

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) self->sent.push_back(msg);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  HWND m_hwnd;
};

// Builds an object tree from template text: the root (owned by the caller), or null when the
// text is no complete template.
inline IXUIObject* BuildTemplate(const std::string& xml) {
  XBuffer<unsigned char> bytes;
  bytes.Assign(reinterpret_cast<const unsigned char*>(xml.data()), static_cast<int>(xml.size()));
  CXSkinTemplate reader;
  reader.LoadFromBuffer(bytes, &CXSkinTemplate::Callback);
  return reader.IsFinished() ? reader.DetachRoot() : nullptr;
}

inline MESSAGE_EVENT Event(UINT msg, LONG x, LONG y, HWND wnd = nullptr, WPARAM wp = 0, LPARAM lp = 0) {
  MESSAGE_EVENT e = {};
  e.hWnd = wnd;
  e.uMsg = msg;
  e.x = x;
  e.y = y;
  e.wParam = wp;
  e.lParam = lp;
  return e;
}

}  // namespace uitest
