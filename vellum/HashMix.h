#pragma once
// Folds one more value into a hash, for the keys of Vellum's caches
// (GlyphRasters, LayoutCache). The constant is the golden ratio's bits, which
// spreads values that differ in few bits.

#include <cstddef>

namespace vellum {

inline void MixHash(size_t& hash, size_t value) {
  hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
}

}  // namespace vellum
