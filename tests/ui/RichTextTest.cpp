// Rich text through the real Wendora.dll: markup splitting and style reading, fonts per
// button state drawn into a real DIB, row alignment, the text object's fitting, font
// re-parsing and mouse behaviour over a real hidden window, and captions of plain objects.
#include <gtest/gtest.h>

#include <memory>

#include "ControlMgr.h"
#include "ModelTestUtil.h"
#include "RichTextTestUtil.h"
#include "XRichString.h"
#include "XStringWnd.h"
#include "XUIClassTable.h"

using uitest::Event;
using uitest::Canvas;
using uitest::ProbeUI;

namespace {

// Font ids of these tests and their colours.
const int kRed = 3, kGreen = 4, kBlack = 5, kBlue = 6;
const COLORREF kRedColor = RGB(255, 0, 0), kGreenColor = RGB(0, 160, 0), kBlueColor = RGB(0, 0, 255),
               kBlackColor = RGB(0, 0, 0);

class RichText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    uitest::AddTestFont(kRed, kRedColor);
    uitest::AddTestFont(kGreen, kGreenColor);
    uitest::AddTestFont(kBlack, kBlackColor);
    uitest::AddTestFont(kBlue, kBlueColor);
  }
};

std::vector<std::wstring> Parts(const wchar_t* text) {
  std::vector<std::wstring> out;
  for (const CString& part : CXString::SplitParts(text)) out.push_back(part.Str());
  return out;
}

TEST_F(RichText, SplitsPlainRunsAndStyledRuns) {
  EXPECT_EQ(Parts(L"ab{#fontid=2}cd{/}ef"), (std::vector<std::wstring>{L"ab", L"{#fontid=2}cd{/}", L"ef"}));
  EXPECT_EQ(Parts(L"{#fontid=1}a{/}{#fontid=2}b{/}"), (std::vector<std::wstring>{L"{#fontid=1}a{/}", L"{#fontid=2}b{/}"}));
  EXPECT_TRUE(Parts(L"").empty());
  // An opening mark without its closing one leaves the rest as one plain part; a closing
  // mark before the opening one stays plain text and nothing is repeated.
  EXPECT_EQ(Parts(L"x{#fontid=2}y"), (std::vector<std::wstring>{L"x{#fontid=2}y"}));
  EXPECT_EQ(Parts(L"x{/}y{#fontid=2}z"), (std::vector<std::wstring>{L"x{/}y{#fontid=2}z"}));
  EXPECT_EQ(Parts(L"a{/}b{#fontid=2}c{/}"), (std::vector<std::wstring>{L"a{/}b", L"{#fontid=2}c{/}"}));
}

TEST_F(RichText, ReadsStylesQuotedValuesAndKeysInAnyCase) {
  ProbeUI owner;
  owner.SetFontID(7, 8, 9, 10);
  CXString s(&owner);
  s.SetString(L"{#fontid=\"3\";HFontID = 4; pfontid=5;color=9;junk}a{/}b");
  ASSERT_EQ(s.GetSegmentCount(), 2);
  const XStringDataEx* styled = s.GetSegment(0);
  EXPECT_EQ(styled->text, L"a");
  EXPECT_EQ(styled->fontIds[0], 3);
  EXPECT_EQ(styled->fontIds[1], 4);
  EXPECT_EQ(styled->fontIds[2], 5);
  EXPECT_EQ(styled->fontIds[3], 0);
  const XStringDataEx* plain = s.GetSegment(1);
  EXPECT_EQ(plain->text, L"b");
  EXPECT_EQ(plain->fontIds[0], 7);
  EXPECT_EQ(plain->fontIds[3], 10);

  // A run without "}" has no style and keeps its text; the source text is kept whole.
  s.SetString(L"{#fontid=3 here{/}");
  ASSERT_EQ(s.GetSegmentCount(), 1);
  EXPECT_EQ(s.GetSegment(0)->text, L"fontid=3 here");
  EXPECT_EQ(s.GetSegment(0)->fontIds[0], 0);
  CString source;
  s.GetWindowTextW(source);
  EXPECT_EQ(source, L"{#fontid=3 here{/}");
  EXPECT_EQ(s.GetSegment(1), nullptr);
}

TEST_F(RichText, HoverPaintsEachSegmentInItsHoverFont) {
  ProbeUI owner;
  owner.SetFontID(kBlack, kBlue, 0, 0);
  owner.XUI_SetRect(CRect(0, 0, 300, 30));
  CXString s(&owner);
  s.SetString(L"Click {#fontid=3;hfontid=4}here{/} now");
  ASSERT_EQ(s.GetSegmentCount(), 3);
  EXPECT_EQ(s.GetSegment(0)->text, L"Click ");
  EXPECT_EQ(s.GetSegment(1)->fontIds[1], kGreen);
  EXPECT_EQ(s.GetSegment(2)->fontIds[1], kBlue);

  Canvas c(300, 30);
  s.Draw(c.Dc(), 0);
  // Segments follow each other by their measured widths.
  const int w0 = uitest::MeasureText(kBlack, L"Click ").cx;
  const int w1 = uitest::MeasureText(kRed, L"here").cx;
  EXPECT_EQ(s.GetSegment(1)->rect.left, w0);
  EXPECT_EQ(s.GetSegment(2)->rect.left, w0 + w1);
  EXPECT_EQ(s.GetSegment(2)->rect.right, 300);
  // Glyphs may overhang their advance by a pixel: each run is looked at inside its own span.
  const RECT first = {0, 0, w0 - 2, 30}, here = {w0 + 2, 0, w0 + w1 - 2, 30}, last = {w0 + w1 + 2, 0, 300, 30};
  EXPECT_GT(c.Count(kBlackColor, first), 10);
  EXPECT_GT(c.Count(kRedColor, here), 10);
  EXPECT_EQ(c.Ink(here), c.Count(kRedColor, here));
  EXPECT_GT(c.Count(kBlackColor, last), 10);

  c.Clear();
  s.SetButtonState(BUTTON_STATE_HOVER);
  s.Draw(c.Dc(), 0);
  EXPECT_GT(c.Count(kBlueColor, first), 10);
  EXPECT_EQ(c.Ink(first), c.Count(kBlueColor, first));
  EXPECT_GT(c.Count(kGreenColor, here), 10);
  EXPECT_EQ(c.Ink(here), c.Count(kGreenColor, here));
  EXPECT_GT(c.Count(kBlueColor, last), 10);
  EXPECT_EQ(c.Ink(last), c.Count(kBlueColor, last));

  // The pushed font of the styled run was never given: font 0 of the table draws it, as
  // does any id the table lacks.
  c.Clear();
  s.SetButtonState(BUTTON_STATE_PUSHED);
  s.Draw(c.Dc(), 0);
  EXPECT_GT(c.Ink(here), 10);
  EXPECT_EQ(c.Count(kGreenColor, here) + c.Count(kRedColor, here), 0);
  s.SetButtonState(7);  // not a state
  EXPECT_EQ(s.GetButtonState(), BUTTON_STATE_PUSHED);
}

TEST_F(RichText, EmptyTextHasNoSegmentsAndPaintsNothing) {
  ProbeUI owner;
  owner.XUI_SetRect(CRect(0, 0, 100, 20));
  CXString s(&owner);
  s.SetString(L"");
  EXPECT_EQ(s.GetSegmentCount(), 0);
  Canvas c(100, 20);
  s.Draw(c.Dc(), 0);
  s.Draw(c.Dc(), 0, RECT{0, 0, 100, 20});
  EXPECT_EQ(c.Ink(RECT{0, 0, 100, 20}), 0);
}

TEST_F(RichText, CentredAndRightAlignedRowsMoveAsAWholeInTheGivenRectangle) {
  ProbeUI owner;
  owner.SetFontID(kBlack, kBlack, kBlack, kBlack);
  CXString s(&owner);
  s.SetString(L"ab{#fontid=3}cd{/}ef");
  const int width = uitest::MeasureText(kBlack, L"ab").cx + uitest::MeasureText(kRed, L"cd").cx +
                    uitest::MeasureText(kBlack, L"ef").cx;
  Canvas c(220, 30);
  const RECT box = {10, 0, 210, 30};
  s.Draw(c.Dc(), DT_CENTER | DT_VCENTER | DT_SINGLELINE, box);
  EXPECT_EQ(s.GetTextRect().Width(), width);
  const int left = 10 + (200 - width) / 2;
  EXPECT_GE(c.FirstInkColumn(), left);
  EXPECT_LE(c.FirstInkColumn(), left + 2);
  EXPECT_LE(c.LastInkColumn(), left + width + 1);
  // The red run sits between the black ones, not over them.
  const int redStart = left + uitest::MeasureText(kBlack, L"ab").cx;
  const RECT red = {redStart + 2, 0, redStart + uitest::MeasureText(kRed, L"cd").cx - 2, 30};
  EXPECT_GT(c.Count(kRedColor, red), 10);
  EXPECT_EQ(c.Count(kBlackColor, red), 0);
  // Vertically centred: no ink in the top rows.
  EXPECT_EQ(c.Ink(RECT{0, 0, 220, 5}), 0);

  c.Clear();
  s.Draw(c.Dc(), DT_RIGHT, box);
  EXPECT_LE(c.LastInkColumn(), 209);
  EXPECT_GE(c.FirstInkColumn(), 210 - width);
  // A rectangle narrower than the text leaves it at the left.
  c.Clear();
  s.Draw(c.Dc(), DT_CENTER, RECT{10, 0, 30, 30});
  EXPECT_GE(c.FirstInkColumn(), 10);
  EXPECT_LT(c.FirstInkColumn(), 14);
}

// A text object inside a hidden host window's manager.
class TextObject : public RichText {
 protected:
  void SetUp() override {
    owner.XUI_SetRect(CRect(100, 100, 400, 300));
    mgr = owner.XUI_GetControlMgr();
    text = new CXStringWnd();
    text->SetID(L"7");
    text->XUI_SetRect(CRect(10, 10, 210, 40));
    other = new ProbeUI(L"other");
    other->XUI_SetRect(CRect(10, 100, 100, 140));
    mgr->AddUI(text);
    mgr->AddUI(other);
    mgr->SetAllWnd(host.Get());
    host.TakePosted();
  }
  LRESULT At(UINT msg, int cx, int cy) {
    MESSAGE_EVENT e = Event(msg, 100 + cx, 100 + cy, host.Get());
    return mgr->DispatchMsg(&e);
  }
  std::vector<UINT> PostedMessages() {
    std::vector<UINT> out;
    for (const MSG& m : host.TakePosted()) out.push_back(m.message);
    return out;
  }

  uitest::HostWindow host;
  uitest::WindowProbe owner{L"owner"};
  CControlMgr* mgr = nullptr;
  CXStringWnd* text = nullptr;
  ProbeUI* other = nullptr;
};

TEST_F(TextObject, IsMadeByTheClassTableAndStartsWithoutButtonEffect) {
  IXUIObject* made = CXUIClassTable::Create(L"Text");
  ASSERT_NE(dynamic_cast<CXStringWnd*>(made), nullptr);
  EXPECT_STREQ(made->XUI_GetClassName(), L"XSTRING");
  EXPECT_EQ(made->XUI_GetExStyle() & 0x1, 0x1u);
  made->XUI_SetEnable(TRUE);
  EXPECT_EQ(made->XUI_GetExStyle() & 0x1, 0u);
  EXPECT_EQ(dynamic_cast<CXStringWnd*>(made)->GetString()->IsButtonEffect(), 1);
  made->XUI_SetEnable(FALSE);
  EXPECT_EQ(made->XUI_GetExStyle() & 0x1, 0x1u);
  EXPECT_EQ(dynamic_cast<CXStringWnd*>(made)->GetString()->IsButtonEffect(), 0);
  XDestroyUIObject(made);
}

TEST_F(TextObject, ShrinksToItsTextAtTheFirstPaint) {
  text->SetFontID(kBlack, kBlue, kRed, 0);
  text->XUI_SetWindowText(L"Open it");
  EXPECT_EQ(text->XUI_GetWindowText(), L"Open it");
  const SIZE size = uitest::MeasureText(kBlack, L"Open it");
  ASSERT_LT(size.cx, 200);
  EXPECT_EQ(text->XUI_GetRect().Width(), 200);
  Canvas c(400, 200);
  mgr->DoPaint(c.Dc());
  EXPECT_EQ(text->XUI_GetRect(), CRect(10, 10, 10 + size.cx, 10 + size.cy));
  EXPECT_GT(c.Count(kBlackColor, text->XUI_GetRect()), 10);
  // A longer text grows it again at the next paint, and nothing is cut short.
  text->XUI_SetWindowText(L"Open it and more of it");
  mgr->DoPaint(c.Dc());
  EXPECT_EQ(text->XUI_GetRect().Width(), uitest::MeasureText(kBlack, L"Open it and more of it").cx);
}

TEST_F(TextObject, AFontChangeReparsesPlainTextOnly) {
  text->XUI_SetWindowText(L"plain");
  text->SetFontID(kBlue, 0, 0, 0);
  EXPECT_EQ(text->GetString()->GetSegment(0)->fontIds[0], kBlue);
  // The four-argument form goes the same way.
  text->SetFontID(kRed, kGreen, 0, 0);
  EXPECT_EQ(text->GetString()->GetSegment(0)->fontIds[1], kGreen);

  text->XUI_SetWindowText(L"a{#fontid=5}b{/}");
  text->SetFontID(kBlue, 0, 0, 0);
  ASSERT_EQ(text->GetString()->GetSegmentCount(), 2);
  EXPECT_EQ(text->GetString()->GetSegment(0)->fontIds[0], kRed);  // parsed before the change
  EXPECT_EQ(text->GetString()->GetSegment(1)->fontIds[0], 5);
}

TEST_F(TextObject, PressMoveOffAndReleaseElsewhereIsNoClick) {
  text->XUI_SetWindowText(L"link");
  At(WM_MOUSEMOVE, 20, 20);
  EXPECT_EQ(text->GetString()->GetButtonState(), BUTTON_STATE_HOVER);
  At(WM_LBUTTONDOWN, 20, 20);
  EXPECT_EQ(text->GetString()->GetButtonState(), BUTTON_STATE_PUSHED);
  EXPECT_TRUE(text->IsPressed());
  At(WM_MOUSEMOVE, 20, 120);
  EXPECT_EQ(text->GetString()->GetButtonState(), BUTTON_STATE_NORMAL);
  At(WM_LBUTTONUP, 20, 120);
  host.TakePosted();
  // Coming back and releasing (after a press elsewhere) is no click either.
  At(WM_LBUTTONDOWN, 20, 120);
  At(WM_MOUSEMOVE, 20, 20);
  At(WM_LBUTTONUP, 20, 20);
  for (UINT m : PostedMessages()) {
    EXPECT_NE(m, static_cast<UINT>(XWM_LBUTTONCLICK));
    EXPECT_NE(m, static_cast<UINT>(WM_COMMAND));
  }
  EXPECT_EQ(text->GetString()->GetButtonState(), BUTTON_STATE_HOVER);
}

TEST_F(TextObject, PressAndReleaseOverItClicksOnce) {
  text->XUI_SetWindowText(L"link");
  At(WM_MOUSEMOVE, 20, 20);
  At(WM_LBUTTONDOWN, 20, 20);
  host.TakePosted();
  At(WM_LBUTTONUP, 20, 20);
  EXPECT_EQ(PostedMessages(), (std::vector<UINT>{WM_COMMAND, XWM_LBUTTONCLICK}));
  EXPECT_EQ(text->GetString()->GetButtonState(), BUTTON_STATE_HOVER);
  EXPECT_FALSE(text->IsPressed());
  // A second release without a press is no click.
  At(WM_LBUTTONUP, 20, 20);
  EXPECT_TRUE(PostedMessages().empty());
}

TEST_F(RichText, CaptionsWithMarkupBecomeRichTextOwnedByTheirObject) {
  ProbeUI object;
  object.SetFontID(kBlack, 0, 0, 0);
  object.XUI_SetWindowText(L"plain");
  EXPECT_EQ(object.GetRichText(), nullptr);
  object.XUI_SetWindowText(L"a{#fontid=3}b{/}");
  CXString* rich = object.GetRichText();
  ASSERT_NE(rich, nullptr);
  EXPECT_EQ(rich->GetOwner(), &object);
  EXPECT_EQ(rich->GetSegmentCount(), 2);
  EXPECT_EQ(rich->GetSegment(0)->fontIds[0], kBlack);
  object.XUI_SetWindowText(L"{#fontid=4}c{/}");
  ASSERT_NE(object.GetRichText(), nullptr);
  EXPECT_EQ(object.GetRichText()->GetSegment(0)->fontIds[0], kGreen);
  // Plain text again: the caption is plain, no stale rich text is left to draw.
  object.XUI_SetWindowText(L"plain again");
  EXPECT_EQ(object.GetRichText(), nullptr);
}

}  // namespace
