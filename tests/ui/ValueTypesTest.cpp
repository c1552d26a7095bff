// CString and the geometry types: the behaviour other code leans on.
#include <gtest/gtest.h>

#include "XGeometry.h"
#include "XString.h"

namespace {

TEST(CStringTest, FormatTakesWideStringsForPercentS) {
  CString s;
  s.Format(L"Lack of file: %s !", L"C:\\a b\\Corvane.dll");
  EXPECT_EQ(s, L"Lack of file: C:\\a b\\Corvane.dll !");
  s.Format(L"%d-%02d|%hs|%ls", 7, 3, "narrow", L"wide");
  EXPECT_EQ(s, L"7-03|narrow|wide");
  s.AppendFormat(L"+%u", 5u);
  EXPECT_EQ(s, L"7-03|narrow|wide+5");
}

TEST(CStringTest, FormatGrowsForLongResults) {
  std::wstring big(5000, L'x');
  CString s;
  s.Format(L"<%s>", big.c_str());
  EXPECT_EQ(s.GetLength(), 5002);
}

TEST(CStringTest, SubstringsStayInBounds) {
  CString s(L"abcdef");
  EXPECT_EQ(s.Mid(2, 2), L"cd");
  EXPECT_EQ(s.Mid(4, 100), L"ef");
  EXPECT_EQ(s.Mid(10), L"");
  EXPECT_EQ(s.Mid(-3, 2), L"ab");
  EXPECT_EQ(s.Left(100), L"abcdef");
  EXPECT_EQ(s.Right(2), L"ef");
  EXPECT_EQ(s.Right(0), L"");
  EXPECT_EQ(s.GetAt(6), 0);
  EXPECT_EQ(s.Find(L"cd"), 2);
  EXPECT_EQ(s.Find(L'z'), -1);
  EXPECT_EQ(s.Find(L'a', 99), -1);
  EXPECT_EQ(s.ReverseFind(L'a'), 0);
}

TEST(CStringTest, CaseAndEditing) {
  CString s(L"Res\\Main.XML");
  EXPECT_EQ(s.CompareNoCase(L"res\\main.xml"), 0);
  EXPECT_NE(s.Compare(L"res\\main.xml"), 0);
  EXPECT_EQ(CString(s).MakeLower(), L"res\\main.xml");
  CString q(L"\"\"path\"\"");
  q.Trim(L"\"");
  EXPECT_EQ(q, L"path");
  CString r(L"a'b'c");
  EXPECT_EQ(r.Replace(L"'", L"''"), 2);
  EXPECT_EQ(r, L"a''b''c");
  EXPECT_EQ(r.Remove(L'\''), 4);
  EXPECT_EQ(r, L"abc");
  r.Insert(1, L"XY").Delete(0);
  EXPECT_EQ(r, L"XYbc");
}

TEST(CStringTest, BufferForWin32Calls) {
  CString s;
  wchar_t* p = s.GetBuffer(MAX_PATH);
  DWORD n = GetEnvironmentVariableW(L"NO_SUCH_VARIABLE_HERE", p, MAX_PATH);
  s.ReleaseBuffer(static_cast<int>(n));
  EXPECT_TRUE(s.IsEmpty());
  p = s.GetBuffer(10);
  wcscpy(p, L"abc");
  s.ReleaseBuffer();
  EXPECT_EQ(s, L"abc");
}

TEST(GeometryTest, RectBasics) {
  CRect r(10, 20, 40, 60);
  EXPECT_EQ(r.Width(), 30);
  EXPECT_EQ(r.Height(), 40);
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(40, 20)));
  r.OffsetRect(5, -5);
  EXPECT_EQ(r, CRect(15, 15, 45, 55));
  CRect i;
  EXPECT_FALSE(i.IntersectRect(CRect(0, 0, 10, 10), CRect(20, 20, 30, 30)));
  EXPECT_TRUE(i.IsRectNull());
  CPoint p(static_cast<LPARAM>(MAKELPARAM(-5 & 0xFFFF, 7)));
  EXPECT_EQ(p.x, -5);
  EXPECT_EQ(p.y, 7);
}

}  // namespace
