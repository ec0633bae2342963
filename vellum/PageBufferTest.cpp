// The raster's memory: zeroed, writable to its last byte, huge-page aligned
// when it spans a huge page, and handed over (not freed twice) when moved;
// the glyph layer's, taken a page at a time as it is written.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "vellum/PageBuffer.h"

namespace vellum {
namespace {

constexpr size_t kPage = 4096;

TEST(PageBufferTest, ZeroedWritableAndAligned) {
  struct Case {
    size_t bytes;
    size_t alignment;
  };
  const Case cases[] = {
      {1, 4096},
      {4095, 4096},
      {4097, 4096},
      {1 << 20, 4096},
      {(2 << 20) + 1, 2 << 20},
      {2'160'000, 2 << 20},
      {80 << 20, 2 << 20},  // past what is faulted in up front
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    PageBuffer buffer(c.bytes);
    ASSERT_NE(buffer.data(), nullptr);
    EXPECT_EQ(buffer.size(), c.bytes);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer.data()) % c.alignment, 0u);
    size_t nonZero = 0;
    for (size_t i = 0; i < c.bytes; i += 511) nonZero += buffer.data()[i] != 0;
    EXPECT_EQ(nonZero + (buffer.data()[c.bytes - 1] != 0), 0u);
    std::memset(buffer.data(), 0xA5, c.bytes);
    EXPECT_EQ(buffer.data()[c.bytes - 1], 0xA5);
  }
}

// Pages in memory, of the `pages` pages from `start`.
size_t Resident(const uint8_t* start, size_t pages) {
  std::vector<unsigned char> in(pages);
  if (::mincore(const_cast<uint8_t*>(start), pages * kPage, in.data()) != 0) return SIZE_MAX;
  return static_cast<size_t>(
      std::count_if(in.begin(), in.end(), [](unsigned char c) { return (c & 1) != 0; }));
}

// The glyph layer's memory: blank and writable like the raster's, but only
// the pages written take memory, whatever their number.
TEST(PageBufferTest, PagesOnFirstWriteTakeNoMemoryUntilWritten) {
  for (size_t bytes : {size_t{4097}, size_t{2'160'016}, size_t{5} << 20}) {
    SCOPED_TRACE(bytes);
    PageBuffer layer(bytes, PageBuffer::Pages::kOnFirstWrite);
    ASSERT_NE(layer.data(), nullptr);
    EXPECT_EQ(layer.size(), bytes);
    const size_t pages = (bytes + kPage - 1) / kPage;
    EXPECT_EQ(Resident(layer.data(), pages), 0u);
    layer.data()[bytes / 2] = 1;
    layer.data()[bytes - 1] = 2;
    EXPECT_EQ(Resident(layer.data(), pages), 2u);
    EXPECT_EQ(layer.data()[0], 0);
  }
}

TEST(PageBufferTest, MovesHandTheMemoryOver) {
  PageBuffer empty(0);
  EXPECT_EQ(empty.data(), nullptr);
  PageBuffer first(10000);
  uint8_t* const memory = first.data();
  first.data()[9999] = 7;
  PageBuffer second(std::move(first));
  EXPECT_EQ(first.data(), nullptr);
  EXPECT_EQ(second.data(), memory);
  EXPECT_EQ(second.data()[9999], 7);
  second = PageBuffer(3 << 20);
  EXPECT_NE(second.data(), nullptr);
  EXPECT_EQ(second.size(), size_t{3} << 20);
}

}  // namespace
}  // namespace vellum
