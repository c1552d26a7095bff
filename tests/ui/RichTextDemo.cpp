// Shows rich text, an edit field and the skinned menu in a real main window, for looking at
// them on a display: richtext_demo text|edit|menu [seconds]. "text" hovers the link,
// "edit" types into the open editor, "menu" opens the menu with its second item hovered.
#include <windows.h>

#include <cwchar>

#include "ControlMgr.h"
#include "RichTextTestUtil.h"
#include "XEasyWnd.h"
#include "XEdit.h"
#include "XEditWnd.h"
#include "XMenu.h"
#include "XStringWnd.h"

namespace {

void AddFont(int id, COLORREF color, int weight, bool underline, const wchar_t* face = L"Tahoma") {
  LOGFONTW lf = {};
  lf.lfHeight = -16;
  lf.lfWeight = weight;
  lf.lfUnderline = underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  CXFontTable::Instance().Add(id, lf, color);
}

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* mode = argc > 1 ? argv[1] : L"text";
  const DWORD seconds = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 5;
  AddFont(1, RGB(40, 40, 40), FW_NORMAL, false);
  AddFont(2, RGB(200, 30, 30), FW_BOLD, false);
  AddFont(3, RGB(20, 90, 200), FW_NORMAL, true);
  AddFont(4, RGB(255, 120, 0), FW_BOLD, true);
  AddFont(5, RGB(255, 255, 255), FW_BOLD, false);
  AddFont(6, RGB(40, 40, 40), FW_NORMAL, false, L"WenQuanYi Zen Hei");  // has the bullet

  CXEasyWnd* host = new CXEasyWnd();
  host->SetBkColor(RGB(236, 240, 244));
  CXStringWnd* text = new CXStringWnd();
  text->SetID(L"link");
  text->SetFontID(1, 1, 1, 0);
  text->XUI_SetRect(CRect(20, 20, 400, 44));
  text->XUI_SetWindowText(L"Welcome to {#fontid=2;hfontid=2;pfontid=2}Pinvale{/}: {#fontid=3;hfontid=4;pfontid=2}open the list{/} now");
  CXEdit* name = new CXEdit();
  name->SetFontID(1, 0, 0, 0);
  name->XUI_SetRect(CRect(20, 70, 300, 96));
  name->XUI_SetWindowText(L"Anna Lee");
  CXEdit* secret = new CXEdit();
  secret->SetFontID(6, 0, 0, 0);
  secret->SetPassword();
  secret->XUI_SetRect(CRect(20, 110, 300, 136));
  secret->XUI_SetWindowText(L"hunter");
  IXUIObject* children[] = {text, name, secret};
  for (IXUIObject* child : children) {
    host->XUI_AddChild(child);
    child->XUI_SetParent(host);
  }
  const RECT r = {60, 60, 480, 320};
  HWND wnd = host->Create(nullptr, &r, L"Rich text demo", 0, 0, nullptr);
  if (!wnd) return 1;
  host->XUI_GetControlMgr()->SetAllWnd(wnd);
  ShowWindow(wnd, SW_SHOW);
  SetForegroundWindow(wnd);
  UpdateWindow(wnd);
  SetCursorPos(5, 5);
  Pump(300);

  CXMenu* menu = nullptr;
  if (lstrcmpW(mode, L"text") == 0) {
    // Hover the link: the mouse over it, as the window would report it.
    CRect link = text->XUI_GetRect();
    SetCursorPos(60 + link.right - 20, 60 + link.top + 8);
    PostMessageW(wnd, WM_MOUSEMOVE, 0, 0);
  } else if (lstrcmpW(mode, L"edit") == 0) {
    name->OnSetFocus();
    HWND editor = name->GetEditor() ? name->GetEditor()->GetHWND() : nullptr;
    SendMessageW(editor, EM_SETSEL, 8, 8);
    for (const wchar_t* p = L" Smith"; *p; ++p) SendMessageW(editor, WM_CHAR, *p, 1);
    SendMessageW(editor, EM_SETSEL, 9, 14);  // the typed word selected, as a user marks it
  } else {
    menu = new CXMenu();
    menu->XUI_SetAttribute(L"fontid", L"1,5");
    menu->XUI_SetAttribute(L"itemheight", L"24");
    uitest::ColorPicture* hover = new uitest::ColorPicture();
    hover->SetID(L"hover");
    hover->m_color = RGB(20, 90, 200);
    uitest::ColorPicture* line = new uitest::ColorPicture();
    line->SetID(L"Seperator");
    line->m_color = RGB(190, 196, 204);
    menu->XUI_AddChild(hover);
    menu->XUI_AddChild(line);
    menu->CreateMenu();
    menu->InsertMenuW(0, MF_STRING, L"Open Pinvale", nullptr);
    menu->InsertMenuW(1, MF_STRING, L"Settings", nullptr);
    menu->InsertMenuW(2, MF_SEPARATOR, L"", nullptr);
    menu->InsertMenuW(3, MF_STRING, L"Quit", nullptr);
    menu->TrackPopupMenu(300, 200);
    SetCursorPos(330, 200 + 2 + 24 + 10);
    PostMessageW(menu->GetHWND(), WM_MOUSEMOVE, 0, 0);
  }
  Pump(seconds * 1000);
  if (menu) XDestroyUIObject(menu);
  DestroyWindow(wnd);
  XDestroyUIObject(host);
  return 0;
}
