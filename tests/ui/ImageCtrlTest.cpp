// The image control through the real Wendora.dll and Tessaly.dll: where each draw type puts
// the picture, draw type names, picture classes by extension, loading from the skin package,
// the share table by path, and what a template's "Image" element sets.
#include <gtest/gtest.h>

#include <memory>

#include "ButtonTestUtil.h"
#include "Canvas.h"
#include "ModelTestUtil.h"
#include "TessalyCtrl.h"
#include "XRelayOut.h"

using namespace uitest;
using xtest::Canvas;

namespace {

const CRect kControl(10, 10, 110, 60);  // 100 x 50

// An image control showing a test picture at kControl.
std::unique_ptr<CTessalyCtrl> Image(const wchar_t* path, const CRect& rect = kControl) {
  auto image = std::make_unique<CTessalyCtrl>();
  image->SetImage(path);
  image->XUI_SetRect(rect);
  return image;
}

// Class ids are compared by value: every module has its own copy of the constants.
bool IsClass(const GUID* id, const GUID& expected) { return id && XIsEqualId(*id, expected); }

}  // namespace

TEST(ImagePlacement, NormalAlignsTheDrawnPartInsideTheControl) {
  // A 40 x 20 picture in a 100 x 50 control.
  XIMAGE_DRAW d = XImageDrawRects(kControl, 40, 20, 0, 0, DRAW_NORMAL, XALIGN_DEFAULT);
  EXPECT_EQ(d.dest.TopLeft(), CPoint(10, 10));
  EXPECT_EQ(d.source, CRect(0, 0, 40, 20));
  EXPECT_EQ(XImageDrawRects(kControl, 40, 20, 0, 0, DRAW_NORMAL, 0x00040001).dest.left, 70);  // right: x + 60
  EXPECT_EQ(XImageDrawRects(kControl, 40, 20, 0, 0, DRAW_NORMAL, 0x00020001).dest.left, 40);  // centre
  EXPECT_EQ(XImageDrawRects(kControl, 40, 20, 0, 0, DRAW_NORMAL, 0x00010004).dest.top, 40);   // bottom
  // Vertical centre has no offset; the drawing is never wider than the control.
  d = XImageDrawRects(kControl, 40, 20, 0, 0, DRAW_NORMAL, 0x00040002);
  EXPECT_EQ(d.dest, CRect(70, 10, 110, 60));
  // A picture wider than the control is cut on the left too: the source moves instead.
  d = XImageDrawRects(kControl, 140, 20, 0, 0, DRAW_NORMAL, 0x00040001);
  EXPECT_EQ(d.dest.left, 10);
  EXPECT_EQ(d.source, CRect(40, 0, 140, 20));
}

TEST(ImagePlacement, BlocksChooseTheSourceAndStretchesTakeTheirDestinations) {
  // Three 10-pixel blocks: block 1 at natural size, right aligned by its own width.
  XIMAGE_DRAW d = XImageDrawRects(kControl, 30, 10, 3, 1, DRAW_NORMAL, 0x00040001);
  EXPECT_EQ(d.source, CRect(10, 0, 20, 10));
  EXPECT_EQ(d.dest.left, 100);
  // Blocks outside the strip leave nothing to draw.
  EXPECT_GE(XImageDrawRects(kControl, 30, 10, 3, 3, DRAW_NORMAL, XALIGN_DEFAULT).source.left, 30);
  EXPECT_GE(XImageDrawRects(kControl, 30, 10, 3, -1, DRAW_NORMAL, XALIGN_DEFAULT).source.left, 30);
  // A block count under 2 is the whole picture, whatever the index (a hovered button sets
  // index 1 on its icon too).
  EXPECT_EQ(XImageDrawRects(kControl, 30, 10, 1, 0, DRAW_9STRETCH, XALIGN_DEFAULT).source, CRect(0, 0, 30, 10));
  EXPECT_EQ(XImageDrawRects(kControl, 30, 10, 0, 2, DRAW_NORMAL, XALIGN_DEFAULT).source, CRect(0, 0, 30, 10));

  EXPECT_EQ(XImageDrawRects(kControl, 30, 10, 3, 2, DRAW_3VSTRETCH, 0).dest, CRect(10, 10, 20, 60));
  EXPECT_EQ(XImageDrawRects(kControl, 30, 10, 3, 2, DRAW_3VSTRETCH, 0).source, CRect(20, 0, 30, 10));
  EXPECT_EQ(XImageDrawRects(kControl, 30, 10, 0, 0, DRAW_3HSTRETCH, 0).dest, CRect(10, 10, 110, 20));
  for (int type : {DRAW_9STRETCH, DRAW_TILE, DRAW_8STRETCH})
    EXPECT_EQ(XImageDrawRects(kControl, 30, 10, 0, 0, type, 0x00040004).dest, kControl) << type;
}

TEST(ImageNames, DrawTypesByNameAndPictureClassesByExtension) {
  const wchar_t* names[] = {L"normal", L"3vstretch", L"3HSTRETCH", L"9stretch", L"Tile", L"8stretch"};
  for (int i = 0; i < 6; ++i) {
    DRAW_TYPE type = DRAW_TILE;
    EXPECT_TRUE(XParseDrawType(names[i], type)) << i;
    EXPECT_EQ(type, i);
  }
  CTessalyCtrl image;
  image.SetDrawType(L"tile");
  image.SetDrawType(L"10stretch");
  EXPECT_EQ(image.GetDrawType(), DRAW_TILE);
  EXPECT_EQ(image.XUI_SetAttribute(L"drawtype", L""), 1);
  EXPECT_EQ(image.GetDrawType(), DRAW_TILE);

  EXPECT_TRUE(IsClass(XImageClassOfPath(L"a\\b.png"), CLSID_TessalyPng)) << xtest::Narrow(L"a\\b.png");
  EXPECT_TRUE(IsClass(XImageClassOfPath(L"b.jpg"), CLSID_TessalyJpeg)) << xtest::Narrow(L"b.jpg");
  EXPECT_TRUE(IsClass(XImageClassOfPath(L"b.JPEG"), CLSID_TessalyJpeg)) << xtest::Narrow(L"b.JPEG");
  EXPECT_TRUE(IsClass(XImageClassOfPath(L"b.gif"), CLSID_TessalyGifBmp)) << xtest::Narrow(L"b.gif");
  EXPECT_TRUE(IsClass(XImageClassOfPath(L"b.Bmp"), CLSID_TessalyGifBmp)) << xtest::Narrow(L"b.Bmp");
  EXPECT_EQ(XImageClassOfPath(L"b.txt"), nullptr);
  EXPECT_EQ(XImageClassOfPath(L"b.png.old"), nullptr);
  EXPECT_EQ(XImageClassOfPath(L"pictures.png\\readme"), nullptr);
}

class ImageCtrl : public ::testing::Test {
 protected:
  void SetUp() override { LoadTestSkin(); }
};

TEST_F(ImageCtrl, LoadsEveryPictureKindAndLeavesOthersEmpty) {
  for (const wchar_t* path : {L"t\\red40.png", L"t\\red.bmp", L"t\\red.gif", L"t\\red.jpg"}) {
    auto image = Image(path);
    ASSERT_NE(image->GetImage(), nullptr) << xtest::Narrow(path);
    EXPECT_EQ(image->GetImage()->HasBitmap(), 1);
    EXPECT_EQ(image->GetImagePath(), CString(path));
  }
  const int shared = CTessalyCtrl::GetSharedImageCount();
  for (const wchar_t* path : {L"t\\red.txt", L"t\\broken.png", L"t\\missing.png", L""}) {
    auto image = Image(path);
    EXPECT_EQ(image->GetImage(), nullptr) << xtest::Narrow(path);
    Canvas c(120, 70);
    image->DoPaint(c.Dc());
    EXPECT_EQ(c.CountNot(kWhite, {0, 0, 120, 70}), 0);
  }
  // Failed loads are not remembered.
  EXPECT_EQ(CTessalyCtrl::GetSharedImageCount(), shared);
  EXPECT_EQ(CTessalyCtrl::FindSharedImage(L"t\\broken.png"), nullptr);
}

TEST_F(ImageCtrl, ControlsOfOnePathShareOnePictureThatOutlivesEitherOfThem) {
  ASSERT_EQ(CTessalyCtrl::FindSharedImage(L"t\\red40.png"), nullptr);
  CTessalyCtrl* first = Image(L"t\\red40.png").release();
  auto second = Image(L"t\\red40.png", CRect(0, 0, 40, 20));
  ASSERT_NE(first->GetImage(), nullptr);
  EXPECT_EQ(second->GetImage(), first->GetImage());
  EXPECT_EQ(CTessalyCtrl::FindSharedImage(L"t\\red40.png"), first->GetImage());
  // Paths are compared exactly: another spelling is another picture.
  auto other = Image(L"t\\Red40.PNG");
  EXPECT_NE(other->GetImage(), first->GetImage());
  // Setting the same path again keeps the decoded picture.
  ITessaly* picture = first->GetImage();
  first->SetImage(L"t\\red40.png");
  EXPECT_EQ(first->GetImage(), picture);

  XDestroyUIObject(first);
  Canvas c(50, 30);
  second->DoPaint(c.Dc());
  EXPECT_EQ(c.At(0, 0), kRed);
  EXPECT_EQ(c.At(39, 19), kRed);
  EXPECT_EQ(c.At(40, 19), kWhite);
  EXPECT_EQ(CTessalyCtrl::FindSharedImage(L"t\\red40.png"), picture);

  // Another holder keeps it past the last control; the path is forgotten with the last hold.
  CTessalyCtrl::HoldImage(picture);
  second.reset();
  EXPECT_EQ(CTessalyCtrl::FindSharedImage(L"t\\red40.png"), picture);
  CTessalyCtrl::ReleaseImage(picture);
  EXPECT_EQ(CTessalyCtrl::FindSharedImage(L"t\\red40.png"), nullptr);
  // A new control decodes it afresh.
  auto again = Image(L"t\\red40.png");
  EXPECT_NE(again->GetImage(), nullptr);
}

TEST_F(ImageCtrl, NormalRightAlignedDrawsAtSixtyInAHundredPixelControl) {
  auto image = Image(L"t\\red40.png");
  image->GetRelayoutPtr()->SetAlignment(L"TR");
  Canvas c(120, 70);
  image->DoPaint(c.Dc());
  EXPECT_EQ(c.At(69, 10), kWhite);
  EXPECT_EQ(c.At(70, 10), kRed);
  EXPECT_EQ(c.At(109, 29), kRed);
  EXPECT_EQ(c.At(70, 30), kWhite);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 120, 70}), 40 * 20);
  // Bottom centre.
  Canvas bc(120, 70);
  image->GetRelayoutPtr()->SetAlignment(L"BC");
  image->DoPaint(bc.Dc());
  EXPECT_EQ(bc.At(40, 40), kRed);
  EXPECT_EQ(bc.At(39, 40), kWhite);
  EXPECT_EQ(bc.At(40, 39), kWhite);
}

TEST_F(ImageCtrl, BlocksIndexAlphaAndStretchesPaint) {
  auto image = Image(L"t\\blocks3.png");
  image->SetImageBlock(3);
  image->SetImageIndex(1);
  Canvas c(120, 70);
  image->DoPaint(c.Dc());
  EXPECT_EQ(c.At(10, 10), kGreen);
  EXPECT_EQ(c.At(19, 19), kGreen);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 120, 70}), 100);
  image->SetImageIndex(3);  // past the strip: nothing
  Canvas none(120, 70);
  image->DoPaint(none.Dc());
  EXPECT_EQ(none.CountNot(kWhite, {0, 0, 120, 70}), 0);

  // Half transparent over white.
  auto faded = Image(L"t\\red40.png");
  faded->SetTransparentAlpha(128);
  Canvas half(120, 70);
  faded->DoPaint(half.Dc());
  EXPECT_TRUE(xtest::Near(half.At(20, 20), 0xFF7F7F, 2)) << std::hex << half.At(20, 20);

  // Nine-part stretch over the whole control: corners at natural size, centre stretched.
  auto nine = Image(L"t\\nine.png", CRect(5, 5, 45, 45));
  nine->SetDrawType(L"9stretch");
  Canvas n(50, 50);
  nine->DoPaint(n.Dc());
  EXPECT_EQ(n.At(5, 5), xtest::Cell(0, 0));
  EXPECT_EQ(n.At(44, 44), xtest::Cell(2, 2));
  EXPECT_EQ(n.At(44, 5), xtest::Cell(2, 0));
  EXPECT_EQ(n.At(25, 25), xtest::Cell(1, 1));
  EXPECT_EQ(n.At(4, 4), kWhite);
  EXPECT_EQ(n.At(45, 45), kWhite);
}

TEST_F(ImageCtrl, StyleTemplateAttributesAndSetImageEx) {
  CTessalyCtrl plain;
  EXPECT_EQ(plain.XUI_GetStyle(), 0x5u);
  EXPECT_STREQ(plain.XUI_GetClassName(), L"TESSALY");

  IXUIObject* root = BuildTemplate(
      "<View class=\"button\" id=\"b\"><rect>10,20,100,40</rect>"
      "<Image class=\"res\" id=\"pic\" value=\"t\\blocks3.png\" block=\"3\" drawtype=\"9stretch\" alpha=\"77\" "
      "alignment=\"BR\" margin=\"1,2,3,4\"/>"
      "<Image class=\"Check\" id=\"check\" drawtype=\"nonsense\"/></View>");
  ASSERT_NE(root, nullptr);
  auto* pic = dynamic_cast<CTessalyCtrl*>(root->XUI_GetChild(L"pic"));
  ASSERT_NE(pic, nullptr);
  EXPECT_NE(pic->GetImage(), nullptr);
  EXPECT_EQ(pic->GetImagePath(), CString(L"t\\blocks3.png"));
  EXPECT_EQ(pic->GetImageBlock(), 3);
  EXPECT_EQ(pic->GetDrawType(), DRAW_9STRETCH);
  EXPECT_EQ(pic->GetTransparentAlpha(), 77);
  EXPECT_EQ(pic->GetRelayoutPtr()->GetAlignment(), 0x00040004u);
  EXPECT_EQ(pic->GetRelayoutPtr()->IsEnable(), 1);
  EXPECT_EQ(pic->XUI_GetRect(), CRect(10, 20, 110, 60));
  // Hidden and disabled, and still background: the style bits combine, never add up.
  EXPECT_EQ(pic->XUI_GetStyle(), 0x7u);
  auto* check = dynamic_cast<CTessalyCtrl*>(root->XUI_GetChild(L"check"));
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check->GetDrawType(), DRAW_NORMAL);
  EXPECT_EQ(check->XUI_GetStyle(), 0x7u);
  XDestroyUIObject(root);

  CTessalyCtrl ex;
  ex.SetImageEx(L"t\\red40.png", CRect(1, 2, 3, 4), DRAW_TILE);
  EXPECT_NE(ex.GetImage(), nullptr);
  EXPECT_EQ(ex.XUI_GetRect(), CRect(1, 2, 3, 4));
  EXPECT_EQ(ex.GetDrawType(), DRAW_TILE);
}
