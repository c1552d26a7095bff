// CXRowLayout: running tops of a list's rows, so that the rows under a point or inside a
// band are found by binary search instead of a walk over every row. Invariant: tops hold
// count + 1 non-decreasing sums; top(i) is the height of the rows before i (negative
// heights count as 0). Plain C++; nothing here touches the platform.
#pragma once

#include <algorithm>
#include <climits>
#include <vector>

class CXRowLayout {
 public:
  CXRowLayout() : m_tops(1, 0) {}

  int Count() const { return static_cast<int>(m_tops.size()) - 1; }
  void Clear() { m_tops.assign(1, 0); }
  void Append(int height) { m_tops.push_back(m_tops.back() + Clamp(height)); }
  // Room for one more Append (growing geometrically), so that Append itself cannot fail.
  void ReserveOneMore() {
    if (m_tops.size() == m_tops.capacity()) m_tops.reserve(m_tops.size() * 2);
  }
  void Erase(int index) {
    if (index < 0 || index >= Count()) return;
    const long long height = m_tops[index + 1] - m_tops[index];
    m_tops.erase(m_tops.begin() + index + 1);
    for (size_t i = static_cast<size_t>(index) + 1; i < m_tops.size(); ++i) m_tops[i] -= height;
  }
  // Recomputes every top from heightOf(i); allocates nothing when the count is unchanged.
  template <class HeightOf>
  void Rebuild(int count, HeightOf heightOf) {
    if (count < 0) count = 0;
    m_tops.resize(static_cast<size_t>(count) + 1);
    m_tops[0] = 0;
    for (int i = 0; i < count; ++i) m_tops[i + 1] = m_tops[i] + Clamp(heightOf(i));
  }

  // Offset of row i from the first row's top; the total for i == Count().
  long long Top(int index) const {
    if (index <= 0) return 0;
    return m_tops[static_cast<size_t>(std::min(index, Count()))];
  }
  long long Height(int index) const { return index < 0 || index >= Count() ? 0 : m_tops[index + 1] - m_tops[index]; }
  // Sum of all heights, saturated to the int range.
  int Total() const { return m_tops.back() > INT_MAX ? INT_MAX : static_cast<int>(m_tops.back()); }

  // The row whose band [top, top + height) holds the offset, or -1.
  int RowAt(long long offset) const {
    if (offset < 0 || offset >= m_tops.back()) return -1;
    // The last top not above the offset; rows of height 0 are skipped by taking the last.
    auto it = std::upper_bound(m_tops.begin(), m_tops.end(), offset);
    return static_cast<int>(it - m_tops.begin()) - 1;
  }
  // The first row whose bottom lies below the offset (Count() when none): where a band
  // starting at the offset begins.
  int FirstEndingAfter(long long offset) const {
    auto it = std::upper_bound(m_tops.begin() + 1, m_tops.end(), offset);
    return static_cast<int>(it - m_tops.begin()) - 1;
  }

 private:
  static long long Clamp(int height) { return height < 0 ? 0 : height; }

  std::vector<long long> m_tops;
};
