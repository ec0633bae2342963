#pragma once
// Zeroed memory for the label raster and the PNG rows, straight from the
// kernel. Whole 2 MB stretches are aligned and advised for huge pages, and a
// label-sized buffer is faulted in by one call rather than one page at a
// time: on the first label of a run those faults cost more than drawing the
// label. The MonoRaster and the PNG writer own one each and reuse it.

#include <cstddef>
#include <cstdint>

namespace vellum {

class PageBuffer {
 public:
  PageBuffer() = default;
  // data() is null when the memory cannot be had.
  explicit PageBuffer(size_t bytes);
  ~PageBuffer();
  PageBuffer(PageBuffer&& other) noexcept;
  PageBuffer& operator=(PageBuffer&& other) noexcept;
  PageBuffer(const PageBuffer&) = delete;
  PageBuffer& operator=(const PageBuffer&) = delete;

  uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  void Release();

  uint8_t* data_ = nullptr;
  size_t size_ = 0;  // as asked
  void* mapped_ = nullptr;
  size_t mappedSize_ = 0;
};

}  // namespace vellum
