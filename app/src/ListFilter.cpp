// The list's filter and key moves. Matching is a substring test on case-folded text; the
// folded paths are made once, at the first filter, so each key typed costs one pass of plain
// comparisons however long the list.
#include "ListFilter.h"

#include <windows.h>

#include <algorithm>

std::wstring CListFilter::DisplayName(const std::wstring& path) {
  size_t end = path.size();
  while (end > 0 && (path[end - 1] == L'\\' || path[end - 1] == L'/')) --end;
  const size_t slash = path.find_last_of(L"\\/", end == 0 ? 0 : end - 1);
  const size_t start = slash == std::wstring::npos || end == 0 ? 0 : slash + 1;
  std::wstring name = path.substr(start, end - start);
  static const wchar_t kLink[] = L".lnk";
  if (name.size() > 4 && CompareStringOrdinal(name.c_str() + name.size() - 4, 4, kLink, 4, TRUE) == CSTR_EQUAL)
    name.resize(name.size() - 4);
  return name.empty() ? path : name;
}

std::wstring CListFilter::Folded(const std::wstring& text) {
  std::wstring folded(text);
  if (!folded.empty()) CharLowerBuffW(&folded[0], static_cast<DWORD>(folded.size()));
  return folded;
}

bool CListFilter::Matches(const std::wstring& path, const std::wstring& foldedNeedle) {
  if (foldedNeedle.empty()) return true;
  // The name is the end of the path (less ".lnk"), so a needle in the name is in the path.
  return Folded(path).find(foldedNeedle) != std::wstring::npos;
}

bool CListFilter::Shows(int entry) const {
  if (m_needle.empty()) return true;
  const std::wstring& folded = m_folded.size() == m_entries.size() ? m_folded[static_cast<size_t>(entry)]
                                                                   : Folded(m_entries[static_cast<size_t>(entry)].path);
  return folded.find(m_needle) != std::wstring::npos;
}

bool CListFilter::SetFilter(const std::wstring& text) {
  const std::wstring needle = Folded(text);
  m_text = text;
  if (needle == m_needle) return false;
  const bool narrows = !m_needle.empty() && needle.find(m_needle) != std::wstring::npos;
  m_needle = needle;
  if (!m_needle.empty() && m_folded.size() != m_entries.size()) {
    m_folded.clear();
    m_folded.reserve(m_entries.size());
    for (const FILTER_ENTRY& e : m_entries) m_folded.push_back(Folded(e.path));
  }
  std::vector<int> shown;
  if (narrows) {
    // Every entry the new text lets through also held the old one.
    for (int i : m_shown)
      if (Shows(i)) shown.push_back(i);
  } else {
    shown.reserve(m_entries.size());
    for (int i = 0; i < Count(); ++i)
      if (Shows(i)) shown.push_back(i);
  }
  m_shown.swap(shown);
  return true;
}

const FILTER_ENTRY* CListFilter::Entry(int index) const {
  return index >= 0 && index < Count() ? &m_entries[static_cast<size_t>(index)] : nullptr;
}

FILTER_ENTRY* CListFilter::Entry(int index) {
  return index >= 0 && index < Count() ? &m_entries[static_cast<size_t>(index)] : nullptr;
}

int CListFilter::EntryOfRow(int row) const { return row >= 0 && row < ShownCount() ? m_shown[static_cast<size_t>(row)] : -1; }

int CListFilter::RowOfEntry(int entry) const {
  auto it = std::lower_bound(m_shown.begin(), m_shown.end(), entry);
  return it != m_shown.end() && *it == entry ? static_cast<int>(it - m_shown.begin()) : -1;
}

int CListFilter::Insert(int index, const FILTER_ENTRY& entry) {
  index = std::max(0, std::min(index, Count()));
  const bool folded = m_folded.size() == m_entries.size() && !m_entries.empty();
  m_entries.insert(m_entries.begin() + index, entry);
  if (folded) m_folded.insert(m_folded.begin() + index, Folded(entry.path));
  else m_folded.clear();
  // Entries behind it move one place on.
  auto at = std::lower_bound(m_shown.begin(), m_shown.end(), index);
  for (auto it = at; it != m_shown.end(); ++it) ++*it;
  if (!Shows(index)) return -1;
  // The insert may move the elements: the row is counted from the new beginning.
  const auto shown = m_shown.insert(at, index);
  return static_cast<int>(shown - m_shown.begin());
}

int CListFilter::RemoveRow(int row, FILTER_ENTRY* removed) {
  const int index = EntryOfRow(row);
  if (index < 0) return -1;
  if (removed) *removed = m_entries[static_cast<size_t>(index)];
  m_entries.erase(m_entries.begin() + index);
  if (m_folded.size() == m_entries.size() + 1) m_folded.erase(m_folded.begin() + index);
  m_shown.erase(m_shown.begin() + row);
  for (size_t i = static_cast<size_t>(row); i < m_shown.size(); ++i) --m_shown[i];
  return index;
}

void CListFilter::Clear() {
  m_entries.clear();
  m_folded.clear();
  m_shown.clear();
}

int MovedSelection(int current, int rowCount, int pageRows, LIST_MOVE move) {
  if (rowCount <= 0) return -1;
  const int last = rowCount - 1;
  const int page = std::max(1, pageRows);
  if (current < 0 || current > last) {
    if (move == LIST_MOVE::kEnd) return last;
    return 0;
  }
  long long next = current;
  switch (move) {
    case LIST_MOVE::kUp: next = current - 1; break;
    case LIST_MOVE::kDown: next = current + 1; break;
    case LIST_MOVE::kPageUp: next = static_cast<long long>(current) - page; break;
    case LIST_MOVE::kPageDown: next = static_cast<long long>(current) + page; break;
    case LIST_MOVE::kHome: next = 0; break;
    case LIST_MOVE::kEnd: next = last; break;
  }
  return static_cast<int>(std::max(0LL, std::min<long long>(next, last)));
}

int OffsetShowing(int offset, int viewHeight, int total, int top, int bottom) {
  long long wanted = offset;
  if (bottom - top >= viewHeight || top < offset) wanted = top;
  else if (bottom > static_cast<long long>(offset) + viewHeight) wanted = static_cast<long long>(bottom) - viewHeight;
  const long long most = std::max(0LL, static_cast<long long>(total) - viewHeight);
  return static_cast<int>(std::max(0LL, std::min(wanted, most)));
}
