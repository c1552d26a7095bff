// CListFilter: the favourites as the list shows them: every entry in the list's full order,
// and the ones a typed filter lets through, plus the key moves of the selection. Invariant:
// the shown indices are ascending and are exactly the entries that match the filter; with
// no filter they are every entry, so the rows are then the full list in its order.
#pragma once

#include <string>
#include <vector>

// One favourite of the list. icon is the list's image source for the row (not owned).
struct FILTER_ENTRY {
  std::wstring path;
  unsigned long id;
  void* icon;
};

class CListFilter {
 public:
  // The text a user sees for a path: its last component, a shortcut's without ".lnk".
  static std::wstring DisplayName(const std::wstring& path);
  // Case folded for matching (any script the system folds, not only ASCII).
  static std::wstring Folded(const std::wstring& text);
  // Whether an entry's name or path holds the folded needle (an empty needle matches all).
  static bool Matches(const std::wstring& path, const std::wstring& foldedNeedle);

  // True when the filter changed (compared folded): the shown rows are then recomputed, in
  // one pass over the entries (over the shown ones only when the new text narrows the old).
  bool SetFilter(const std::wstring& text);
  const std::wstring& Filter() const { return m_text; }
  bool Active() const { return !m_needle.empty(); }

  int Count() const { return static_cast<int>(m_entries.size()); }
  int ShownCount() const { return static_cast<int>(m_shown.size()); }
  const FILTER_ENTRY* Entry(int index) const;
  FILTER_ENTRY* Entry(int index);
  int EntryOfRow(int row) const;    // -1 out of range
  int RowOfEntry(int entry) const;  // -1 when hidden or out of range

  // Adds an entry at the end, or before the entry at index (clamped to the ends); the row it
  // shows at, or -1 when the filter hides it.
  int Append(const FILTER_ENTRY& entry) { return Insert(Count(), entry); }
  int Insert(int index, const FILTER_ENTRY& entry);
  // Removes the entry shown at the row: its former index, or -1 when no row is there.
  int RemoveRow(int row, FILTER_ENTRY* removed);
  void Clear();

 private:
  bool Shows(int entry) const;

  std::vector<FILTER_ENTRY> m_entries;
  // Folded paths, made for every entry the first time a filter is set and kept since.
  mutable std::vector<std::wstring> m_folded;
  std::vector<int> m_shown;
  std::wstring m_text;
  std::wstring m_needle;  // the text folded
};

// Key moves of a single selection over a list of rows.
enum class LIST_MOVE { kUp, kDown, kPageUp, kPageDown, kHome, kEnd };

// The row selected after the move: from no selection (-1) Up and Down start at the first
// row; moves stop at the ends; a page is pageRows rows (at least one). -1 for no rows.
int MovedSelection(int current, int rowCount, int pageRows, LIST_MOVE move);
// The scroll offset that shows the band [top, bottom) in a view of the height at the offset
// (the smallest move; a band taller than the view shows its top), within 0 .. total - height.
int OffsetShowing(int offset, int viewHeight, int total, int top, int bottom);
