// Shows the button scene in a real window for a number of seconds (the first argument,
// default 60) so that it can be driven with real mouse input and photographed.
#include <windows.h>

#include <cstdlib>

#include "ButtonScene.h"

int main(int argc, char** argv) {
  const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 60;
  uitest::AddSceneFonts();
  uitest::RegisterSceneRoot();
  if (!uitest::LoadSkinEntries(uitest::SceneEntries())) return 2;
  IXUIObject* root = uitest::BuildTemplate(uitest::SceneTemplate());
  if (!root) return 3;
  uitest::SceneWindow window(root, L"Button scene", 40, 40, true);
  window.Send(WM_CREATE, 0, 0);
  const DWORD end = GetTickCount() + seconds * 1000;
  while (GetTickCount() < end && IsWindow(window.Get())) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
