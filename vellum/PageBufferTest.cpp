// The raster's memory: zeroed, writable to its last byte, huge-page aligned
// when it spans a huge page, and handed over (not freed twice) when moved.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>

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
