// The scene's pictures are drawn with coverage-weighted shapes so that edges carry alpha, as
// real skin pictures do; the window is a thin Win32 shell around the framework's routing.
#include "ButtonScene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Canvas.h"
#include "PictureBytes.h"
#include "TestUtil.h"
#include "XDraw.h"
#include "XSkinPackage.h"
#include "XSkinTables.h"
#include "XSkinTemplate.h"
#include "XUIClassTable.h"

namespace uitest {

namespace {

// A picture in straight (not premultiplied) 0xAARRGGBB pixels, transparent to begin with.
class Picture {
 public:
  Picture(int w, int h) : m_w(w), m_h(h), m_px(static_cast<size_t>(w) * h, 0) {}
  // Paints colour over the pixel with a coverage of 0..1.
  void Blend(int x, int y, DWORD rgb, double coverage) {
    if (x < 0 || y < 0 || x >= m_w || y >= m_h || coverage <= 0) return;
    if (coverage > 1) coverage = 1;
    uint32_t& p = m_px[static_cast<size_t>(y) * m_w + x];
    const double a0 = (p >> 24) / 255.0, a1 = coverage;
    const double a = a1 + a0 * (1 - a1);
    uint32_t out = static_cast<uint32_t>(std::lround(a * 255)) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
      const double c0 = (p >> shift) & 0xFF, c1 = (rgb >> shift) & 0xFF;
      const double c = a > 0 ? (c1 * a1 + c0 * a0 * (1 - a1)) / a : 0;
      out |= static_cast<uint32_t>(std::lround(c)) << shift;
    }
    p = out;
  }
  void Fill(int x0, int y0, int x1, int y1, DWORD rgb) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) Blend(x, y, rgb, 1);
  }
  // A disc (or, with a hole radius, a ring) around (cx, cy) in pixel-centre coordinates.
  void Disc(double cx, double cy, double r, DWORD rgb, double hole = 0) {
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        double c = r + 0.5 - d;
        if (hole > 0) c = std::min(c, d - hole + 0.5);
        Blend(x, y, rgb, c);
      }
  }
  // A round-ended stroke from (x0, y0) to (x1, y1).
  void Line(double x0, double y0, double x1, double y1, double width, DWORD rgb) {
    const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        double t = len2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0;
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        const double d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
        Blend(x, y, rgb, width / 2 + 0.5 - d);
      }
  }
  // A box with a one-pixel border and cut corners.
  void Box(int x0, int y0, int x1, int y1, DWORD border, DWORD fill) {
    Fill(x0, y0, x1, y1, border);
    Fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill);
    for (int x : {x0, x1 - 1})
      for (int y : {y0, y1 - 1}) m_px[static_cast<size_t>(y) * m_w + x] = 0;
  }
  std::string Png() const { return xtest::MakePng(m_w, m_h, m_px); }

 private:
  int m_w, m_h;
  std::vector<uint32_t> m_px;
};

std::string ToolbarBack() {
  Picture p(4, 64);
  for (int y = 0; y < 63; ++y) {
    const int v = 0xF8 - y * 0x1C / 63;
    p.Fill(0, y, 4, y + 1, static_cast<DWORD>((v - 6) << 16 | (v - 3) << 8 | v));
  }
  p.Fill(0, 63, 4, 64, 0xA7B1C2);
  return p.Png();
}

std::string StateBox(DWORD border, DWORD fill) {
  Picture p(12, 12);
  p.Box(0, 0, 12, 12, border, fill);
  return p.Png();
}

std::string OpenIcon() {
  Picture p(24, 24);
  p.Box(2, 4, 11, 9, 0xB07818, 0xE8B43C);
  p.Box(2, 7, 22, 21, 0xB07818, 0xF2C650);
  return p.Png();
}

std::string FindIcon() {
  Picture p(24, 24);
  p.Line(14.5, 14.5, 21, 21, 3.5, 0x5A3A1E);
  p.Disc(10, 10, 7, 0x2F5F9F, 4.5);
  p.Disc(10, 10, 4.5, 0xCFE4F7);
  return p.Png();
}

std::string GearIcon() {
  Picture p(24, 24);
  for (int i = 0; i < 8; ++i) {
    const double a = i * 3.14159265 / 4;
    p.Line(12, 12, 12 + 10 * std::cos(a), 12 + 10 * std::sin(a), 4, 0x6A6A72);
  }
  p.Disc(12, 12, 7.5, 0x6A6A72, 3);
  return p.Png();
}

// Six 16-pixel blocks: three unchecked frames (normal, hover, pushed), then three checked
// frames drawn over them (a tick, or a dot for the radio strip).
std::string ToggleStrip(bool radio) {
  const DWORD border[3] = {0x8A8A8A, 0x3C7FD6, 0x1F4F99};
  const DWORD fill[3] = {0xFFFFFF, 0xEAF3FD, 0xC9DDF5};
  Picture p(96, 16);
  for (int s = 0; s < 3; ++s) {
    const int x = s * 16;
    if (radio) {
      p.Disc(x + 8, 8, 6.5, border[s]);
      p.Disc(x + 8, 8, 5.5, fill[s]);
    } else {
      p.Fill(x + 1, 1, x + 15, 15, border[s]);
      p.Fill(x + 2, 2, x + 14, 14, fill[s]);
    }
    const int c = (s + 3) * 16;
    if (radio) {
      p.Disc(c + 8, 8, 3, kCheckTick);
    } else {
      p.Line(c + 4, 8.5, c + 7, 11.5, 2.2, kCheckTick);
      p.Line(c + 7, 11.5, c + 12.5, 4.5, 2.2, kCheckTick);
    }
  }
  return p.Png();
}

std::string ButtonBack() {
  const DWORD border[3] = {0x9A9A9A, 0x5B8FD0, 0x3A6AA8};
  Picture p(36, 12);
  for (int s = 0; s < 3; ++s) {
    p.Fill(s * 12 + 1, 0, s * 12 + 11, 12, border[s]);
    p.Fill(s * 12, 1, s * 12 + 12, 11, border[s]);
    p.Fill(s * 12 + 1, 1, s * 12 + 11, 11, kButtonFill[s]);
  }
  return p.Png();
}

}  // namespace

std::string SceneTemplate(const std::string& rootClass, int x, int y) {
  std::string buttons;
  const char* ids[3] = {"tb.open", "tb.find", "tb.gear"};
  const char* texts[3] = {"Open", "Find", "Settings"};
  const char* icons[3] = {"open", "find", "gear"};
  for (int i = 0; i < 3; ++i) {
    const int x = 16 + i * 64;
    buttons += std::string("    <View class=\"toolbarbutton\" id=\"") + ids[i] + "\">\n" +
               "      <rect>" + std::to_string(x) + ",14,60,56</rect>\n" +
               "      <text>" + texts[i] + "</text>\n" +
               "      <texttopbias>36</texttopbias>\n" +
               "      <group>1</group>\n" +
               "      <Image class=\"icon\" value=\"scene\\" + icons[i] + ".png\" alignment=\"TC\" margin=\"0,8,0,0\"/>\n" +
               "    </View>\n";
  }
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<View class=\"" + rootClass + "\" id=\"scene\">\n"
         "  <rect>" + std::to_string(x) + "," + std::to_string(y) + ",360,190</rect>\n"
         "  <View class=\"toolbar\" id=\"toolbar\">\n"
         "    <rect>10,10,340,64</rect>\n"
         "    <fontid>1,1,1</fontid>\n"
         "    <Image class=\"bg\" value=\"scene\\toolbar.png\" drawtype=\"3hstretch\"/>\n"
         "    <Image class=\"res\" id=\"hover\" value=\"scene\\hover.png\" drawtype=\"9stretch\"/>\n"
         "    <Image class=\"res\" id=\"push\" value=\"scene\\push.png\" drawtype=\"9stretch\"/>\n" +
         buttons +
         "  </View>\n"
         "  <View class=\"checkbutton\" id=\"check.top\">\n"
         "    <rect>20,96,180,18</rect>\n"
         "    <fontid>1,1,1</fontid>\n"
         "    <text>Keep the window {#fontid=3}on top{/}</text>\n"
         "    <texttopbias>1</texttopbias>\n"
         "    <Image class=\"Check\" value=\"scene\\check.png\" block=\"6\"/>\n"
         "  </View>\n"
         "  <View class=\"radiobutton\" id=\"radio.name\">\n"
         "    <rect>20,124,180,18</rect>\n"
         "    <text>Sort by name</text>\n"
         "    <texttopbias>1</texttopbias>\n"
         "    <group>7</group>\n"
         "    <Image class=\"Check\" value=\"scene\\radio.png\" block=\"6\"/>\n"
         "  </View>\n"
         "  <View class=\"radiobutton\" id=\"radio.use\">\n"
         "    <rect>20,150,180,18</rect>\n"
         "    <text>Sort by use</text>\n"
         "    <texttopbias>1</texttopbias>\n"
         "    <group>7</group>\n"
         "    <check>1</check>\n"
         "    <Image class=\"Check\" value=\"scene\\radio.png\" block=\"6\"/>\n"
         "  </View>\n"
         "  <View class=\"button\" id=\"ok\">\n"
         "    <rect>230,140,110,32</rect>\n"
         "    <text>OK</text>\n"
         "    <fontid>2,2,3</fontid>\n"
         "    <Image class=\"bg\" value=\"scene\\button.png\" block=\"3\" drawtype=\"9stretch\"/>\n"
         "  </View>\n"
         "</View>\n";
}

std::vector<skinpack::Entry> SceneEntries() {
  return {
      {"scene\\toolbar.png", ToolbarBack()},
      {"scene\\hover.png", StateBox(0x7DA2CE, kHoverFill)},
      {"scene\\push.png", StateBox(0x4A6FA5, kPushFill)},
      {"scene\\open.png", OpenIcon()},
      {"scene\\find.png", FindIcon()},
      {"scene\\gear.png", GearIcon()},
      {"scene\\check.png", ToggleStrip(false)},
      {"scene\\radio.png", ToggleStrip(true)},
      {"scene\\button.png", ButtonBack()},
      {"scene\\scene.xml", SceneTemplate()},
  };
}

bool LoadSkinEntries(const std::vector<skinpack::Entry>& entries) {
  xtest::TempDir dir;
  const std::wstring path = dir / L"pictures.xui";
  // The package is read whole into memory: the file may go once it is loaded.
  return xtest::WriteBytes(path, skinpack::BuildPackage(entries)) && CXSkinPackage::Instance().Load(path.c_str()) == 1;
}

void AddSceneFonts() {
  auto add = [](int id, int height, int weight, COLORREF color) {
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
    CXFontTable::Instance().Add(id, font, color);  // -1 when already there
  };
  add(1, -12, FW_NORMAL, RGB(0x22, 0x2C, 0x3A));
  add(2, -13, FW_BOLD, RGB(0x30, 0x30, 0x30));
  add(3, -13, FW_BOLD, RGB(0x0A, 0x2A, 0x6A));
}

void SceneRoot::DoPaint(HDC dc) {
  XFillSolidRect(dc, XUI_GetRect(), RGB((kSceneBack >> 16) & 0xFF, (kSceneBack >> 8) & 0xFF, kSceneBack & 0xFF));
  XUI_GetControlMgr()->DoPaint(dc);
}

void RegisterSceneRoot() { CXUIClassTable::Register(L"scenewnd", &XCreateUIObjectOf<SceneRoot>); }

SceneWindow::SceneWindow(IXUIObject* root, const wchar_t* title, int x, int y, bool show) : m_root(root) {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &SceneWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"UiSceneWindow";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  const CRect r = root ? root->XUI_GetRect() : CRect();
  m_hwnd = CreateWindowExW(0, L"UiSceneWindow", title, WS_POPUP | (show ? WS_VISIBLE : 0), x, y, r.Width(),
                           r.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (root) root->XUI_GetControlMgr()->SetAllWnd(m_hwnd);
  if (show) UpdateWindow(m_hwnd);
}

SceneWindow::~SceneWindow() {
  if (m_hwnd) {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
  }
  XDestroyUIObject(m_root);
}

LRESULT SceneWindow::Send(UINT msg, int x, int y, WPARAM wParam) {
  RECT w;
  GetWindowRect(m_hwnd, &w);
  MESSAGE_EVENT e = {};
  e.hWnd = m_hwnd;
  e.uMsg = msg;
  e.x = w.left + x;
  e.y = w.top + y;
  e.wParam = wParam;
  e.lParam = MAKELPARAM(x, y);
  return m_root ? m_root->XUI_GetControlMgr()->DispatchMsg(&e) : 0;
}

std::vector<MSG> SceneWindow::TakePosted() { return xtest::TakePosted(m_hwnd); }

void SceneWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hwnd, &ps);
  RECT client;
  GetClientRect(m_hwnd, &client);
  {
    xtest::Canvas canvas(client.right, client.bottom);
    if (auto* root = dynamic_cast<CXBaseUI*>(m_root)) root->DoPaint(canvas.Dc());
    BitBlt(dc, 0, 0, client.right, client.bottom, canvas.Dc(), 0, 0, SRCCOPY);
  }
  EndPaint(m_hwnd, &ps);
}

LRESULT CALLBACK SceneWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<SceneWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->m_root) return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      self->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      if (msg != WM_MOUSELEAVE && msg != WM_SETCURSOR) {
        p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(hwnd, &p);
      }
      MESSAGE_EVENT e = {};
      e.hWnd = hwnd;
      e.uMsg = msg;
      e.x = p.x;
      e.y = p.y;
      e.lParam = lParam;
      e.wParam = wParam;
      const LRESULT result = self->m_root->XUI_GetControlMgr()->DispatchMsg(&e);
      if (msg == WM_SETCURSOR) return e.bHandled ? result : DefWindowProcW(hwnd, msg, wParam, lParam);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace uitest
