// Building UI templates from a packed skin: objects from the class-name table, property
// text, "relayout", "Image" attributes in their order, "event" on the root and below it,
// includes, and templates whose structure would lead the builder astray.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "ModelTestUtil.h"
#include "UiTestUtil.h"
#include "XAppTemplate.h"
#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XSkinStrings.h"
#include "XSkinTemplate.h"
#include "XUIClassTable.h"
#include "XUIMgr.h"
#include "XWindow.h"

using uitest::ProbeUI;

namespace {

// Records the attributes offered to it, in order.
class ImageProbe : public ProbeUI {
 public:
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override {
    offered.emplace_back(name, value);
    return CXBaseUI::XUI_SetAttribute(name, value);
  }
  std::vector<std::pair<std::wstring, std::wstring>> offered;
};

class TestWindow : public uitest::WindowProbe {};

// An object whose child list cannot be made: the allocation fails as it would when memory
// runs out.
class StarvedUI : public ProbeUI {
 public:
  ~StarvedUI() override { ++destroyed; }
  CControlMgr* XUI_GetControlMgr() override { throw std::bad_alloc(); }
  static int destroyed;
};
int StarvedUI::destroyed = 0;

ProbeUI* Child(IXUIObject* parent, int index) {
  return dynamic_cast<ProbeUI*>(parent->XUI_GetControlMgr()->GetObjectAt(index));
}

class Templates : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(CXSkinPackage::Instance().Load(uitest::TestSkin(L"model").c_str()), 1);
    CXSkinRegistry::Instance().Clear();
    CXAppTemplate start;
    ASSERT_EQ(start.ReadFromPackage(L"oninit.x"), 1);
  }
  void SetUp() override {
    m_savedImage = CXUIClassTable::Find(L"image");
    CXUIClassTable::Register(L"testview", &XCreateUIObjectOf<ProbeUI>);
    CXUIClassTable::Register(L"testwnd", &XCreateUIObjectOf<TestWindow>);
    CXUIClassTable::Register(L"image", &XCreateUIObjectOf<ImageProbe>);
  }
  void TearDown() override {
    CXUIClassTable::Unregister(L"testview");
    CXUIClassTable::Unregister(L"testwnd");
    CXUIClassTable::Unregister(L"image");
    if (m_savedImage) CXUIClassTable::Register(L"image", m_savedImage);
  }
  static IXUIObject* BuildText(const std::string& xml) { return uitest::BuildTemplate(xml); }

 private:
  PFN_XCreateUIObject m_savedImage = nullptr;
};

TEST_F(Templates, BuildsTheTreeWithItsPropertiesEventsAndIncludes) {
  EXPECT_EQ(CXSkinTemplate::Build(L"no such template"), nullptr);
  IXUIObject* root = CXSkinTemplate::Build(L"MAIN");
  ASSERT_NE(root, nullptr);
  CXSkinTemplate::ResolveIncludes(root);
  auto* main = dynamic_cast<TestWindow*>(root);
  ASSERT_NE(main, nullptr);
  EXPECT_STREQ(main->XUI_GetID(), L"Main");
  EXPECT_EQ(main->XUI_GetParent(), nullptr);
  EXPECT_EQ(main->XUI_GetRect(), CRect(10, 20, 310, 220));
  // Text that the parser delivers in pieces is kept whole.
  EXPECT_EQ(main->XUI_GetWindowText(), L"Tom&Jerry");
  // Text inside a View whose class makes nothing belongs to the enclosing object.
  EXPECT_EQ(main->GetTooltip(), L"Main's tip");
  // An event on the root is bound with the ID ""; one without a function is not bound.
  ASSERT_NE(main->FindEvent(L"WM_CREATE"), nullptr);
  EXPECT_STREQ(main->FindEvent(L"WM_CREATE")->szID, L"");
  EXPECT_STREQ(main->FindEvent(L"WM_CREATE")->szFunc, "OnMainCreate");
  EXPECT_EQ(main->FindEvent(L"WM_CLOSE"), nullptr);

  CControlMgr* kids = main->XUI_GetControlMgr();
  ASSERT_EQ(kids->GetCount(), 6);
  ProbeUI* child1 = Child(main, 0);
  ASSERT_NE(child1, nullptr);
  EXPECT_STREQ(child1->XUI_GetID(), L"child1");
  EXPECT_EQ(child1->XUI_GetParent(), root);
  EXPECT_EQ(child1->XUI_GetRect(), CRect(5, 6, 75, 86));
  CXRelayOut* rule = child1->GetRelayoutPtr();
  EXPECT_EQ(rule->IsEnable(), 1);
  EXPECT_EQ(rule->GetAlignment(), 0x00080004u);
  EXPECT_EQ(rule->GetMargin(), CRect(1, 2, 3, 4));
  EXPECT_EQ(child1->GetTooltip(), L"Tip text");
  EXPECT_EQ(child1->GetFontID(1), 4);
  EXPECT_FALSE(child1->XUI_IsVisible());
  ASSERT_NE(child1->FindEvent(L"WM_LBUTTONCLICK"), nullptr);
  EXPECT_STREQ(child1->FindEvent(L"WM_LBUTTONCLICK")->szID, L"child1");

  // Objects inside an unknown class attach to the enclosing object.
  EXPECT_STREQ(Child(main, 1)->XUI_GetID(), L"insideghost");
  EXPECT_EQ(Child(main, 1)->XUI_GetParent(), root);

  ProbeUI* child2 = Child(main, 2);
  EXPECT_STREQ(child2->XUI_GetID(), L"child2");
  EXPECT_EQ(child2->XUI_GetRect(), CRect());  // three numbers are no rectangle
  EXPECT_FALSE(child2->XUI_IsEnable());
  EXPECT_EQ(child2->XUI_GetCheck(), 1);
  EXPECT_EQ(child2->XUI_GetWindowText(), L"multi-piece <text>");

  // The include was replaced in place; the include inside the included template stays.
  ProbeUI* part = Child(main, 3);
  ASSERT_NE(part, nullptr);
  EXPECT_STREQ(part->XUI_GetID(), L"partroot");
  EXPECT_EQ(part->XUI_GetParent(), root);
  EXPECT_EQ(part->XUI_GetRect(), CRect(1, 1, 11, 11));
  ASSERT_EQ(part->XUI_GetControlMgr()->GetCount(), 1);
  EXPECT_STREQ(part->XUI_GetControlMgr()->GetObjectAt(0)->XUI_GetClassName(), L"XTEMPUI");
  // Unknown and unbuildable templates leave their placeholders.
  EXPECT_STREQ(kids->GetObjectAt(4)->XUI_GetClassName(), L"XTEMPUI");
  EXPECT_STREQ(kids->GetObjectAt(4)->XUI_GetID(), L"notemplate");
  EXPECT_EQ(kids->GetObjectAt(4)->XUI_GetParent(), root);
  EXPECT_STREQ(kids->GetObjectAt(5)->XUI_GetClassName(), L"XTEMPUI");
  XDestroyUIObject(root);
}

TEST_F(Templates, TheManagerBuildsResolvesAndRecordsTemplates) {
  CXUIMgr& mgr = CXUIMgr::GetInstance();
  EXPECT_EQ(mgr.CreateUIObjectWithTemplate(L"nosuch"), nullptr);
  IXUIObject* first = mgr.CreateUIObjectWithTemplate(L"Main");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(CXSkinRegistry::Instance().GetCreated(L"MAIN"), first);
  EXPECT_STREQ(first->XUI_GetControlMgr()->GetObjectAt(3)->XUI_GetID(), L"partroot");  // includes resolved
  // A second build replaces the table's entry; the first tree stays its owner's.
  IXUIObject* second = mgr.CreateUIObjectWithTemplate(L"main");
  EXPECT_NE(second, first);
  EXPECT_EQ(CXSkinRegistry::Instance().GetCreated(L"main"), second);
  CXSkinRegistry::Instance().ForgetCreated(second);
  EXPECT_EQ(CXSkinRegistry::Instance().GetCreated(L"main"), nullptr);
  XDestroyUIObject(first);
  XDestroyUIObject(second);

  // Only dialogs run modally.
  EXPECT_EQ(mgr.DialogDoModal(nullptr, nullptr), 0);
  CXWindow notADialog;
  EXPECT_EQ(mgr.DialogDoModal(&notADialog, nullptr), 0);
  // Before the script engine exists nothing is registered (and nothing breaks).
  mgr.RegLuaFunction("Anything", nullptr);
}

TEST_F(Templates, AnAllocationFailureWhileBuildingStaysInsideTheLibrary) {
  CXUIClassTable::Register(L"nomemory", &XCreateUIObjectOf<StarvedUI>);
  StarvedUI::destroyed = 0;
  IXUIObject* root = reinterpret_cast<IXUIObject*>(1);
  EXPECT_NO_THROW(root = CXUIMgr::GetInstance().CreateUIObjectWithTemplate(L"oom"));
  CXUIClassTable::Unregister(L"nomemory");
  // Nothing half-built is handed out or recorded, and the tree built so far is gone.
  EXPECT_EQ(root, nullptr);
  EXPECT_EQ(CXSkinRegistry::Instance().GetCreated(L"oom"), nullptr);
  EXPECT_EQ(StarvedUI::destroyed, 1);
}

TEST_F(Templates, ImageAttributesCountOnlyAfterTheClass) {
  IXUIObject* root = CXSkinTemplate::Build(L"main");
  ASSERT_NE(root, nullptr);
  ProbeUI* child1 = Child(root, 0);
  ASSERT_EQ(child1->XUI_GetControlMgr()->GetCount(), 3);  // the Image without "class" made nothing

  auto* lost = dynamic_cast<ImageProbe*>(Child(child1, 0));
  ASSERT_NE(lost, nullptr);
  EXPECT_STREQ(lost->XUI_GetID(), L"");  // "id" came before "class"
  EXPECT_FALSE(lost->XUI_IsVisible());   // class "Check"
  EXPECT_TRUE(lost->XUI_IsEnable());
  ASSERT_EQ(lost->offered.size(), 4u);
  EXPECT_EQ(lost->offered[0], std::make_pair(std::wstring(L"value"), std::wstring(L"a.png")));
  EXPECT_EQ(lost->offered[1], std::make_pair(std::wstring(L"block"), std::wstring(L"3")));
  EXPECT_EQ(lost->offered[2], std::make_pair(std::wstring(L"drawtype"), std::wstring(L"tile")));
  EXPECT_EQ(lost->offered[3], std::make_pair(std::wstring(L"alpha"), std::wstring(L"128")));
  EXPECT_EQ(lost->GetRelayoutPtr()->GetMargin(), CRect(1, 1, 1, 1));
  EXPECT_EQ(lost->GetRelayoutPtr()->GetAlignment(), 0x00040004u);
  EXPECT_EQ(lost->GetRelayoutPtr()->IsEnable(), 1);
  EXPECT_EQ(lost->XUI_GetParent(), child1);
  EXPECT_EQ(lost->XUI_GetRect(), child1->XUI_GetClientRect());  // its parent's client rectangle

  ProbeUI* res = Child(child1, 1);
  EXPECT_STREQ(res->XUI_GetID(), L"res");
  EXPECT_FALSE(res->XUI_IsVisible());
  EXPECT_FALSE(res->XUI_IsEnable());
  ProbeUI* plain = Child(child1, 2);
  EXPECT_TRUE(plain->XUI_IsVisible());
  EXPECT_EQ(plain->GetRelayoutPtr()->GetMargin(), CRect());  // three numbers: no margin
  EXPECT_EQ(plain->GetRelayoutPtr()->IsEnable(), 1);
  XDestroyUIObject(root);
}

TEST_F(Templates, MalformedTemplatesKeepWhatCameBefore) {
  IXUIObject* root = CXSkinTemplate::Build(L"broken");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->XUI_GetID(), L"broken");
  ASSERT_EQ(root->XUI_GetControlMgr()->GetCount(), 1);
  EXPECT_STREQ(root->XUI_GetControlMgr()->GetObjectAt(0)->XUI_GetID(), L"before");
  XDestroyUIObject(root);
  // A template listed in the start file whose entry is missing builds nothing.
  EXPECT_EQ(CXSkinTemplate::Build(L"missingfile"), nullptr);
}

TEST_F(Templates, ElementsBeforeTheFirstObjectAndStrayEndTagsAreHarmless) {
  IXUIObject* root = BuildText(
      "<t><event name='WM_CREATE' func='f'/><relayout rect='1,2,3,4'/><Image class='x'/>"
      "<rect>1,2,3,4</rect>"
      "<View class='nosuch'><View class='testview' id='r'><View class='testview' id='c'/></View></View>"
      "<View class='nosuch'/><View class='testview' id='second'><View class='testview' id='inner'/></View>"
      "<text>after</text></t>");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->XUI_GetID(), L"r");
  EXPECT_EQ(root->XUI_GetParent(), nullptr);
  // A second tree after the root has closed is not built; text after it has no object.
  ASSERT_EQ(root->XUI_GetControlMgr()->GetCount(), 1);
  EXPECT_STREQ(root->XUI_GetControlMgr()->GetObjectAt(0)->XUI_GetID(), L"c");
  EXPECT_EQ(root->XUI_GetWindowText(), L"");
  XDestroyUIObject(root);

  // An unknown View closing around the root keeps the insertion point on the root.
  root = BuildText("<View class='testview' id='r'><View class='nosuch'></View><View class='testview' id='k'/></View>");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->XUI_GetControlMgr()->GetCount(), 1);
  EXPECT_STREQ(root->XUI_GetControlMgr()->GetObjectAt(0)->XUI_GetID(), L"k");
  XDestroyUIObject(root);

  EXPECT_EQ(BuildText("<View class='nosuch'><rect>1,2,3,4</rect></View>"), nullptr);
}

TEST_F(Templates, PropertyTextKeepsItsInnerBlanksAndLineBreaks) {
  // The parser delivers such texts in pieces, split at entities and line breaks; the blanks
  // and line breaks between the pieces belong to the text. Indentation before the text and
  // before the closing tag does not.
  IXUIObject* root = BuildText(
      "<View class='testview' id='r'><text>Save &amp; close</text>"
      "<View class='testview' id='lines'><text>\n    first line\n  second line\n  </text></View>"
      "<View class='testview' id='plain'>\n  <text>\n    Tip  </text>\n  <tooltip>a &lt; b</tooltip>\n</View>"
      "</View>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->XUI_GetWindowText(), L"Save & close");
  CControlMgr* kids = root->XUI_GetControlMgr();
  ASSERT_EQ(kids->GetCount(), 2);
  EXPECT_EQ(kids->GetObjectAt(0)->XUI_GetWindowText(), L"first line\n  second line");
  auto* plain = dynamic_cast<ProbeUI*>(kids->GetObjectAt(1));
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->XUI_GetWindowText(), L"Tip  ");
  EXPECT_EQ(plain->GetTooltip(), L"a < b");
  XDestroyUIObject(root);
}

TEST_F(Templates, PropertiesWrittenAtANameTakeTheTextOfTheSkinsTable) {
  auto table = [](const std::string& xml) {
    XBuffer<unsigned char> bytes;
    if (bytes.Resize(static_cast<int>(xml.size()))) memcpy(bytes.GetData(), xml.data(), xml.size());
    return CXSkinStrings::Instance().ReadFromBuffer(bytes);
  };
  CXSkinStrings& strings = CXSkinStrings::Instance();
  strings.Clear();
  ASSERT_EQ(table("<?xml version='1.0' encoding='utf-8'?><strings>"
                  "<string id='ok'>OK</string><string id='Save'>\n  Save &amp; close\n</string>"
                  "<string id='tip'>English tip</string><other id='x'>no</other></strings>"),
            1);
  // A language's table read over it replaces only what it holds.
  ASSERT_EQ(table("<strings><string id='TIP'>\xe6\x8f\x90\xe7\xa4\xba</string></strings>"), 1);
  EXPECT_EQ(strings.GetCount(), 3);
  ASSERT_NE(strings.Find(L"save"), nullptr);
  EXPECT_EQ(*strings.Find(L"save"), CString(L"Save & close"));
  EXPECT_EQ(strings.Resolve(L"@tip"), CString(L"\u63d0\u793a"));
  EXPECT_EQ(strings.Resolve(L"@missing"), CString(L"@missing"));  // no such text: as written
  EXPECT_EQ(strings.Resolve(L"@"), CString(L"@"));
  EXPECT_EQ(strings.Resolve(L"ok"), CString(L"ok"));

  IXUIObject* root = BuildText(
      "<View class='testview' id='r'><text>@save</text><tooltip>@tip</tooltip>"
      "<View class='testview' id='c'><text>@nosuch</text></View></View>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->XUI_GetWindowText(), L"Save & close");
  auto* probe = dynamic_cast<ProbeUI*>(root);
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->GetTooltip(), L"\u63d0\u793a");
  EXPECT_EQ(root->XUI_GetControlMgr()->GetObjectAt(0)->XUI_GetWindowText(), L"@nosuch");
  XDestroyUIObject(root);
  strings.Clear();
}

}  // namespace
