// The list control as a view of the filter model: a filter change rebuilds the rows from the
// entries it lets through (their icons are the ones already made: nothing is asked of the
// shell per key), and the key moves keep the one selected row inside the list's rectangle.
#include "FilteredList.h"

#include "ControlMgr.h"
#include "XList.h"

void CFilteredList::Attach(CXList* list) {
  m_pList = list;
  m_model.Clear();
  m_model.SetFilter(std::wstring());
  if (!list) return;
  m_emptyHint = list->GetEmptyText();
  // Rows the list came with (from its template) are entries like any other.
  for (int row = 0; row < list->GetRowCount(); ++row) {
    const wchar_t* text = list->GetItemText(row, 0);
    m_model.Append(FILTER_ENTRY{text ? text : L"", list->GetItemData(row), nullptr});
  }
}

void CFilteredList::ShowRow(int row, const FILTER_ENTRY& entry) {
  if (!m_pList || row < 0) return;
  const CString path(entry.path.c_str());
  if (row == m_pList->GetRowCount()) {
    if (m_pList->InsertItem(path, 0) < 0) return;
  } else {
    // Rows only ever append: one in the middle means the rows behind it move down.
    Rebuild();
    return;
  }
  m_pList->SetItem(row, 0, path, static_cast<HICON>(entry.icon));
  m_pList->SetItemData(row, entry.id);
}

int CFilteredList::Insert(int index, const CString& path, DWORD id, HICON icon) {
  const int row = m_model.Insert(index, FILTER_ENTRY{path.Str(), id, icon});
  if (row >= 0) ShowRow(row, *m_model.Entry(m_model.EntryOfRow(row)));
  return row;
}

void CFilteredList::SetEntryIcon(int entry, HICON icon) {
  FILTER_ENTRY* e = m_model.Entry(entry);
  if (!e) return;
  e->icon = icon;
  const int row = m_model.RowOfEntry(entry);
  if (m_pList && row >= 0) m_pList->SetItem(row, 0, CString(e->path.c_str()), icon);
}

void CFilteredList::SetIconsOfPaths(const std::unordered_map<std::wstring, HICON>& icons) {
  if (icons.empty()) return;
  for (int entry = 0; entry < m_model.Count(); ++entry) {
    const FILTER_ENTRY* e = m_model.Entry(entry);
    if (!e) continue;
    auto hit = icons.find(e->path);
    if (hit != icons.end() && hit->second) SetEntryIcon(entry, hit->second);
  }
}

void CFilteredList::ReplaceIcon(HICON old, HICON icon) {
  if (!old || old == icon) return;
  for (int entry = 0; entry < m_model.Count(); ++entry) {
    const FILTER_ENTRY* e = m_model.Entry(entry);
    if (e && e->icon == old) SetEntryIcon(entry, icon);
  }
}

int CFilteredList::RemoveRow(int row, FILTER_ENTRY* removed) {
  const int index = m_model.RemoveRow(row, removed);
  if (index >= 0 && m_pList) m_pList->DeleteRow(row);
  return index;
}

void CFilteredList::Clear() {
  m_model.Clear();
  if (m_pList)
    for (int row = m_pList->GetRowCount(); row-- > 0;) m_pList->DeleteRow(row);
}

void CFilteredList::Rebuild() {
  if (!m_pList) return;
  for (int row = m_pList->GetRowCount(); row-- > 0;) m_pList->DeleteRow(row);
  for (int row = 0; row < m_model.ShownCount(); ++row) {
    const FILTER_ENTRY& e = *m_model.Entry(m_model.EntryOfRow(row));
    const CString path(e.path.c_str());
    if (m_pList->InsertItem(path, 0) < 0) break;
    m_pList->SetItem(row, 0, path, static_cast<HICON>(e.icon));
    m_pList->SetItemData(row, e.id);
  }
  m_pList->RecalcScrollbar();
}

bool CFilteredList::SetFilter(const std::wstring& text, const CString& noMatchHint) {
  if (!m_model.SetFilter(text)) return false;
  if (!m_pList) return true;
  Rebuild();
  m_pList->SetEmptyText(m_model.Active() ? noMatchHint : m_emptyHint);
  m_pList->SetBias(0);
  if (m_model.Active()) Select(0);
  CControlMgr::Invalidate(m_pList, FALSE);
  return true;
}

int CFilteredList::SelectedRow() const { return m_pList ? m_pList->GetSelectRow(0) : -1; }

void CFilteredList::Select(int row) {
  if (!m_pList) return;
  for (int r = m_pList->GetSelectRow(0); r >= 0; r = m_pList->GetSelectRow(r + 1)) m_pList->GetRow(r)->state = 0;
  ROW_DATA* target = m_pList->GetRow(row);
  if (!target) return;
  target->state = CXList::ROW_SELECTED;
  // Every row is inserted at the list's item height.
  const int height = m_pList->GetItemHeight();
  m_pList->RecalcScrollbar();
  const int view = m_pList->XUI_GetRect().Height();
  const int total = m_pList->GetRealListHeight();
  const long long top = static_cast<long long>(row) * height;
  if (top + height > 0x7FFFFFFF) return;
  m_pList->SetBias(OffsetShowing(m_pList->GetBias(), view, total, static_cast<int>(top), static_cast<int>(top + height)));
  CControlMgr::Invalidate(m_pList, FALSE);
}

void CFilteredList::Move(LIST_MOVE move) {
  if (!m_pList) return;
  const int height = m_pList->GetItemHeight();
  const int page = height > 0 ? m_pList->XUI_GetRect().Height() / height : 1;
  const int row = MovedSelection(SelectedRow(), m_pList->GetRowCount(), page, move);
  if (row >= 0) Select(row);
}
