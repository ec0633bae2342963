#include "vellum/QrMask.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "vellum/ZintModule.h"

namespace vellum {
namespace {

// Versions 1-10: one 64-bit word holds a line and the four modules the
// pattern test looks at past either end of it.
constexpr int kMaxSize = 57;
using Line = uint64_t;

// Alignment pattern centres of versions 2-10.
constexpr std::array<std::array<int, 3>, 9> kAlignCentres = {{{6, 18, 0},
                                                              {6, 22, 0},
                                                              {6, 26, 0},
                                                              {6, 30, 0},
                                                              {6, 34, 0},
                                                              {6, 22, 38},
                                                              {6, 24, 42},
                                                              {6, 26, 46},
                                                              {6, 28, 50}}};

// The fifteen format bits for five bits of data (level and mask): a BCH code
// with generator 0x537, then XOR 0x5412.
int FormatBits(int data) {
  int bits = data << 10;
  for (int bit = 14; bit >= 10; --bit) {
    if (bits & (1 << bit)) bits ^= 0x537 << (bit - 10);
  }
  return ((data << 10) | bits) ^ 0x5412;
}

// Set bits, in a few arithmetic steps: without a popcount instruction in the
// baseline, std::popcount is a library call.
inline int Count(Line v) {
  v = v - ((v >> 1) & 0x5555555555555555ULL);
  v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
  v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
}

bool MaskCovers(int mask, int x, int y) {
  switch (mask) {
    case 0:
      return ((y + x) & 1) == 0;
    case 1:
      return (y & 1) == 0;
    case 2:
      return x % 3 == 0;
    case 3:
      return (y + x) % 3 == 0;
    case 4:
      return (((y / 2) + (x / 3)) & 1) == 0;
    case 5:
      return (y * x) % 6 == 0;
    case 6:
      return ((((y * x) & 1) + ((y * x) % 3)) & 1) == 0;
    default:
      return ((((y + x) & 1) + ((y * x) % 3)) & 1) == 0;
  }
}

// Where the format information goes, as (row, column, bit of the fifteen).
struct FormatModule {
  int y, x, bit;
};

std::vector<FormatModule> FormatModules(int size) {
  std::vector<FormatModule> at;
  for (int i = 0; i < 6; ++i) at.push_back({i, 8, i});
  for (int i = 0; i < 8; ++i) at.push_back({8, size - 1 - i, i});
  for (int i = 0; i < 6; ++i) at.push_back({8, 5 - i, i + 9});
  for (int i = 0; i < 7; ++i) at.push_back({size - 7 + i, 8, i + 8});
  at.push_back({7, 8, 6});
  at.push_back({8, 8, 7});
  at.push_back({8, 7, 8});
  return at;
}

// Which modules are data (masked), as the library lays a symbol out: all but
// the timing lines, finders and separators, alignment patterns, the format
// and version areas and the dark module.
std::vector<Line> DataModules(int size, int version) {
  std::vector<uint8_t> fixed(static_cast<size_t>(size) * size, 0);
  auto set = [&](int y, int x, uint8_t flag) { fixed[static_cast<size_t>(y) * size + x] = flag; };
  for (int i = 0; i < size; ++i) set(6, i, 2), set(i, 6, 2);  // timing
  for (int cy : {0, size - 7}) {
    for (int cx : {0, size - 7}) {
      if (cy != 0 && cx != 0) continue;
      for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) set(cy + y, cx + x, 1);
      }
    }
  }
  for (int i = 0; i < 8; ++i) {  // separators
    set(7, i, 1), set(i, 7, 1), set(7, size - 1 - i, 1), set(i, size - 8, 1);
    set(size - 8, i, 1), set(size - 1 - i, 7, 1);
  }
  if (version >= 2) {
    const std::array<int, 3>& centres = kAlignCentres[version - 2];
    for (int cy : centres) {
      for (int cx : centres) {
        if (cy == 0 || cx == 0 || fixed[static_cast<size_t>(cy) * size + cx] == 1) continue;
        for (int y = -2; y <= 2; ++y) {
          for (int x = -2; x <= 2; ++x) set(cy + y, cx + x, 1);
        }
      }
    }
  }
  for (int i = 0; i <= 8; ++i) set(8, i, 2), set(i, 8, 2);  // format, with (8, 8)
  for (int i = 0; i < 8; ++i) set(8, size - 1 - i, 2), set(size - 1 - i, 8, 2);
  if (version >= 7) {
    for (int i = 0; i < 6; ++i) {
      for (int j = 9; j <= 11; ++j) set(size - j, i, 2), set(i, size - j, 2);
    }
  }
  std::vector<Line> data(size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (fixed[static_cast<size_t>(y) * size + x] == 0) data[y] |= Line{1} << x;
    }
  }
  return data;
}

// The library's score of the lines of one direction (rows, or columns as
// rows), tests 1 and 3; bit i of a line is module i, set when dark.
int ScoreLines(const Line* lines, int size) {
  const Line all = (Line{1} << size) - 1;
  int score = 0;
  for (int i = 0; i < size; ++i) {
    const Line dark = lines[i], light = ~dark & all;
    // Runs of five or more score their length less two.
    for (Line same : {dark, light}) {
      const Line five = same & same >> 1 & same >> 2 & same >> 3 & same >> 4;
      score += Count(five) + 2 * Count(five & ~(five << 1));
    }
    // 1:1:3:1:1 starting at each module, with four light modules before or
    // after it; past the edge counts as light.
    const Line pattern =
        dark & ~dark >> 1 & dark >> 2 & dark >> 3 & dark >> 4 & ~dark >> 5 & dark >> 6 & (all >> 6);
    if (pattern == 0) continue;
    const Line lightBefore = light << 4 | 0xF;  // bit i + 4 is module i
    const Line before = lightBefore & lightBefore >> 1 & lightBefore >> 2 & lightBefore >> 3;
    const Line lightAfter = light | ~all;
    const Line after = lightAfter >> 7 & lightAfter >> 8 & lightAfter >> 9 & lightAfter >> 10;
    score += 40 * Count(pattern & (before | after));
  }
  return score;
}

int Score(const std::vector<Line>& rows, int size) {
  std::array<Line, kMaxSize> columns{};
  int dark = 0, blocks = 0;
  const Line all = (Line{1} << size) - 1;
  for (int y = 0; y < size; ++y) {
    dark += Count(rows[y]);
    for (Line bits = rows[y]; bits != 0; bits &= bits - 1) {
      columns[std::countr_zero(bits)] |= Line{1} << y;
    }
    if (y + 1 < size) {
      // 2 x 2 blocks of one colour.
      const Line a = rows[y], b = rows[y + 1];
      const Line same = ~(a ^ b) & ~(a ^ a >> 1) & ~(b ^ b >> 1) & (all >> 1);
      blocks += Count(same);
    }
  }
  const double percentage = (100.0 * dark) / (size * size);
  const int away = static_cast<int>(std::fabs(percentage - 50.0) / 5.0);
  return ScoreLines(rows.data(), size) + ScoreLines(columns.data(), size) + 3 * blocks + 10 * away;
}

// What a version's symbols share: which modules are data, where each mask
// covers, where the format information goes. Made once for versions 1-10.
struct VersionLayout {
  std::vector<Line> data;
  std::array<std::vector<Line>, 8> masks;
  std::vector<FormatModule> format;
};

const VersionLayout& LayoutOf(int version) {
  static const std::array<VersionLayout, 10> layouts = [] {
    std::array<VersionLayout, 10> made;
    for (int v = 1; v <= 10; ++v) {
      const int size = 17 + 4 * v;
      VersionLayout& layout = made[v - 1];
      layout.data = DataModules(size, v);
      layout.format = FormatModules(size);
      for (int mask = 0; mask < 8; ++mask) {
        layout.masks[mask].assign(size, 0);
        for (int y = 0; y < size; ++y) {
          for (int x = 0; x < size; ++x) {
            if (MaskCovers(mask, x, y)) layout.masks[mask][y] |= Line{1} << x;
          }
        }
      }
    }
    return made;
  }();
  return layouts[version - 1];
}

}  // namespace

std::optional<int> ChooseQrMask(const zint_symbol& encoded, int usedMask) {
  const int size = encoded.width;
  if (size != encoded.rows || size < 21 || size > kMaxSize || (size - 17) % 4 != 0) {
    return std::nullopt;
  }
  if (usedMask < 0 || usedMask > 7) return std::nullopt;
  const VersionLayout& layout = LayoutOf((size - 17) / 4);

  // The symbol as encoded, and its level from its format information.
  std::vector<Line> symbol(size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (ZintModuleDark(encoded, y, x)) symbol[y] |= Line{1} << x;
    }
  }
  int written = 0;
  for (const FormatModule& m : layout.format) {
    if ((symbol[m.y] >> m.x) & 1) written |= 1 << m.bit;
  }
  int level = -1;
  for (int bits = 0; bits < 32; ++bits) {
    if ((bits & 7) == usedMask && FormatBits(bits) == written) level = bits & 0x18;
  }
  if (level < 0) return std::nullopt;  // not laid out as expected: leave it to the library

  std::vector<Line> candidate(size);
  int best = 0, bestScore = 0;
  for (int mask = 0; mask < 8; ++mask) {
    for (int y = 0; y < size; ++y) {
      const Line flip = layout.masks[mask][y] ^ layout.masks[usedMask][y];
      candidate[y] = symbol[y] ^ (flip & layout.data[y]);
    }
    const int bits = FormatBits(level | mask);
    for (const FormatModule& m : layout.format) {
      candidate[m.y] &= ~(Line{1} << m.x);
      candidate[m.y] |= static_cast<Line>((bits >> m.bit) & 1) << m.x;
    }
    const int score = Score(candidate, size);
    if (mask == 0 || score < bestScore) best = mask, bestScore = score;
  }
  return best;
}

}  // namespace vellum
