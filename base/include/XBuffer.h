// XBuffer<T>: an owned, zero-initialised array with its element count, the unit in which skin
// files travel from the package to the readers. Invariant: data is null exactly when size is 0.
#pragma once

#include <cstring>
#include <new>

template <class T>
class XBuffer {
 public:
  XBuffer() = default;
  ~XBuffer() { delete[] m_data; }
  XBuffer(const XBuffer&) = delete;
  XBuffer& operator=(const XBuffer&) = delete;
  XBuffer(XBuffer&& o) noexcept : m_data(o.m_data), m_size(o.m_size) { o.m_data = nullptr; o.m_size = 0; }
  XBuffer& operator=(XBuffer&& o) noexcept {
    if (this != &o) {
      delete[] m_data;
      m_data = o.m_data;
      m_size = o.m_size;
      o.m_data = nullptr;
      o.m_size = 0;
    }
    return *this;
  }

  // n <= 0 fails and keeps the buffer; otherwise the old block is dropped and n zeroed
  // elements take its place (size 0 with no data when memory runs out).
  bool Resize(int n) {
    if (n <= 0) return false;
    delete[] m_data;
    m_data = new (std::nothrow) T[static_cast<size_t>(n)]();
    m_size = m_data ? n : 0;
    return m_data != nullptr;
  }
  // Replaces the contents with a copy of n elements (no zeroing pass); false keeps the
  // buffer as it was.
  bool Assign(const T* src, int n) {
    if (!src || n <= 0) return false;
    T* block = new (std::nothrow) T[static_cast<size_t>(n)];
    if (!block) return false;
    memcpy(block, src, sizeof(T) * static_cast<size_t>(n));
    delete[] m_data;
    m_data = block;
    m_size = n;
    return true;
  }
  void Free() {
    delete[] m_data;
    m_data = nullptr;
    m_size = 0;
  }

  T* GetData() { return m_data; }
  const T* GetData() const { return m_data; }
  int GetSize() const { return m_size; }
  bool IsEmpty() const { return m_size == 0; }

 private:
  T* m_data = nullptr;
  int m_size = 0;
};
