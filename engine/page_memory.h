#pragma once
// Memory for large arrays built in one go (a file's bytes, an index over
// them), never zero-filled by the program before it is written. Arrays of
// a huge page (2 MiB) or more are taken straight from the system in huge
// pages where it gives them, so that filling many megabytes does not stop
// at every 4 KiB page; they grow and shrink in place (the system moves
// their pages, the bytes are not copied), and untouched capacity takes no
// memory. Smaller ones come from malloc, which reuses memory freed before.

#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <utility>

namespace vb {

// `bytes` (> 0) of memory, aligned to a huge page when it is one or more;
// nullptr when the system has none. Its bytes are not set.
void* takePages(std::size_t bytes);
// Memory of takePages(`from`) resized to `to` bytes (> 0), its first
// min(from, to) bytes kept; nullptr (and the memory left as it was) when the
// system has none.
void* resizePages(void* memory, std::size_t from, std::size_t to);
void givePages(void* memory, std::size_t bytes);
[[noreturn]] void throwNoMemory();

// A growable array of a trivially copyable type in such memory.
template <typename T>
class PagedArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  PagedArray() = default;
  PagedArray(const PagedArray&) = delete;
  PagedArray& operator=(const PagedArray&) = delete;
  PagedArray(PagedArray&& o) noexcept { swap(o); }
  PagedArray& operator=(PagedArray&& o) noexcept {
    PagedArray(std::move(o)).swap(*this);
    return *this;
  }
  ~PagedArray() {
    if (data_) givePages(data_, capacity_ * sizeof(T));
  }

  T* data() { return data_; }
  const T* data() const { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T& back() { return data_[size_ - 1]; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

  // Capacity for `n` elements (the new ones not set); throws std::bad_alloc.
  void reserve(std::size_t n) {
    if (n <= capacity_) return;
    void* p =
        data_ ? resizePages(data_, capacity_ * sizeof(T), n * sizeof(T)) : takePages(n * sizeof(T));
    if (!p) throwNoMemory();
    data_ = static_cast<T*>(p);
    capacity_ = n;
  }
  // Size `n`, new elements not set.
  void resizeUninitialised(std::size_t n) {
    reserve(n);
    size_ = n;
  }
  void assign(std::size_t n, const T& value) {
    resizeUninitialised(n);
    for (std::size_t i = 0; i < n; ++i) data_[i] = value;
  }
  void push_back(const T& value) {
    if (size_ == capacity_) reserve(capacity_ + capacity_ / 4 + 16);
    data_[size_++] = value;
  }
  // Gives back the capacity beyond the size.
  void shrinkToFit() {
    if (capacity_ == size_) return;
    if (size_ == 0) {
      PagedArray().swap(*this);
      return;
    }
    if (void* p = resizePages(data_, capacity_ * sizeof(T), size_ * sizeof(T))) {
      data_ = static_cast<T*>(p);
      capacity_ = size_;
    }
  }

  void swap(PagedArray& o) noexcept {
    std::swap(data_, o.data_);
    std::swap(size_, o.size_);
    std::swap(capacity_, o.capacity_);
  }

 private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// A file's bytes as read.
class FileBytes {
 public:
  FileBytes() = default;
  explicit FileBytes(std::string_view bytes) {
    bytes_.resizeUninitialised(bytes.size());
    if (!bytes.empty()) std::memcpy(bytes_.data(), bytes.data(), bytes.size());
  }
  std::string_view view() const { return {bytes_.data(), bytes_.size()}; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t capacity() const { return bytes_.capacity(); }
  PagedArray<char>& array() { return bytes_; }

 private:
  PagedArray<char> bytes_;
};

}  // namespace vb
