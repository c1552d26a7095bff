// The toolbar: wiring of the shared hover and push pictures, routing to its buttons, and its
// painting order (background children, then the buttons).
#include "XToolbar.h"

#include <vector>

#include "ControlMgr.h"
#include "TessalyCtrl.h"
#include "XTessalyLib.h"
#include "XToolbarButton.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"toolbar", CXToolbar)

CXToolbar::CXToolbar() = default;

CXToolbar::~CXToolbar() { ReleaseImages(); }

const wchar_t* CXToolbar::XUI_GetClassName() { return L"XTOOLBAR"; }

DWORD CXToolbar::XUI_GetStyle() { return CXBaseUI::XUI_GetStyle() | XUI_STYLE_ALLMOVES; }

LRESULT CXToolbar::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  DoEventStep(event);
  if (event->uMsg == WM_CREATE) OnCreate();
  return XUI_GetControlMgr()->DispatchMsg(event);
}

void CXToolbar::OnCreate() {
  CControlMgr* mgr = XUI_GetControlMgr();
  auto* hover = dynamic_cast<CTessalyCtrl*>(mgr->FindObject(L"hover"));
  auto* push = dynamic_cast<CTessalyCtrl*>(mgr->FindObject(L"push"));
  for (int i = 0; i < mgr->GetCount(); ++i) {
    IXUIObject* child = mgr->GetObjectAt(i);
    if (!child || lstrcmpiW(child->XUI_GetClassName(), L"XTOOLBARBUTTON") != 0) continue;
    auto* button = dynamic_cast<CXToolbarButton*>(child);
    if (!button) continue;
    if (hover) button->SetHoverImage(hover->GetImage(), hover->GetDrawType());
    if (push) button->SetPushImage(push->GetImage(), push->GetDrawType());
  }
  m_bWired = true;
}

void CXToolbar::DoPaint(HDC dc) {
  if (!dc) return;
  if (!m_bWired) OnCreate();
  CControlMgr* mgr = XUI_GetControlMgr();
  mgr->DoPaintSimple(dc);
  std::vector<CXBaseUI*> buttons;
  mgr->FindUI(buttons, 0, XUI_STYLE_HIDDEN | XUI_STYLE_BACKGROUND);
  for (CXBaseUI* button : buttons) {
    button->Relayout();
    button->DoPaint(dc);
  }
}

void CXToolbar::ReleaseImages() {
  for (ITessaly*& image : m_pImages) {
    if (image) image->Release();
    image = nullptr;
  }
}

void CXToolbar::SetImages(const CString& first, const CString& second, const CString& third) {
  ReleaseImages();
  const CString paths[3] = {first, second, third};
  for (int i = 0; i < 3; ++i) m_pImages[i] = CXTessalyLib::LoadSkinPicture(CLSID_TessalyPng, paths[i]);
}

ITessaly* CXToolbar::GetImage(int index) const { return index >= 0 && index < 3 ? m_pImages[index] : nullptr; }

void CXToolbar::SetItemRect(const CRect& rect, int index) {
  m_itemRect = rect;
  m_nItemIndex = index;
}
