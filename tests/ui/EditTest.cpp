// The edit field in a real opaque framework window under Wine: how the editor opens (only on
// a focus change, all text selected, over the inner rectangle), what it writes back, how it
// closes and the field repaints, passwords and read-only fields, and keys for the scripts; and
// the hotkey field, the other field that is a native control over its object.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ControlMgr.h"
#include "ModelTestUtil.h"
#include "RichTextTestUtil.h"
#include "TestUtil.h"
#include "UiTestUtil.h"
#include "XAppTemplate.h"
#include "XDraw.h"
#include "XEasyWnd.h"
#include "XEdit.h"
#include "XEditWnd.h"
#include "XHotKey.h"
#include "XRichString.h"
#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XSkinTemplate.h"
#include "XUIClassTable.h"

using uitest::Canvas;

namespace {

const int kFont = 41;
const COLORREF kInk = RGB(0, 0, 0);

// A shown 300 x 200 main window at (100, 100) holding one field at (20, 20)-(220, 44).
class EditField : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { uitest::AddTestFont(kFont, kInk); }
  void SetUp() override {
    // Focusing the window with the mouse over the field would already open its editor.
    SetCursorPos(20, 20);
    host = new CXEasyWnd();
    edit = new CXEdit();
    edit->SetID(L"field");
    edit->XUI_SetRect(CRect(20, 20, 220, 44));
    edit->SetFontID(kFont, 0, 0, 0);
    host->XUI_AddChild(edit);
    edit->XUI_SetParent(host);
    const RECT r = {100, 100, 400, 300};
    wnd = host->Create(nullptr, &r, L"EditHost", 0, 0, nullptr);
    ASSERT_NE(wnd, nullptr);
    host->XUI_GetControlMgr()->SetAllWnd(wnd);
    ShowWindow(wnd, SW_SHOW);
    SetForegroundWindow(wnd);
    SetFocus(wnd);
    UpdateWindow(wnd);
    xtest::PumpFor(50);
  }
  void TearDown() override {
    if (IsWindow(wnd)) DestroyWindow(wnd);
    XDestroyUIObject(host);
  }
  HWND Editor() const { return edit->GetEditor() ? edit->GetEditor()->GetHWND() : nullptr; }
  // Opens the editor the way a click does: the press, then the posted focus change.
  void ClickField() {
    SetCursorPos(130, 130);
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  }
  void Type(const wchar_t* text) {
    for (const wchar_t* p = text; *p; ++p) SendMessageW(Editor(), WM_CHAR, *p, 1);
  }
  CString EditorText() const {
    wchar_t buffer[256] = {};
    GetWindowTextW(Editor(), buffer, 256);
    return CString(buffer);
  }
  // Ink of the font's colour in the field's inner rectangle on the screen.
  int InkOnScreen() {
    CRect inner = edit->GetEditRect();
    inner.OffsetRect(100, 100);
    Canvas shot(inner.Width(), inner.Height());
    xtest::CaptureScreen(inner, shot);
    return shot.Count(kInk, RECT{0, 0, inner.Width(), inner.Height()});
  }

  CXEasyWnd* host = nullptr;
  CXEdit* edit = nullptr;
  HWND wnd = nullptr;
};

TEST_F(EditField, AClickDoesNothingByItselfTheFocusChangeOpensTheEditor) {
  edit->XUI_SetWindowText(L"hello");
  ClickField();
  EXPECT_EQ(edit->GetEditor(), nullptr);
  xtest::PumpFor(50);  // the posted WM_SETFOCUS
  ASSERT_NE(Editor(), nullptr);
  EXPECT_TRUE(edit->XUI_IsFocus());
  EXPECT_EQ(GetFocus(), Editor());
  EXPECT_EQ(GetParent(Editor()), wnd);
  // Over the inner rectangle, with all text selected and no native margins.
  CRect r;
  GetWindowRect(Editor(), &r);
  EXPECT_EQ(r, CRect(122, 123, 318, 139));
  DWORD start = 1, end = 0;
  SendMessageW(Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);
  EXPECT_EQ(LOWORD(SendMessageW(Editor(), EM_GETMARGINS, 0, 0)), 0);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(Editor(), GWL_STYLE));
  EXPECT_EQ(style & ~static_cast<DWORD>(WS_VISIBLE), 0x40000080u);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Editor(), WM_GETFONT, 0, 0)), CXFontTable::Instance().Get(kFont).hFont);
  EXPECT_EQ(EditorText(), L"hello");
  EXPECT_STREQ(edit->GetEditor()->GetClassNameW(), L"XEDIT");

  // Focus that comes back to the window while the editor is open keeps the same editor.
  HWND first = Editor();
  PostMessageW(wnd, WM_SETFOCUS, 0, 0);
  xtest::PumpFor(50);
  EXPECT_EQ(Editor(), first);
  EXPECT_EQ(GetFocus(), first);
}

TEST_F(EditField, TypedTextIsWrittenBackAndShownAfterTheEditorCloses) {
  EXPECT_EQ(InkOnScreen(), 0);
  edit->OnSetFocus();
  HWND editor = Editor();
  ASSERT_NE(editor, nullptr);
  Type(L"hello");
  EXPECT_EQ(edit->XUI_GetWindowText(), L"hello");  // on every change, not only at the end
  Type(L"\b");
  EXPECT_EQ(edit->XUI_GetWindowText(), L"hell");

  SetFocus(wnd);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(wnd, &update, FALSE));
  EXPECT_TRUE(CRect(update).PtInRect(POINT{30, 30}));
  EXPECT_FALSE(edit->GetEditor()->IsOpen());
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindow(editor); }, 2000));
  UpdateWindow(wnd);
  xtest::PumpFor(100);
  EXPECT_GT(InkOnScreen(), 10);
  EXPECT_EQ(edit->XUI_GetWindowText(), L"hell");

  // The next focus change opens a new editor with the kept text.
  edit->OnSetFocus();
  ASSERT_NE(Editor(), nullptr);
  EXPECT_NE(Editor(), editor);
  EXPECT_EQ(EditorText(), L"hell");
}

TEST_F(EditField, APasswordPaintsOneBulletPerCharacterAndItsEditorHidesTheText) {
  edit->SetPassword();
  edit->XUI_SetWindowText(L"abcde");
  EXPECT_EQ(edit->GetEditStyle(), 0x400000A0u);
  Canvas painted(300, 100), bullets(300, 100), plain(300, 100);
  edit->DoPaint(painted.Dc());
  const XFONT_ENTRY font = CXFontTable::Instance().Get(kFont);
  DrawSkinText(bullets.Dc(), CString(wchar_t(0x25CF), 5), edit->GetEditRect(), kInk, 0, 0, font.hFont);
  DrawSkinText(plain.Dc(), L"abcde", edit->GetEditRect(), kInk, 0, 0, font.hFont);
  int same = 0, sameAsPlain = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) {
      same += painted.At(x, y) == bullets.At(x, y);
      sameAsPlain += painted.At(x, y) == plain.At(x, y);
    }
  EXPECT_EQ(same, 300 * 100);
  EXPECT_LT(sameAsPlain, 300 * 100);
  EXPECT_GT(painted.Ink(RECT{0, 0, 300, 100}), 10);

  // Markup does not give the text away either.
  edit->XUI_SetWindowText(L"{#fontid=41}abc{/}");
  painted.Clear();
  bullets.Clear();
  edit->DoPaint(painted.Dc());
  DrawSkinText(bullets.Dc(), CString(wchar_t(0x25CF), 18), edit->GetEditRect(), kInk, 0, 0, font.hFont);
  EXPECT_EQ(painted.Ink(RECT{0, 0, 300, 100}), bullets.Ink(RECT{0, 0, 300, 100}));

  edit->XUI_SetWindowText(L"abcde");
  edit->OnSetFocus();
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(Editor(), GWL_STYLE)) & ES_PASSWORD, static_cast<DWORD>(ES_PASSWORD));
  EXPECT_EQ(SendMessageW(Editor(), EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
  EXPECT_EQ(EditorText(), L"abcde");
}

TEST_F(EditField, AReadOnlyFieldOpensAnEditorThatRefusesInput) {
  EXPECT_TRUE(edit->XUI_SetAttribute(L"ReadOnly", L"1"));
  EXPECT_EQ(edit->IsReadOnly(), 1);
  edit->XUI_SetWindowText(L"fixed");
  edit->OnSetFocus();
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(Editor(), GWL_STYLE)) & ES_READONLY, static_cast<DWORD>(ES_READONLY));
  Type(L"xy");
  SendMessageW(Editor(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(EditorText(), L"fixed");
  EXPECT_EQ(edit->XUI_GetWindowText(), L"fixed");
}

TEST_F(EditField, ADisabledFieldOpensNoEditor) {
  edit->XUI_SetEnable(FALSE);
  edit->OnSetFocus();
  EXPECT_EQ(edit->GetEditor(), nullptr);
  MESSAGE_EVENT e = uitest::Event(WM_LBUTTONDOWN, 130, 130, wnd);
  edit->XUI_SetFocus(TRUE);
  edit->MessageHandle(&e);
  EXPECT_EQ(edit->GetEditor(), nullptr);
}

TEST_F(EditField, KeysReachTheFieldsListenersAndStillMoveTheCaret) {
  uitest::RecordingCallback callback;
  edit->XUI_SetWindowText(L"hello");
  edit->OnSetFocus();
  ASSERT_NE(Editor(), nullptr);
  callback.events.clear();
  callback.senders.clear();
  SendMessageW(Editor(), WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(Editor(), WM_KEYUP, VK_HOME, 0);
  ASSERT_EQ(callback.events.size(), 2u);
  EXPECT_EQ(callback.senders[0], static_cast<IXUIObject*>(edit));
  EXPECT_EQ(callback.events[0].event.uMsg, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(callback.events[0].event.wParam, static_cast<WPARAM>(VK_HOME));
  EXPECT_EQ(callback.events[1].event.uMsg, static_cast<UINT>(WM_KEYUP));
  DWORD start = 1, end = 1;
  SendMessageW(Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

TEST_F(EditField, ARichCaptionIsDrawnInsideTheMargins) {
  EXPECT_EQ(edit->GetEditMargin(), CRect(2, 3, 2, 5));
  edit->SetEditMargin(CRect(10, 2, 10, 2));
  EXPECT_EQ(edit->GetEditRect(), CRect(30, 22, 210, 42));
  // A caption with markup is drawn in the inner rectangle, flags 0.
  edit->XUI_SetWindowText(L"ab{#fontid=41}cd{/}");
  ASSERT_NE(edit->GetRichText(), nullptr);
  Canvas c(300, 100);
  edit->DoPaint(c.Dc());
  EXPECT_GE(c.FirstInkColumn(), 30);
  EXPECT_LT(c.FirstInkColumn(), 34);
  EXPECT_EQ(c.Ink(RECT{0, 0, 300, 22}), 0);
}

TEST_F(EditField, DestroyingAFieldWhileItEditsClosesItsEditor) {
  CXEdit* loose = new CXEdit();
  loose->XUI_SetRect(CRect(20, 100, 220, 124));
  loose->XUI_GetControlMgr()->SetWnd(wnd);
  loose->OnSetFocus();
  ASSERT_NE(loose->GetEditor(), nullptr);
  HWND editor = loose->GetEditor()->GetHWND();
  ASSERT_TRUE(IsWindow(editor));
  XDestroyUIObject(loose);
  EXPECT_FALSE(IsWindow(editor));
  xtest::PumpFor(20);
}

TEST_F(EditField, IsMadeByTheClassTableAndFromTemplates) {
  IXUIObject* made = CXUIClassTable::Create(L"Edit");
  ASSERT_NE(dynamic_cast<CXEdit*>(made), nullptr);
  EXPECT_STREQ(made->XUI_GetClassName(), L"XEDIT");
  XDestroyUIObject(made);

  ASSERT_EQ(CXSkinPackage::Instance().Load(uitest::TestSkin(L"richtext").c_str()), 1);
  CXSkinRegistry::Instance().Clear();
  CXAppTemplate start;
  ASSERT_EQ(start.ReadFromPackage(L"oninit.x"), 1);
  IXUIObject* field = CXSkinTemplate::Build(L"notamenu");
  auto* built = dynamic_cast<CXEdit*>(field);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->IsReadOnly(), 1);
  EXPECT_EQ(built->GetFontID(0), 31);
  EXPECT_EQ(built->XUI_GetRect(), CRect(10, 10, 210, 34));
  ASSERT_NE(built->GetRichText(), nullptr);
  EXPECT_EQ(built->GetRichText()->GetSegmentCount(), 2);
  EXPECT_EQ(built->GetRichText()->GetSegment(0)->fontIds[0], 31);
  XDestroyUIObject(field);
}

// The hotkey field: the system's control made over it when its window is created, in its
// rectangle, showing the combination set before; the last combination stays readable after
// the window (and with it the control) has gone.
TEST(HotKeyField, TheControlIsMadeWithTheWindowAndItsChoiceOutlivesIt) {
  CXEasyWnd* host = new CXEasyWnd();
  CXHotKey* field = new CXHotKey();
  field->SetID(L"hotkey");
  field->XUI_SetRect(CRect(20, 60, 220, 86));
  host->XUI_AddChild(field);
  field->XUI_SetParent(host);
  field->SetHotKey(MAKEWORD(VK_F9, HOTKEYF_CONTROL));
  const RECT r = {100, 100, 400, 300};
  HWND wnd = host->Create(nullptr, &r, L"HotKeyHost", 0, 0, nullptr);
  ASSERT_NE(wnd, nullptr);
  HWND control = field->GetControlWnd();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetParent(control), wnd);
  wchar_t cls[64] = {0};
  GetClassNameW(control, cls, 64);
  EXPECT_STREQ(cls, L"msctls_hotkey32");
  RECT placed = {};
  GetWindowRect(control, &placed);
  MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(CRect(placed), CRect(20, 60, 220, 86));
  EXPECT_EQ(SendMessageW(control, HKM_GETHOTKEY, 0, 0), MAKEWORD(VK_F9, HOTKEYF_CONTROL));

  SendMessageW(control, HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);  // the user's choice
  DestroyWindow(wnd);
  EXPECT_EQ(field->GetControlWnd(), nullptr);
  EXPECT_EQ(field->GetHotKey(), MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
  XDestroyUIObject(host);
}

}  // namespace
