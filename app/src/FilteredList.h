// CFilteredList: the favourites list control driven through the filter model. The control
// holds the rows the filter lets through, in the full list's order; the model holds every
// entry (path, database id, icon). Invariant: row r of the control is the model's shown entry
// r, with its path as text and its id as row data.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>

#include "ListFilter.h"
#include "XString.h"

class CXList;

class CFilteredList {
 public:
  // The list the rows go to, with the rows it holds already as the first entries; its empty
  // hint is kept for when no filter is set.
  void Attach(CXList* list);
  CXList* List() const { return m_pList; }
  const CListFilter& Model() const { return m_model; }

  // A new entry at the end (or before the entry at index); the row it shows at, or -1.
  int Append(const CString& path, DWORD id, HICON icon) { return Insert(m_model.Count(), path, id, icon); }
  int Insert(int index, const CString& path, DWORD id, HICON icon);
  void SetEntryIcon(int entry, HICON icon);
  // Every entry of a path in the map takes its icon (null: left as it is).
  void SetIconsOfPaths(const std::unordered_map<std::wstring, HICON>& icons);
  // Every entry that shows the old icon takes the new one.
  void ReplaceIcon(HICON old, HICON icon);
  // Removes the row and its entry; the entry's former index, or -1.
  int RemoveRow(int row, FILTER_ENTRY* removed);
  void Clear();
  int EntryOfRow(int row) const { return m_model.EntryOfRow(row); }

  // Shows the entries that match the text (all when empty) and selects the first of them;
  // the hint of an empty list then says that nothing matches. False when nothing changed.
  bool SetFilter(const std::wstring& text, const CString& noMatchHint);
  bool Filtered() const { return m_model.Active(); }

  // Selection by keys: one selected row, kept in view.
  int SelectedRow() const;
  void Select(int row);
  void Move(LIST_MOVE move);

 private:
  void ShowRow(int row, const FILTER_ENTRY& entry);
  void Rebuild();

  CXList* m_pList = nullptr;
  CListFilter m_model;
  CString m_emptyHint;
};
