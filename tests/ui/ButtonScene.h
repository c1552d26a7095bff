// The picture and button scene shared by the button tests and the demo program: pictures
// drawn here pixel by pixel, packed with a template into the process's skin package, and a
// real window that routes its mouse messages to the scene and paints it through a DIB.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ControlMgr.h"
#include "ModelTestUtil.h"
#include "PackageWriter.h"
#include "XBaseUI.h"

namespace uitest {

// Colours of the scene's pictures (0xRRGGBB) where tests look at them.
constexpr DWORD kSceneBack = 0xF0F0F0;
constexpr DWORD kHoverFill = 0xDCEBFC;
constexpr DWORD kPushFill = 0xB8D0EE;
constexpr DWORD kCheckTick = 0x1E7A32;
constexpr DWORD kButtonFill[3] = {0xE4E4E4, 0xD4E6FA, 0xA9C4E6};

// The scene's pictures ("scene\\*.png") and its template ("scene\\scene.xml"): a root of the
// given class at (x, y), 360 x 190, holding a toolbar of three toolbar buttons in group 1
// ("tb.open", "tb.find", "tb.gear") with shared hover and push pictures, a check button
// "check.top", two radio buttons in group 7 and a push button "ok" with a three-state
// background.
std::vector<skinpack::Entry> SceneEntries();
std::string SceneTemplate(const std::string& rootClass = "scenewnd", int x = 0, int y = 0);

// Packs the entries and loads them as the process's skin package; true when loaded.
bool LoadSkinEntries(const std::vector<skinpack::Entry>& entries);
// The fonts the scene's "fontid" values name (ids 1 to 3), added once.
void AddSceneFonts();

// A window-typed root (UI type 1), registered as class "scenewnd": fills its rectangle and
// paints its children.
class SceneRoot : public CXBaseUI {
 public:
  DWORD XUI_GetUIType() override { return XUI_TYPE_WINDOW; }
  void DoPaint(HDC dc) override;
};
void RegisterSceneRoot();

// A real popup window (its window rectangle is its client area, as the framework's windows)
// showing a root object: WM_PAINT paints the root into a 32-bit DIB and copies it, mouse
// messages go to the root's child list with the cursor in screen coordinates. Owns the root.
class SceneWindow {
 public:
  SceneWindow(IXUIObject* root, const wchar_t* title, int x, int y, bool show);
  ~SceneWindow();
  SceneWindow(const SceneWindow&) = delete;
  SceneWindow& operator=(const SceneWindow&) = delete;
  HWND Get() const { return m_hwnd; }
  IXUIObject* Root() const { return m_root; }
  // Routes a message at a client point as the window procedure would; the manager's result.
  LRESULT Send(UINT msg, int x, int y, WPARAM wParam = 0);
  // Messages posted to the window so far (click messages, WM_COMMAND), taken in order.
  std::vector<MSG> TakePosted();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Paint();

  IXUIObject* m_root;
  HWND m_hwnd = nullptr;
};

}  // namespace uitest
