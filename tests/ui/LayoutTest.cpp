// Layout rules: alignment text, the placement examples inside window and windowless
// parents and on the work area, and lazy relayout.
#include <gtest/gtest.h>

#include "ModelTestUtil.h"

using uitest::ProbeUI;
using uitest::WindowProbe;

namespace {

// An object of the given size inside a window whose client area is 300 x 200 (the window
// itself sits elsewhere on the screen: its rectangle is moved to the origin).
CRect PlaceInWindow(int w, int h, const wchar_t* alignment, const CRect& margin) {
  WindowProbe window(L"w");
  window.XUI_SetRect(CRect(500, 400, 800, 600));
  ProbeUI object(L"o");
  object.XUI_SetParent(&window);
  object.XUI_SetRect(CRect(7, 9, 7 + w, 9 + h));
  CXRelayOut* rule = object.GetRelayoutPtr();
  rule->SetAlignment(alignment);
  rule->SetMargin(margin);
  return rule->CalcRect();
}

TEST(Layout, AlignmentText) {
  CXRelayOut rule(nullptr);
  EXPECT_EQ(rule.GetAlignment(), 0x00010001u);
  EXPECT_EQ(rule.IsEnable(), 0);
  rule.SetAlignment(L"CC");
  EXPECT_EQ(rule.GetAlignment(), 0x00020002u);
  rule.SetAlignment(L"B");  // one letter: nothing changes
  EXPECT_EQ(rule.GetAlignment(), 0x00020002u);
  rule.SetAlignment(nullptr);
  EXPECT_EQ(rule.GetAlignment(), 0x00020002u);
  rule.SetAlignment(L"bs and more");
  EXPECT_EQ(rule.GetAlignment(), 0x00080004u);
  rule.SetAlignment(L"cc");
  EXPECT_EQ(rule.GetAlignment(), 0x00020002u);
  rule.SetAlignment(L"SL");
  EXPECT_EQ(rule.GetAlignment(), 0x00010008u);
  rule.SetAlignment(L"XR");  // an unknown letter gives no flag for its half
  EXPECT_EQ(rule.GetAlignment(), 0x00040000u);
}

TEST(Layout, PlacementInsideAWindow) {
  EXPECT_EQ(PlaceInWindow(100, 20, L"CC", CRect()), CRect(100, 90, 200, 110));
  EXPECT_EQ(PlaceInWindow(100, 20, L"BR", CRect(0, 0, 5, 5)), CRect(195, 175, 295, 195));
  EXPECT_EQ(PlaceInWindow(100, 20, L"SS", CRect(10, 20, 30, 40)), CRect(10, 20, 270, 160));
  EXPECT_EQ(PlaceInWindow(3, 4, L"SS", CRect(10, 20, 30, 40)), CRect(10, 20, 270, 160));
  EXPECT_EQ(PlaceInWindow(101, 20, L"TC", CRect()).left, 99);
  EXPECT_EQ(PlaceInWindow(100, 20, L"TL", CRect(4, 6, 0, 0)), CRect(4, 6, 104, 26));
  // An axis without a flag keeps its coordinates.
  EXPECT_EQ(PlaceInWindow(100, 20, L"XY", CRect(4, 6, 0, 0)), CRect(7, 9, 107, 29));
  // Centre with a margin moves by the near margin.
  EXPECT_EQ(PlaceInWindow(100, 20, L"CC", CRect(10, 10, 0, 0)), CRect(110, 100, 210, 120));
  // Centre rounds toward zero when the object is larger than its parent.
  EXPECT_EQ(PlaceInWindow(303, 20, L"CC", CRect()).left, -1);
}

TEST(Layout, FlagsAreTestedNearFarCentreStretch) {
  // Several flags in one half: near (1) beats far (4) beats centre (2) beats stretch (8).
  EXPECT_EQ(CXRelayOut::Place(CRect(0, 0, 10, 10), CRect(0, 0, 100, 100), 0x000E000E, CRect()),
            CRect(90, 90, 100, 100));
  EXPECT_EQ(CXRelayOut::Place(CRect(0, 0, 10, 10), CRect(0, 0, 100, 100), 0x000A000A, CRect()),
            CRect(45, 45, 55, 55));
  EXPECT_EQ(CXRelayOut::Place(CRect(0, 0, 10, 10), CRect(0, 0, 100, 100), 0x000F000F, CRect(1, 1, 1, 1)),
            CRect(1, 1, 11, 11));
}

TEST(Layout, WindowlessParentsGiveWindowCoordinates) {
  ProbeUI parent(L"p");
  parent.XUI_SetRect(CRect(50, 50, 150, 150));
  ProbeUI child(L"c");
  child.XUI_SetParent(&parent);
  child.XUI_SetRect(CRect(0, 0, 20, 10));
  child.GetRelayoutPtr()->SetMargin(CRect(5, 5, 0, 0));
  child.GetRelayoutPtr()->SetEnable(1);
  EXPECT_EQ(child.GetRelayoutPtr()->CalcRect(), CRect(55, 55, 75, 65));
}

TEST(Layout, AnObjectWithoutAParentIsCentredOnTheWorkArea) {
  CRect work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  WindowProbe top(L"top");
  top.XUI_SetRect(CRect(0, 0, 200, 100));
  top.GetRelayoutPtr()->SetAlignment(L"CC");
  CRect r = top.GetRelayoutPtr()->CalcRect();
  EXPECT_EQ(r.left, work.left + (work.Width() - 200) / 2);
  EXPECT_EQ(r.top, work.top + (work.Height() - 100) / 2);
  EXPECT_EQ(r.Size(), CSize(200, 100));
}

TEST(Layout, RelayoutIsLazyAndReachesChildren) {
  WindowProbe window(L"w");
  window.XUI_SetRect(CRect(0, 0, 300, 200));
  auto* panel = new ProbeUI(L"panel");
  auto* inner = new ProbeUI(L"inner");
  window.XUI_AddChild(panel);
  panel->XUI_SetParent(&window);
  panel->XUI_AddChild(inner);
  inner->XUI_SetParent(panel);
  panel->XUI_SetRect(CRect(0, 0, 100, 50));
  inner->XUI_SetRect(CRect(0, 0, 10, 10));
  panel->GetRelayoutPtr()->SetAlignment(L"BR");
  panel->GetRelayoutPtr()->SetEnable(1);
  inner->GetRelayoutPtr()->SetAlignment(L"CC");
  inner->GetRelayoutPtr()->SetEnable(1);

  panel->Relayout();
  EXPECT_EQ(panel->XUI_GetRect(), CRect(200, 150, 300, 200));
  EXPECT_EQ(inner->XUI_GetRect(), CRect(245, 170, 255, 180));
  EXPECT_FALSE(panel->IsNeedRelayout());
  EXPECT_FALSE(inner->IsNeedRelayout());

  // A changed rule does nothing until the object is marked again.
  panel->GetRelayoutPtr()->SetAlignment(L"TL");
  panel->Relayout();
  EXPECT_EQ(panel->XUI_GetRect(), CRect(200, 150, 300, 200));
  panel->NeedRelayout(TRUE);
  panel->Relayout();
  EXPECT_EQ(panel->XUI_GetRect(), CRect(0, 0, 100, 50));
  EXPECT_EQ(inner->XUI_GetRect(), CRect(45, 20, 55, 30));

  // A disabled rule leaves the object where it is.
  panel->GetRelayoutPtr()->SetEnable(0);
  panel->XUI_SetRect(CRect(1, 2, 3, 4));
  panel->NeedRelayout(TRUE);
  panel->Relayout();
  EXPECT_EQ(panel->XUI_GetRect(), CRect(1, 2, 3, 4));
}

TEST(Layout, AnImageWithoutARuleFillsItsParent) {
  WindowProbe window(L"w");
  window.XUI_SetRect(CRect(40, 40, 340, 240));
  ProbeUI image(L"img");
  image.m_className = L"Tessaly";
  image.XUI_SetParent(&window);
  image.Relayout();
  EXPECT_EQ(image.XUI_GetRect(), CRect(0, 0, 300, 200));

  ProbeUI panel(L"panel");
  panel.XUI_SetRect(CRect(10, 10, 50, 50));
  ProbeUI inPanel(L"img2");
  inPanel.m_className = L"TESSALY";
  inPanel.XUI_SetParent(&panel);
  inPanel.Relayout();
  EXPECT_EQ(inPanel.XUI_GetRect(), CRect(10, 10, 50, 50));

  ProbeUI other(L"other");  // any other class without a rule stays
  other.XUI_SetParent(&panel);
  other.XUI_SetRect(CRect(1, 1, 2, 2));
  other.Relayout();
  EXPECT_EQ(other.XUI_GetRect(), CRect(1, 1, 2, 2));
}

}  // namespace
