// The list's filter model and key moves: what a typed text lets through (case folded, name
// and path), that a cleared filter gives back the whole list in its order after changes made
// while filtered, where the selection and the view go on each key, and that the list
// control's rows keep their texts and database ids through all of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilteredList.h"
#include "ListFilter.h"
#include "XList.h"

namespace {

std::vector<std::wstring> ShownPaths(const CListFilter& f) {
  std::vector<std::wstring> out;
  for (int row = 0; row < f.ShownCount(); ++row) out.push_back(f.Entry(f.EntryOfRow(row))->path);
  return out;
}

CListFilter Sample() {
  CListFilter f;
  unsigned long id = 1;
  for (const wchar_t* p : {L"C:\\Work\\Report.docx", L"D:\\Music\\song.MP3", L"C:\\Links\\\u00c4rger Tool.lnk",
                           L"C:\\Work", L"E:\\report-archive"})
    f.Append(FILTER_ENTRY{p, id++, nullptr});
  return f;
}

TEST(ListFilter, MatchesNameAndPathWithoutRegardToCase) {
  CListFilter f = Sample();
  EXPECT_TRUE(f.SetFilter(L"REPORT"));
  EXPECT_EQ(ShownPaths(f), (std::vector<std::wstring>{L"C:\\Work\\Report.docx", L"E:\\report-archive"}));
  // A folder in the path counts as much as the name.
  f.SetFilter(L"work");
  EXPECT_EQ(ShownPaths(f), (std::vector<std::wstring>{L"C:\\Work\\Report.docx", L"C:\\Work"}));
  f.SetFilter(L"mp3");
  EXPECT_EQ(ShownPaths(f), (std::vector<std::wstring>{L"D:\\Music\\song.MP3"}));
  // Letters beyond ASCII fold too.
  f.SetFilter(L"\u00e4rger");
  EXPECT_EQ(ShownPaths(f), (std::vector<std::wstring>{L"C:\\Links\\\u00c4rger Tool.lnk"}));
  f.SetFilter(L"nothing like it");
  EXPECT_EQ(f.ShownCount(), 0);
  EXPECT_FALSE(f.SetFilter(L"NOTHING like it"));  // the same filter folded: no change
  EXPECT_TRUE(CListFilter::Matches(L"C:\\A\\Name.txt", CListFilter::Folded(L"NAME")));
  EXPECT_FALSE(CListFilter::Matches(L"C:\\A\\Name.txt", CListFilter::Folded(L"name.doc")));
}

TEST(ListFilter, TypingOnAndBackGivesTheSameRowsAsTypingAtOnce) {
  CListFilter f = Sample();
  for (const wchar_t* text : {L"r", L"re", L"rep", L"re", L"r", L"o", L""}) {
    f.SetFilter(text);
    CListFilter fresh = Sample();
    fresh.SetFilter(text);
    EXPECT_EQ(ShownPaths(f), ShownPaths(fresh)) << std::string(text, text + wcslen(text));
  }
}

TEST(ListFilter, ChangesWhileFilteredKeepTheFullListAndItsOrder) {
  CListFilter f = Sample();
  f.SetFilter(L"report");
  // An add that matches is shown; one that does not is kept all the same.
  EXPECT_EQ(f.Append(FILTER_ENTRY{L"F:\\Report 2.pdf", 6, nullptr}), 2);
  EXPECT_EQ(f.Append(FILTER_ENTRY{L"F:\\Other.pdf", 7, nullptr}), -1);
  // Removing the second shown row removes the fifth entry.
  FILTER_ENTRY removed = {};
  EXPECT_EQ(f.RemoveRow(1, &removed), 4);
  EXPECT_EQ(removed.id, 5u);
  EXPECT_EQ(f.RemoveRow(9, nullptr), -1);
  EXPECT_EQ(f.EntryOfRow(1), 4);  // "F:\Report 2.pdf" moved up a place
  EXPECT_EQ(f.Entry(f.EntryOfRow(1))->id, 6u);
  // Put back where it was: shown between the rows around it.
  EXPECT_EQ(f.Insert(4, removed), 1);
  EXPECT_EQ(f.RowOfEntry(4), 1);
  EXPECT_EQ(f.RowOfEntry(1), -1);  // hidden
  f.SetFilter(L"");
  EXPECT_FALSE(f.Active());
  ASSERT_EQ(f.ShownCount(), 7);
  const unsigned long ids[] = {1, 2, 3, 4, 5, 6, 7};
  for (int row = 0; row < 7; ++row) {
    EXPECT_EQ(f.EntryOfRow(row), row);
    EXPECT_EQ(f.Entry(row)->id, ids[row]);
  }
}

TEST(ListFilter, DisplayNameIsTheLastComponentLessAShortcutsExtension) {
  EXPECT_EQ(CListFilter::DisplayName(L"C:\\Links\\Tool.LNK"), L"Tool");
  EXPECT_EQ(CListFilter::DisplayName(L"C:\\Work\\"), L"Work");
  EXPECT_EQ(CListFilter::DisplayName(L"C:\\"), L"C:");
  EXPECT_EQ(CListFilter::DisplayName(L"C:\\a\\.lnk"), L".lnk");
  EXPECT_EQ(CListFilter::DisplayName(L"notes.txt"), L"notes.txt");
}

TEST(ListMoves, SelectionStopsAtTheEndsAndMovesByPages) {
  EXPECT_EQ(MovedSelection(-1, 0, 5, LIST_MOVE::kDown), -1);
  EXPECT_EQ(MovedSelection(-1, 10, 5, LIST_MOVE::kDown), 0);
  EXPECT_EQ(MovedSelection(-1, 10, 5, LIST_MOVE::kUp), 0);
  EXPECT_EQ(MovedSelection(-1, 10, 5, LIST_MOVE::kEnd), 9);
  EXPECT_EQ(MovedSelection(12, 10, 5, LIST_MOVE::kUp), 0);  // a row that is gone: from the top
  EXPECT_EQ(MovedSelection(0, 10, 5, LIST_MOVE::kUp), 0);
  EXPECT_EQ(MovedSelection(9, 10, 5, LIST_MOVE::kDown), 9);
  EXPECT_EQ(MovedSelection(2, 10, 4, LIST_MOVE::kPageDown), 6);
  EXPECT_EQ(MovedSelection(8, 10, 4, LIST_MOVE::kPageDown), 9);
  EXPECT_EQ(MovedSelection(1, 10, 4, LIST_MOVE::kPageUp), 0);
  EXPECT_EQ(MovedSelection(5, 10, 0, LIST_MOVE::kPageUp), 4);  // a view shorter than a row
  EXPECT_EQ(MovedSelection(5, 10, 4, LIST_MOVE::kHome), 0);
  EXPECT_EQ(MovedSelection(5, 10, 4, LIST_MOVE::kEnd), 9);
}

TEST(ListMoves, TheViewMovesJustEnoughToShowTheRow) {
  // A view of 100 pixels over 400.
  EXPECT_EQ(OffsetShowing(0, 100, 400, 40, 80), 0);       // inside already
  EXPECT_EQ(OffsetShowing(0, 100, 400, 120, 160), 60);    // below: its bottom at the view's
  EXPECT_EQ(OffsetShowing(200, 100, 400, 120, 160), 120); // above: its top at the view's
  EXPECT_EQ(OffsetShowing(0, 100, 400, 360, 400), 300);
  EXPECT_EQ(OffsetShowing(0, 30, 400, 120, 160), 120);    // taller than the view: its top
  EXPECT_EQ(OffsetShowing(50, 100, 80, 0, 40), 0);        // rows that fit: no offset
}

// The rows of a list control as "path=id".
std::vector<std::wstring> RowsOf(CXList& list) {
  std::vector<std::wstring> out;
  for (int row = 0; row < list.GetRowCount(); ++row)
    out.push_back(std::wstring(list.GetItemText(row, 0)) + L"=" + std::to_wstring(list.GetItemData(row)));
  return out;
}

TEST(FilteredList, RowsKeepTheirIdsThroughFilterRemovalAndReturn) {
  CXList list;
  list.InsertColumn(300, L"path");
  list.SetItemHeight(20);
  list.XUI_SetRect(CRect(0, 0, 300, 100));
  list.SetEmptyText(L"empty");
  CFilteredList rows;
  rows.Attach(&list);
  rows.Append(L"C:\\a\\alpha.txt", 11, nullptr);
  rows.Append(L"C:\\b\\beta.txt", 12, nullptr);
  rows.Append(L"C:\\a\\gamma.txt", 13, nullptr);
  rows.Append(L"C:\\d\\delta.txt", 14, nullptr);

  EXPECT_TRUE(rows.SetFilter(L"\\A\\", L"no match"));
  EXPECT_EQ(RowsOf(list), (std::vector<std::wstring>{L"C:\\a\\alpha.txt=11", L"C:\\a\\gamma.txt=13"}));
  EXPECT_EQ(rows.SelectedRow(), 0);  // the first match, for Enter
  // A removal while filtered takes the right entry; an add shows only when it matches.
  FILTER_ENTRY removed = {};
  EXPECT_EQ(rows.RemoveRow(1, &removed), 2);
  EXPECT_EQ(removed.id, 13u);
  EXPECT_EQ(rows.Append(L"C:\\e\\epsilon.txt", 15, nullptr), -1);
  EXPECT_EQ(rows.Append(L"C:\\a\\zeta.txt", 16, nullptr), 1);
  EXPECT_EQ(RowsOf(list), (std::vector<std::wstring>{L"C:\\a\\alpha.txt=11", L"C:\\a\\zeta.txt=16"}));
  // Back at its place, between the rows around it.
  EXPECT_EQ(rows.Insert(2, CString(removed.path.c_str()), removed.id, nullptr), 1);
  EXPECT_EQ(RowsOf(list),
            (std::vector<std::wstring>{L"C:\\a\\alpha.txt=11", L"C:\\a\\gamma.txt=13", L"C:\\a\\zeta.txt=16"}));
  rows.SetFilter(L"nothing", L"no match");
  EXPECT_EQ(list.GetRowCount(), 0);
  EXPECT_EQ(list.GetEmptyText(), CString(L"no match"));

  rows.SetFilter(L"", L"no match");
  EXPECT_EQ(list.GetEmptyText(), CString(L"empty"));
  EXPECT_EQ(RowsOf(list), (std::vector<std::wstring>{L"C:\\a\\alpha.txt=11", L"C:\\b\\beta.txt=12",
                                                     L"C:\\a\\gamma.txt=13", L"C:\\d\\delta.txt=14",
                                                     L"C:\\e\\epsilon.txt=15", L"C:\\a\\zeta.txt=16"}));
}

TEST(FilteredList, KeysMoveOneSelectedRow) {
  CXList list;
  list.InsertColumn(300, L"path");
  list.SetItemHeight(20);
  list.XUI_SetRect(CRect(0, 0, 300, 100));  // five rows a page
  CFilteredList rows;
  rows.Attach(&list);
  for (int i = 0; i < 12; ++i) rows.Append(CString((L"C:\\f" + std::to_wstring(i)).c_str()), i + 1, nullptr);
  list.GetRow(7)->state = CXList::ROW_SELECTED;  // a click's selection
  list.GetRow(3)->state = CXList::ROW_HOVER;
  rows.Move(LIST_MOVE::kPageUp);
  EXPECT_EQ(rows.SelectedRow(), 2);
  EXPECT_EQ(list.GetRow(7)->state, 0);
  EXPECT_EQ(list.GetSelectRow(3), -1);  // one selected row
  rows.Move(LIST_MOVE::kEnd);
  EXPECT_EQ(rows.SelectedRow(), 11);
  rows.Move(LIST_MOVE::kPageDown);
  EXPECT_EQ(rows.SelectedRow(), 11);
  rows.Move(LIST_MOVE::kHome);
  EXPECT_EQ(rows.SelectedRow(), 0);
}

}  // namespace
