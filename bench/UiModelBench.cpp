// UI object model figures: routing a mouse move through a window's child list of 200
// objects against a bare rectangle scan, building a 500-object template against parsing the
// same text with a no-op callback, and one painting pass (layout included) over 500 objects.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XSkinTemplate.h"
#include "XUIClassTable.h"

using xbench::Best;

namespace {

class BenchView : public CXBaseUI {
 public:
  LRESULT MessageHandle(MESSAGE_EVENT*) override { return 0; }
};

class BenchWindow : public BenchView {
 public:
  DWORD XUI_GetUIType() override { return XUI_TYPE_WINDOW; }
};

void NoOp(int, const char*, int, const char**) {}

volatile int g_sink = 0;

}  // namespace

int main() {
  CXUIClassTable::Register(L"benchview", &XCreateUIObjectOf<BenchView>);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BenchHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, L"BenchHost", L"", WS_POPUP, 0, 0, 1000, 800, nullptr, nullptr, wc.hInstance, nullptr);

  // Routing: 200 children in a 20 x 10 grid; the move lands on the last one.
  const int kChildren = 200, kMoves = 2000;
  BenchWindow window;
  CControlMgr* mgr = window.XUI_GetControlMgr();
  std::vector<CRect> rects;
  for (int i = 0; i < kChildren; ++i) {
    auto* child = new BenchView;
    CRect r((i % 20) * 50, (i / 20) * 40, (i % 20) * 50 + 48, (i / 20) * 40 + 38);
    child->XUI_SetRect(r);
    rects.push_back(r);
    mgr->AddUI(child);
  }
  mgr->SetAllWnd(host);
  const CRect last = rects.back();
  double route = Best(5, [&] {
    for (int i = 0; i < kMoves; ++i) {
      MESSAGE_EVENT e = {};
      e.hWnd = host;
      e.uMsg = WM_MOUSEMOVE;
      e.x = last.left + 5 + (i & 7);
      e.y = last.top + 5;
      mgr->DispatchMsg(&e);
    }
  });
  double scan = Best(5, [&] {
    for (int i = 0; i < kMoves; ++i) {
      RECT wr;
      GetWindowRect(host, &wr);
      POINT p = {last.left + 5 + (i & 7), last.top + 5};
      for (const CRect& r : rects)
        if (r.PtInRect(p)) {
          g_sink = g_sink + 1;
          break;
        }
    }
  });
  printf("route a mouse move over %d children: %.2f us (bare rectangle scan %.3f us, ratio %.0f)\n", kChildren,
         route / kMoves * 1e6, scan / kMoves * 1e6, route / scan);

  // Template building against parsing alone.
  std::string xml = "<View class='benchview' id='root'><rect>0,0,800,600</rect>";
  for (int i = 0; i < 500; ++i)
    xml += "<View class='benchview' id='v" + std::to_string(i) + "'><rect>" + std::to_string(i) +
           ",1,20,20</rect><tooltip>tip</tooltip><relayout margin='1,1,1,1' alignment='cc'/></View>";
  xml += "</View>";
  XBuffer<unsigned char> bytes;
  bytes.Assign(reinterpret_cast<const unsigned char*>(xml.data()), static_cast<int>(xml.size()));
  double parse = Best(5, [&] { CXmlParser().Dofile(bytes, &NoOp); });
  double build = Best(5, [&] {
    CXSkinTemplate reader;
    reader.LoadFromBuffer(bytes, &CXSkinTemplate::Callback);
    XDestroyUIObject(reader.DetachRoot());
  });
  printf("build a 501-object template (%zu bytes): %.2f ms (parsing alone %.2f ms, ratio %.1f)\n", xml.size(),
         build * 1e3, parse * 1e3, build / parse);

  // One painting pass over 500 laid-out objects (nothing drawn: the pass itself).
  CXSkinTemplate reader;
  reader.LoadFromBuffer(bytes, &CXSkinTemplate::Callback);
  IXUIObject* root = reader.DetachRoot();
  HDC dc = CreateCompatibleDC(nullptr);
  auto* rootUi = dynamic_cast<CXBaseUI*>(root);
  double paint = Best(5, [&] {
    rootUi->NeedRelayout(TRUE);
    rootUi->XUI_GetControlMgr()->DoPaint(dc);
  });
  printf("paint pass with layout over 500 objects: %.1f us (%.3f us per object)\n", paint * 1e6, paint * 1e6 / 500);
  DeleteDC(dc);
  XDestroyUIObject(root);
  DestroyWindow(host);
  return 0;
}
