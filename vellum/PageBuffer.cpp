#include "vellum/PageBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <utility>

namespace vellum {
namespace {

constexpr size_t kPage = 4096;
constexpr size_t kHugePage = size_t{2} << 20;
// Faulting in is for label-sized buffers. A huge raster is mostly blank, and
// blank pages that are only read never take memory: those stay lazy.
constexpr size_t kPopulateUpTo = size_t{64} << 20;

size_t RoundUp(size_t value, size_t step) { return (value + step - 1) / step * step; }

}  // namespace

PageBuffer::PageBuffer(size_t bytes) {
  if (bytes == 0 || bytes > SIZE_MAX - 2 * kHugePage) return;
  const size_t used = RoundUp(bytes, kPage);
  // Whole huge pages only, no memory wasted.
  const size_t huge = bytes / kHugePage * kHugePage;
  // Room to slide the start to a huge-page boundary; the slack is never touched.
  mappedSize_ = huge > 0 ? used + kHugePage : used;
  void* mapped =
      ::mmap(nullptr, mappedSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    mappedSize_ = 0;
    return;
  }
  mapped_ = mapped;
  const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
  data_ = reinterpret_cast<uint8_t*>(huge > 0 ? RoundUp(start, kHugePage) : start);
  size_ = bytes;
  // Both are hints: an older kernel, or one without huge pages, refuses them
  // and the pages come one fault at a time as before.
  if (huge > 0) ::madvise(data_, huge, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
  if (used <= kPopulateUpTo) ::madvise(data_, used, MADV_POPULATE_WRITE);
#endif
}

PageBuffer::~PageBuffer() { Release(); }

PageBuffer::PageBuffer(PageBuffer&& other) noexcept { *this = std::move(other); }

PageBuffer& PageBuffer::operator=(PageBuffer&& other) noexcept {
  if (this == &other) return *this;
  Release();
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  mapped_ = std::exchange(other.mapped_, nullptr);
  mappedSize_ = std::exchange(other.mappedSize_, 0);
  return *this;
}

void PageBuffer::Release() {
  if (mapped_ != nullptr) ::munmap(mapped_, mappedSize_);
  data_ = nullptr;
  mapped_ = nullptr;
  size_ = mappedSize_ = 0;
}

}  // namespace vellum
