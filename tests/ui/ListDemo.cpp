// A visible window hosting a list in a container, for looking at the list by eye (hover,
// selection, icons, separators, scrollbar): the window routes its mouse messages through a
// child list as a skinned window does and paints double-buffered. Runs until closed, or for
// the number of seconds given on its command line.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XContainer.h"
#include "XDraw.h"
#include "XList.h"
#include "XScrollbar.h"

namespace {

// The window's root object: a window-typed owner of the top-level children.
class DemoRoot : public CXBaseUI {
 public:
  DWORD XUI_GetUIType() override { return XUI_TYPE_WINDOW; }
};

DemoRoot* g_root = nullptr;

HICON ShellIcon(const wchar_t* name, DWORD attributes) {
  SHFILEINFOW info = {};
  SHGetFileInfoW(name, attributes, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES);
  return info.hIcon;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      {
        CXMemDC mem(dc, client.right, client.bottom);
        XFillSolidRect(mem, client, RGB(236, 242, 248));
        g_root->XUI_GetControlMgr()->DoPaint(mem);
        BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_MOUSEHOVER:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_SETFOCUS: {
      const DWORD pos = GetMessagePos();
      MESSAGE_EVENT e = {FALSE, hwnd, msg, static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)), lp, wp};
      g_root->XUI_GetControlMgr()->DispatchMsg(&e);
      if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN) return 0;
      break;
    }
    case WM_TIMER:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"ListDemo";
  RegisterClassW(&wc);

  DemoRoot root;
  g_root = &root;
  root.XUI_SetRect(CRect(0, 0, 340, 320));
  auto* container = new CXContainer();
  container->SetID(L"list.container");
  container->XUI_SetRect(CRect(10, 10, 330, 310));
  root.XUI_AddChild(container);

  auto* list = new CXList();
  list->SetID(L"list");
  list->XUI_SetParent(container);
  list->XUI_SetRect(CRect(10, 10, 330, 310));
  list->SetListStyle(CXList::LIST_HITTEST | CXList::LIST_SEPARATOR | CXList::LIST_BORDER | CXList::LIST_SELECT);
  list->SetItemHeight(40);
  list->SetColor(RGB(255, 255, 255), RGB(221, 236, 252), RGB(176, 208, 244));
  list->SetBackColor(RGB(255, 255, 255));
  list->SetBackAlpha(200);
  list->InsertColumn(100, L"path");
  container->XUI_AddChild(list);
  auto* bar = new CXScrollbar();
  bar->SetID(L"list.scrollbar");
  bar->XUI_SetParent(list);
  bar->GetRelayoutPtr()->SetAlignment(L"SR");
  bar->GetRelayoutPtr()->SetMargin(CRect(0, 1, 1, 1));
  bar->GetRelayoutPtr()->SetEnable(1);
  bar->XUI_SetRect(CRect(0, 0, 8, 0));
  list->XUI_AddChild(bar);

  HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 16, 16);
  list->SetImageList(images);
  struct {
    const wchar_t* path;
    DWORD attributes;
  } entries[] = {
      {L"C:\\Users\\Public\\Documents", FILE_ATTRIBUTE_DIRECTORY},
      {L"C:\\Program Files\\Notes\\notes.exe", FILE_ATTRIBUTE_NORMAL},
      {L"C:\\Users\\Public\\Documents\\report.txt", FILE_ATTRIBUTE_NORMAL},
      {L"C:\\Users\\Public\\Pictures\\A folder whose name is far too long to fit in one row", FILE_ATTRIBUTE_DIRECTORY},
      {L"D:\\Music\\playlist.ini", FILE_ATTRIBUTE_NORMAL},
      {L"C:\\Windows", FILE_ATTRIBUTE_DIRECTORY},
      {L"C:\\Windows\\notepad.exe", FILE_ATTRIBUTE_NORMAL},
      {L"E:\\Backup\\2024\\archive.bat", FILE_ATTRIBUTE_NORMAL},
      {L"C:\\Users\\Public\\Desktop", FILE_ATTRIBUTE_DIRECTORY},
  };
  for (const auto& entry : entries) {
    const int row = list->InsertItem(entry.path);
    HICON icon = ShellIcon(entry.path, entry.attributes);
    list->SetItem(row, 0, entry.path, icon);
    if (icon) DestroyIcon(icon);
  }
  list->GetRow(2)->state = CXList::ROW_SELECTED;

  HWND hwnd = CreateWindowExW(0, L"ListDemo", L"List demo", WS_POPUP | WS_VISIBLE, 40, 40, 340, 320, nullptr,
                              nullptr, instance, nullptr);
  root.XUI_GetControlMgr()->SetAllWnd(hwnd);
  const int seconds = cmdLine ? _wtoi(cmdLine) : 0;
  if (seconds > 0) SetTimer(hwnd, 1, static_cast<UINT>(seconds) * 1000, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  root.XUI_SetControlMgr(nullptr);  // the children go before the image list they draw from
  ImageList_Destroy(images);
  return 0;
}
