// Buttons in a real (hidden) window through the real Wendora.dll: state changes from the
// framework's routing, what counts as a click, check toggling, radio and toolbar groups, the
// check and radio strips, captions, and the button attributes.
#include <gtest/gtest.h>

#include <memory>

#include "ButtonTestUtil.h"
#include "Canvas.h"
#include "ModelTestUtil.h"
#include "TessalyCtrl.h"
#include "XButton.h"
#include "XCheckButton.h"
#include "XRadioButton.h"
#include "XSkinTables.h"
#include "XToolbarButton.h"

using namespace uitest;
using xtest::Canvas;

namespace {

// A scene root 300 x 200 in a hidden window at (100, 100), built from template text.
class Buttons : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestSkin();
    CXCheckButton::ResetStrip();
    CXRadioButton::ResetStrip();
  }
  void TearDown() override {
    CXCheckButton::ResetStrip();
    CXRadioButton::ResetStrip();
  }
  void Build(const std::string& children) {
    IXUIObject* root = BuildTemplate("<View class=\"scenewnd\" id=\"root\"><rect>0,0,300,200</rect>" + children + "</View>");
    ASSERT_NE(root, nullptr);
    window = std::make_unique<SceneWindow>(root, L"buttons", 100, 100, false);
    window->TakePosted();
  }
  template <class T>
  T* Find(const wchar_t* id, IXUIObject* parent = nullptr) {
    IXUIObject* object = (parent ? parent : window->Root())->XUI_GetChild(id);
    T* typed = dynamic_cast<T*>(object);
    EXPECT_NE(typed, nullptr) << xtest::Narrow(id);
    return typed;
  }
  // A click (move, press, release) at a client point; the clicks posted.
  int ClickAt(int x, int y) {
    window->Send(WM_MOUSEMOVE, x, y);
    window->Send(WM_LBUTTONDOWN, x, y);
    window->Send(WM_LBUTTONUP, x, y);
    return Clicks(window->TakePosted());
  }
  void Paint(Canvas& c) { dynamic_cast<CXBaseUI*>(window->Root())->DoPaint(c.Dc()); }

  std::unique_ptr<SceneWindow> window;
};

// A button at (10, 10)-(60, 40) with a three-block picture child, and a probe beside it.
const char* kPushButton =
    "<View class=\"button\" id=\"7\"><rect>10,10,50,30</rect>"
    "<Image class=\"bg\" value=\"t\\blocks3.png\" block=\"3\" drawtype=\"9stretch\"/>"
    "<Image class=\"Check\" id=\"hidden\" value=\"t\\blocks3.png\" block=\"3\"/></View>"
    "<View class=\"button\" id=\"other\"><rect>100,10,50,30</rect></View>";

}  // namespace

TEST_F(Buttons, PressDragOffAndReleaseElsewhereIsNoClick) {
  Build(kPushButton);
  auto* button = Find<CXButtonImpl>(L"7");
  auto* other = Find<CXButtonImpl>(L"other");
  window->Send(WM_MOUSEMOVE, 20, 20);
  EXPECT_EQ(button->GetState(), XBUTTON_HOVER);
  window->Send(WM_LBUTTONDOWN, 20, 20);
  EXPECT_EQ(button->GetState(), XBUTTON_PUSHED);
  EXPECT_TRUE(button->IsButtonDown());
  window->Send(WM_MOUSEMOVE, 120, 20);  // the window's list tells the button the mouse left
  EXPECT_EQ(button->GetState(), XBUTTON_NORMAL);
  EXPECT_FALSE(button->IsButtonDown());
  window->Send(WM_LBUTTONUP, 120, 20);
  EXPECT_EQ(button->GetState(), XBUTTON_NORMAL);
  // The other button was never pressed, but released over while in hover: no click either.
  EXPECT_EQ(other->GetState(), XBUTTON_HOVER);
  EXPECT_EQ(Clicks(window->TakePosted()), 0);
}

TEST_F(Buttons, PressAndReleaseIsExactlyOneClickAndAReleaseInHoverNone) {
  Build(kPushButton);
  auto* button = Find<CXButtonImpl>(L"7");
  window->Send(WM_MOUSEMOVE, 20, 20);
  window->Send(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  window->TakePosted();
  window->Send(WM_LBUTTONUP, 20, 20, 0x8);
  EXPECT_EQ(button->GetState(), XBUTTON_HOVER);
  std::vector<MSG> posted = window->TakePosted();
  ASSERT_EQ(posted.size(), 2u);
  // A numeric ID is also a command.
  EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(posted[0].wParam, 7u);
  EXPECT_EQ(posted[1].message, static_cast<UINT>(XWM_LBUTTONCLICK));
  EXPECT_EQ(posted[1].wParam, 0x8u);
  EXPECT_EQ(posted[1].lParam, MAKELPARAM(20, 20));

  // Released again without a press: the button is in hover, so nothing.
  window->Send(WM_LBUTTONUP, 20, 20);
  EXPECT_TRUE(window->TakePosted().empty());
  // A press straight from the normal state (no move first) is a click as well.
  window->Send(WM_MOUSEMOVE, 250, 150);
  EXPECT_EQ(button->GetState(), XBUTTON_NORMAL);
  window->Send(WM_LBUTTONDOWN, 20, 20);
  window->Send(WM_LBUTTONUP, 20, 20);
  EXPECT_EQ(Clicks(window->TakePosted()), 1);
}

TEST_F(Buttons, ImageChildrenShowTheBlockOfTheStateAndTheCaptionNeedsItsFont) {
  Build(kPushButton);
  auto* button = Find<CXButtonImpl>(L"7");
  auto* hidden = Find<CTessalyCtrl>(L"hidden", button);
  const DWORD expected[3] = {kRed, kGreen, kBlue};
  for (int state = 0; state < 3; ++state) {
    if (state == 1) window->Send(WM_MOUSEMOVE, 20, 20);
    if (state == 2) window->Send(WM_LBUTTONDOWN, 20, 20);
    Canvas c(300, 200);
    Paint(c);
    EXPECT_EQ(c.At(35, 25), expected[state]) << state;
    EXPECT_EQ(c.At(10, 10), expected[state]) << state;
    EXPECT_EQ(c.At(9, 9), kSceneBack) << state;
  }
  EXPECT_EQ(hidden->GetImageIndex(), 0);  // a hidden child is no image child

  // Captions: centred by default, right or left on request, only in a font of the table.
  auto* other = Find<CXButtonImpl>(L"other");
  const CRect area(100, 10, 150, 40);
  auto firstInk = [&](const Canvas& c) {
    for (int x = area.left; x < area.right; ++x)
      for (int y = area.top; y < area.bottom; ++y)
        if (c.At(x, y) != kSceneBack) return x;
    return -1;
  };
  other->XUI_SetWindowText(L"II");
  other->SetFontID(77, 77, 77, 77);
  Canvas none(300, 200);
  Paint(none);
  EXPECT_EQ(firstInk(none), -1);
  other->SetFontID(1, 1, 1, 1);
  Canvas centred(300, 200);
  Paint(centred);
  const int centre = firstInk(centred);
  EXPECT_GT(centre, area.left + 15);
  other->SetBias(STRING_BIAS_LEFT);
  Canvas left(300, 200);
  Paint(left);
  EXPECT_LT(firstInk(left), area.left + 5);
  other->SetTextMargin(20, 0);
  Canvas moved(300, 200);
  Paint(moved);
  EXPECT_GE(firstInk(moved), area.left + 20);
  EXPECT_LT(firstInk(moved), area.left + 25);
}

TEST_F(Buttons, RichCaptionsTakeTheFontsOfTheStateInTheTextRectangle) {
  Build("<View class=\"button\" id=\"b\"><rect>10,10,200,30</rect><fontid>1,1,1</fontid>"
        "<text>Go {#fontid=2;hfontid=3}there{/}</text></View>");
  auto* b = Find<CXButtonImpl>(L"b");
  ASSERT_NE(b->GetRichText(), nullptr);
  b->SetBias(STRING_BIAS_LEFT);
  b->SetTextMargin(40, 0);
  struct Ink {
    int normalRun = 0, hoverRun = 0, firstX = -1;
  };
  auto paint = [&] {
    Canvas c(300, 200);
    Paint(c);
    Ink ink;
    for (int x = 0; x < 300; ++x)
      for (int y = 0; y < 200; ++y) {
        const DWORD p = c.At(x, y);
        ink.normalRun += p == 0x303030;  // font 2
        ink.hoverRun += p == 0x0A2A6A;   // font 3
        if (p != kSceneBack && ink.firstX < 0) ink.firstX = x;
      }
    return ink;
  };
  Ink normal = paint();
  EXPECT_GT(normal.normalRun, 0);
  EXPECT_EQ(normal.hoverRun, 0);
  EXPECT_GE(normal.firstX, 50);  // the text rectangle starts at the left margin
  window->Send(WM_MOUSEMOVE, 20, 20);
  Ink hover = paint();
  EXPECT_EQ(hover.normalRun, 0);
  EXPECT_GT(hover.hoverRun, 0);
}

TEST_F(Buttons, CheckButtonsToggleOnEveryClick) {
  Build("<View class=\"checkbutton\" id=\"c\"><rect>10,10,100,20</rect></View>");
  auto* check = Find<CXCheckButton>(L"c");
  EXPECT_EQ(check->GetButtonType(), BUTTON_TYPE_CHECK);
  EXPECT_EQ(check->GetBias(), STRING_BIAS_LEFT);
  EXPECT_EQ(check->GetTextLeftMargin(), 5);
  EXPECT_EQ(ClickAt(20, 20), 1);
  EXPECT_EQ(check->GetCheck(), 1);
  window->Send(WM_MOUSEMOVE, 250, 150);
  EXPECT_EQ(ClickAt(20, 20), 1);
  EXPECT_EQ(check->GetCheck(), 0);
  // A push button made a check button by its type toggles too.
  Build("<View class=\"button\" id=\"p\"><rect>10,10,100,20</rect><buttontype>1</buttontype></View>");
  EXPECT_EQ(ClickAt(20, 20), 1);
  EXPECT_EQ(Find<CXButtonImpl>(L"p")->GetCheck(), 1);
}

TEST_F(Buttons, ARadioInGroupThreeUnchecksOnlyTheOtherMembersBesideIt) {
  // r1..r3 in group 3, r4 in group 4, and a box holding another "r2" of group 3.
  std::string xml;
  for (int i = 1; i <= 4; ++i)
    xml += "<View class=\"radiobutton\" id=\"r" + std::to_string(i) + "\"><rect>10," + std::to_string(i * 30) +
           ",100,20</rect><group>" + (i == 4 ? "4" : "3") + "</group><check>1</check></View>";
  xml += "<View class=\"button\" id=\"box\"><rect>200,10,90,90</rect>"
         "<View class=\"radiobutton\" id=\"R2\"><rect>200,10,80,20</rect><group>3</group><check>1</check></View></View>";
  Build(xml);
  auto* r1 = Find<CXRadioButton>(L"r1");
  auto* r2 = Find<CXRadioButton>(L"r2");
  auto* r3 = Find<CXRadioButton>(L"r3");
  auto* r4 = Find<CXRadioButton>(L"r4");
  auto* elsewhere = Find<CXRadioButton>(L"R2", Find<CXBaseUI>(L"box"));
  EXPECT_EQ(r1->GetGroup(), 3);
  // Every ID once, whatever the case it joined with.
  std::vector<CString> members = CXRadioButton::GetGroupMembers(3);
  int r2s = 0;
  for (const CString& id : members) r2s += id.CompareNoCase(L"r2") == 0;
  EXPECT_EQ(r2s, 1);

  EXPECT_EQ(ClickAt(20, 40), 1);  // r1
  EXPECT_EQ(r1->GetCheck(), 1);
  EXPECT_EQ(r2->GetCheck(), 0);
  EXPECT_EQ(r3->GetCheck(), 0);
  EXPECT_EQ(r4->GetCheck(), 1);
  EXPECT_EQ(elsewhere->GetCheck(), 1);
  // Clicking it again never unchecks it.
  window->Send(WM_MOUSEMOVE, 250, 150);
  EXPECT_EQ(ClickAt(20, 40), 1);
  EXPECT_EQ(r1->GetCheck(), 1);
  // Another group leaves group 3 alone.
  EXPECT_EQ(ClickAt(20, 130), 1);  // r4
  EXPECT_EQ(r1->GetCheck(), 1);
  EXPECT_EQ(r4->GetCheck(), 1);
}

TEST_F(Buttons, RadiosWithoutAGroupAndToolbarButtonsKeepTheirOwnGroups) {
  Build("<View class=\"radiobutton\" id=\"lone\"><rect>10,10,100,20</rect></View>"
        "<View class=\"radiobutton\" id=\"x2\"><rect>10,40,100,20</rect><group>30</group><check>1</check></View>"
        "<View class=\"toolbarbutton\" id=\"x1\"><rect>150,10,60,20</rect><group>30</group></View>"
        "<View class=\"toolbarbutton\" id=\"x3\"><rect>150,40,60,20</rect><group>30</group><check>1</check></View>");
  EXPECT_EQ(ClickAt(20, 20), 1);
  EXPECT_EQ(Find<CXRadioButton>(L"lone")->GetCheck(), 1);
  EXPECT_EQ(ClickAt(160, 20), 1);  // x1: unchecks x3, not the radio button x2
  EXPECT_EQ(Find<CXToolbarButton>(L"x1")->GetCheck(), 1);
  EXPECT_EQ(Find<CXToolbarButton>(L"x3")->GetCheck(), 0);
  EXPECT_EQ(Find<CXRadioButton>(L"x2")->GetCheck(), 1);
  EXPECT_EQ(CXToolbarButton::GetGroupMembers(30).size(), 2u);
  EXPECT_EQ(CXRadioButton::GetGroupMembers(30).size(), 1u);
  // A push button of radio type is not a radio button: no check from a click.
  Build("<View class=\"button\" id=\"p\"><rect>10,10,100,20</rect><buttontype>2</buttontype></View>");
  EXPECT_EQ(ClickAt(20, 20), 1);
  EXPECT_EQ(Find<CXButtonImpl>(L"p")->GetCheck(), 0);
}

TEST(ButtonStrip, FramesOfAFourBlockStrip) {
  XSTRIP_FRAMES f = XStripFrames(64, 4, XBUTTON_HOVER, FALSE);
  EXPECT_FALSE(f.whole);
  EXPECT_EQ(f.blockWidth, 16);
  ASSERT_EQ(f.count, 1);
  EXPECT_EQ(f.block[0], 1);
  f = XStripFrames(64, 4, XBUTTON_PUSHED, TRUE);
  ASSERT_EQ(f.count, 2);
  EXPECT_EQ(f.block[0], 2);
  EXPECT_EQ(f.block[1], 4);
  f = XStripFrames(64, 0, XBUTTON_NORMAL, TRUE);
  EXPECT_TRUE(f.whole);
  EXPECT_EQ(f.blockWidth, 0);
  EXPECT_EQ(f.count, 1);
}

TEST_F(Buttons, CheckStripsAreSharedByTheClassAndDrawnByState) {
  Build("<View class=\"checkbutton\" id=\"a\"><rect>10,10,100,16</rect>"
        "<Image class=\"Check\" value=\"t\\strip4.png\" block=\"4\"/></View>"
        "<View class=\"checkbutton\" id=\"b\"><rect>10,50,100,16</rect></View>"
        "<View class=\"radiobutton\" id=\"r\"><rect>10,90,100,16</rect>"
        "<Image class=\"Check\" value=\"t\\blocks3.png\" block=\"3\"/></View>");
  auto* a = Find<CXCheckButton>(L"a");
  auto* b = Find<CXCheckButton>(L"b");
  auto frame = [&](CXBaseUI* button) {
    Canvas c(300, 200);
    Paint(c);
    const CRect r = button->XUI_GetRect();
    EXPECT_EQ(c.At(r.left + 16, r.top + 8), kSceneBack);  // nothing right of the block
    return c.At(r.left + 8, r.top + 8);
  };
  EXPECT_EQ(frame(a), kRed);
  EXPECT_EQ(frame(b), kRed);  // the class's strip, though b has no picture
  window->Send(WM_MOUSEMOVE, 20, 58);
  EXPECT_EQ(frame(b), kGreen);  // unchecked in hover: block 1
  a->SetCheck(1);
  EXPECT_EQ(frame(a), kBlue);   // checked: block 0, then block 2 over it
  window->Send(WM_MOUSEMOVE, 20, 18);
  EXPECT_EQ(frame(a), kYellow);  // checked in hover: block 1, then block 3
  window->Send(WM_LBUTTONDOWN, 20, 18);
  EXPECT_EQ(frame(a), kBlue);   // checked and pushed: block 2, then block 4 (past the strip)
  // The radio class has a strip of its own.
  EXPECT_NE(CXRadioButton::GetStripImage(), nullptr);
  EXPECT_NE(CXRadioButton::GetStripImage(), CXCheckButton::GetStripImage());
  EXPECT_EQ(frame(Find<CXRadioButton>(L"r")), kRed);

  // The strip outlives the button that gave it.
  ITessaly* strip = CXCheckButton::GetStripImage();
  window.reset();
  Build("<View class=\"checkbutton\" id=\"b\"><rect>10,50,100,16</rect></View>");
  EXPECT_EQ(CXCheckButton::GetStripImage(), strip);
  EXPECT_EQ(frame(Find<CXCheckButton>(L"b")), kRed);
}

TEST_F(Buttons, WithoutAStripTheCaptionStartsAtTheLeftMargin) {
  Build("<View class=\"checkbutton\" id=\"a\"><rect>10,10,200,20</rect><text>IIII</text></View>"
        "<View class=\"checkbutton\" id=\"b\"><rect>10,50,200,20</rect><text>IIII</text>"
        "<Image class=\"Check\" value=\"t\\strip4.png\" block=\"4\"/></View>");
  Find<CXCheckButton>(L"a")->SetTextColor(RGB(255, 0, 0), FALSE, 0, 0, 0);
  EXPECT_EQ(Find<CXCheckButton>(L"a")->GetTextColor(2), RGB(255, 0, 0));
  Canvas c(300, 200);
  Paint(c);
  // "a" painted first, while the class had no strip and it had no picture to give ...
  auto firstInk = [&](int top) {
    for (int x = 10; x < 210; ++x)
      for (int y = top; y < top + 20; ++y)
        if (c.At(x, y) != kSceneBack) return x;
    return -1;
  };
  const int plain = firstInk(10);
  EXPECT_GE(plain, 15);
  EXPECT_LT(plain, 20);
  // ... and "b" supplied the strip: its caption follows the 16-pixel block.
  EXPECT_NE(CXCheckButton::GetStripImage(), nullptr);
  EXPECT_EQ(c.At(10, 50), kRed);
  int text = -1;
  for (int x = 26; x < 210 && text < 0; ++x)
    for (int y = 50; y < 70; ++y)
      if (c.At(x, y) != kSceneBack) text = x;
  EXPECT_GE(text, 31);
  EXPECT_LT(text, 36);
}

// A check button's caption is drawn in its state's text colour and the default GUI font, unless
// the skin gives it a font ("fontid"), whose colour it then takes.
TEST_F(Buttons, ACheckButtonCaptionTakesTheSkinFontItIsGiven) {
  Build("<View class=\"checkbutton\" id=\"a\"><rect>10,10,200,20</rect><text>IIII</text></View>");
  auto* box = Find<CXCheckButton>(L"a");
  box->SetTextColor(RGB(255, 0, 0), FALSE, 0, 0, 0);
  const COLORREF skin = CXFontTable::Instance().Get(1).color;
  ASSERT_TRUE(CXFontTable::Instance().Has(1));
  ASSERT_NE(skin, RGB(255, 0, 0));
  auto inkOf = [&](COLORREF color) {
    Canvas c(300, 200);
    Paint(c);
    return c.Count(color, RECT{10, 10, 210, 30});
  };
  EXPECT_GT(inkOf(RGB(255, 0, 0)), 10);
  box->SetFontID(1, 1, 1, 1);
  EXPECT_EQ(inkOf(RGB(255, 0, 0)), 0);
  EXPECT_GT(inkOf(skin), 10);
  box->SetFontID(77, 77, 77, 77);  // not in the table: as without a font
  EXPECT_GT(inkOf(RGB(255, 0, 0)), 10);
}

TEST_F(Buttons, AttributesAndCursor) {
  Build("<View class=\"button\" id=\"b\"><rect>10,10,50,30</rect></View>");
  auto* b = Find<CXButtonImpl>(L"b");
  EXPECT_EQ(b->XUI_SetAttribute(L"buttontype", L"1"), 0);  // stored, then CXBaseUI's answer
  EXPECT_EQ(b->GetButtonType(), 1);
  EXPECT_EQ(b->XUI_SetAttribute(L"TextTopBias", L"6"), 0);
  EXPECT_EQ(b->GetTextTopMargin(), 6);
  EXPECT_EQ(b->XUI_SetAttribute(L"group", L"5"), 1);  // a push button joins nothing
  EXPECT_EQ(b->GetGroupName(), CString(L"5"));
  EXPECT_EQ(b->XUI_SetAttribute(L"fontid", L"1,2"), 1);
  EXPECT_EQ(b->GetFontID(1), 2);

  EXPECT_EQ(window->Send(WM_SETCURSOR, 20, 20), 0);
  b->EnableSetCursor(1);
  EXPECT_EQ(window->Send(WM_SETCURSOR, 20, 20), 1);
}
