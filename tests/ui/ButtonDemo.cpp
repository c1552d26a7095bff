// Shows the button scene in a framework main window (built from the scene's template) for a
// number of seconds (the first argument, default 60), so that it can be driven with real
// mouse input and photographed.
#include <windows.h>

#include <cstdlib>

#include "ButtonScene.h"
#include "XEasyWnd.h"

int main(int argc, char** argv) {
  const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 60;
  uitest::AddSceneFonts();
  if (!uitest::LoadSkinEntries(uitest::SceneEntries())) return 2;
  IXUIObject* root = uitest::BuildTemplate(uitest::SceneTemplate("mainwnd", 40, 40));
  auto* wnd = dynamic_cast<CXEasyWnd*>(root);
  if (!wnd) return 3;
  wnd->SetBkColor(RGB(0xF0, 0xF0, 0xF0));
  wnd->GetRelayoutPtr()->SetEnable(0);
  wnd->XUI_SetAttribute(L"visible", L"1");
  CRect r = wnd->XUI_GetRect();
  if (!wnd->Create(nullptr, &r, L"Button scene", WS_POPUP, 0, nullptr)) return 4;
  wnd->RelocateWnd();
  const DWORD end = GetTickCount() + seconds * 1000;
  bool quit = false;
  while (!quit && GetTickCount() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) quit = true;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (wnd->GetHWND()) DestroyWindow(wnd->GetHWND());
  XDestroyUIObject(root);
  return 0;
}
