// List painting figures: lists of 100 and 10,000 rows (32-pixel icon and a path each),
// scrolled to their middle, painted a few hundred times into a 300 x 400 memory device
// context. Painting should cost what the visible rows cost, so the ratio stays near 1.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchTimer.h"
#include "Canvas.h"
#include "XDraw.h"
#include "XList.h"
#include "XScrollbar.h"

using xbench::Now;

namespace {

const int kWidth = 300;
const int kHeight = 400;
const int kFrames = 300;
const int kHitTests = 200000;

// A filled list of 300 x 400 pixels with its scrollbar, scrolled to its middle, with an
// image list of its own (one icon per row, as the program fills it).
class BenchList {
 public:
  BenchList(int rows, HICON icon) : m_images(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 100, 100)) {
    m_list.XUI_SetRect(CRect(0, 0, kWidth, kHeight));
    m_list.SetListStyle(CXList::LIST_HITTEST | CXList::LIST_SEPARATOR | CXList::LIST_BORDER | CXList::LIST_SELECT);
    m_list.SetItemHeight(36);
    m_list.SetColor(RGB(255, 255, 255), RGB(220, 235, 250), RGB(190, 215, 245));
    m_list.SetBackColor(RGB(250, 250, 250));
    m_list.SetBackAlpha(220);
    m_list.SetImageList(m_images);
    m_list.InsertColumn(kWidth, L"path");
    auto* bar = new CXScrollbar();
    bar->SetID(L"list.scrollbar");
    bar->XUI_SetRect(CRect(kWidth - 10, 0, kWidth, kHeight));
    bar->XUI_SetParent(&m_list);
    m_list.XUI_AddChild(bar);

    const double t0 = Now();
    for (int i = 0; i < rows; ++i) {
      wchar_t path[MAX_PATH];
      swprintf(path, MAX_PATH, L"C:\\Users\\someone\\Documents\\Projects\\folder %05d\\a file with a long name.txt", i);
      const int row = m_list.InsertItem(path);
      m_list.SetItem(row, 0, path, icon);
      m_list.SetItemData(row, static_cast<DWORD>(i + 1));
    }
    m_fill = Now() - t0;
    m_list.Relayout();
    m_list.RecalcScrollbar();
    const int middle = rows / 2;
    m_list.SetBias(std::min(middle * 36, m_list.GetRealListHeight() - kHeight));
    m_list.GetRow(middle)->state = CXList::ROW_SELECTED;
    m_list.GetRow(middle + 2)->state = CXList::ROW_HOVER;
  }
  ~BenchList() { ImageList_Destroy(m_images); }

  double Fill() const { return m_fill; }
  // Seconds per frame over a batch of frames.
  double Paint(HDC dc, int frames) {
    GdiFlush();
    const double t0 = Now();
    for (int i = 0; i < frames; ++i) m_list.DoPaint(dc);
    GdiFlush();
    return (Now() - t0) / frames;
  }
  // Seconds per hit test over a batch.
  double HitTests(int count) {
    int found = 0;
    const double t0 = Now();
    for (int i = 0; i < count; ++i) {
      CPoint p((i * 7) % (kWidth - 10), (i * 13) % kHeight);
      int row = -1;
      found += m_list.HitTest(&p, row) >= 0;
    }
    const double t = (Now() - t0) / count;
    return found ? t : -1;
  }

 private:
  HIMAGELIST m_images;
  CXList m_list;
  double m_fill = 0;
};

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  xtest::Canvas canvas(kWidth, kHeight);
  const HDC dc = canvas.Dc();
  // A 32 x 32 icon of one opaque colour with a darker frame.
  xtest::SolidIcon framed(32, RGB(0x60, 0xA0, 0xE0), RGB(0x20, 0x40, 0x80), 2);
  const HICON icon = framed.Get();

  printf("list paint into a %d x %d memory DC, 36-px rows with a 32-px icon and a path\n", kWidth, kHeight);
  BenchList small(100, icon), large(10000, icon);
  // Batches of both lists in turn, the best batch of each: a busy machine slows some
  // batches, and it should not slow one list more than the other.
  const int batches = 10;
  double smallFrame = 1e30, largeFrame = 1e30, smallHit = 1e30, largeHit = 1e30;
  small.Paint(dc, 1);  // warm: fonts, image lists
  large.Paint(dc, 1);
  for (int b = 0; b < batches; ++b) {
    smallFrame = std::min(smallFrame, small.Paint(dc, kFrames / batches));
    largeFrame = std::min(largeFrame, large.Paint(dc, kFrames / batches));
    smallHit = std::min(smallHit, small.HitTests(kHitTests / batches));
    largeHit = std::min(largeHit, large.HitTests(kHitTests / batches));
  }
  printf("  %6d rows: fill %8.1f ms   paint %7.3f ms/frame   hit test %6.3f us\n", 100, small.Fill() * 1e3,
         smallFrame * 1e3, smallHit * 1e6);
  printf("  %6d rows: fill %8.1f ms   paint %7.3f ms/frame   hit test %6.3f us\n", 10000, large.Fill() * 1e3,
         largeFrame * 1e3, largeHit * 1e6);
  {
    BenchList plain(10000, nullptr);
    printf("  %6d rows without icons: fill %8.1f ms   paint %7.3f ms/frame\n", 10000, plain.Fill() * 1e3,
           plain.Paint(dc, kFrames / batches) * 1e3);
  }
  printf("  paint ratio 10000 / 100 rows: %.2f (goal below 1.5), best of %d batches of %d frames\n",
         largeFrame / smallFrame, batches, kFrames / batches);
  printf("  hit-test ratio 10000 / 100 rows: %.2f\n", largeHit / smallHit);
  return 0;
}
