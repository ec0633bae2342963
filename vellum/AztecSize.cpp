#include "vellum/AztecSize.h"

#include <algorithm>
#include <array>

#include "vellum/ZintModule.h"

namespace vellum {
namespace {

constexpr int kCompactSizes = 4;
constexpr int kFullSizes = 32;

bool IsCompact(int size) { return size <= kCompactSizes; }
int Layers(int size) { return IsCompact(size) ? size : size - kCompactSizes; }

// Modules on a side: the bullseye and the layers, and in a full-range
// symbol a reference grid line every 16 modules from the centre.
int Side(int size) {
  const int layers = Layers(size);
  if (IsCompact(size)) return 11 + 4 * layers;
  const int base = 14 + 4 * layers;
  return base + 1 + 2 * ((base / 2 - 1) / 15);
}

int CodewordBits(int layers) {
  if (layers <= 2) return 6;
  if (layers <= 8) return 8;
  if (layers <= 22) return 10;
  return 12;
}

// The mode message's bits in reading order: clockwise from the top-left
// around the ring just outside the bullseye (7 bits a side for compact
// symbols, 10 with the reference grid's centre skipped for full range).
std::vector<bool> ModeMessageBits(const zint_symbol& s, bool compact) {
  const int centre = s.width / 2;
  const int perSide = compact ? 7 : 10;
  const int ring = compact ? 5 : 7;
  std::vector<bool> bits(static_cast<size_t>(4 * perSide));
  for (int i = 0; i < perSide; ++i) {
    const int offset = compact ? centre - 3 + i : centre - 5 + i + i / 5;
    const auto at = [&](int index, int row, int column) {
      bits[static_cast<size_t>(index)] = ZintModuleDark(s, row, column);
    };
    at(i, centre - ring, offset);
    at(i + perSide, offset, centre + ring);
    at(3 * perSide - 1 - i, centre + ring, offset);
    at(4 * perSide - 1 - i, offset, centre - ring);
  }
  return bits;
}

// A full-range bullseye has a light ring five modules out and a dark one
// six out, where a compact symbol has its mode message and first layer.
bool HasFullBullseye(const zint_symbol& s) {
  const int centre = s.width / 2;
  for (int i = -5; i <= 5; ++i) {
    if (ZintModuleDark(s, centre - 5, centre + i) || ZintModuleDark(s, centre + 5, centre + i))
      return false;
  }
  for (int i = -6; i <= 6; ++i) {
    if (!ZintModuleDark(s, centre - 6, centre + i) || !ZintModuleDark(s, centre + 6, centre + i))
      return false;
  }
  return true;
}

int Number(const std::vector<bool>& bits, size_t first, size_t count) {
  int value = 0;
  for (size_t i = first; i < first + count; ++i) value = value * 2 + (bits[i] ? 1 : 0);
  return value;
}

}  // namespace

const std::vector<int>& AztecSizesBySide() {
  static const std::vector<int> sizes = [] {
    std::vector<int> all;
    for (int size = 1; size <= kCompactSizes + kFullSizes; ++size) all.push_back(size);
    std::stable_sort(all.begin(), all.end(), [](int a, int b) { return Side(a) < Side(b); });
    return all;
  }();
  return sizes;
}

int AztecCodewords(int size) {
  if (size < 1 || size > kCompactSizes + kFullSizes) return 0;
  const int layers = Layers(size);
  const int bits = ((IsCompact(size) ? 88 : 112) + 16 * layers) * layers;
  return bits / CodewordBits(layers);
}

std::optional<AztecModeMessage> ReadAztecModeMessage(const zint_symbol& s) {
  if (s.width != s.rows || s.width < Side(1)) return std::nullopt;
  const bool compact = !HasFullBullseye(s);
  for (int size = 1; size <= kCompactSizes + kFullSizes; ++size) {
    if (Side(size) != s.width || IsCompact(size) != compact) continue;
    const std::vector<bool> bits = ModeMessageBits(s, compact);
    AztecModeMessage message;
    message.compact = compact;
    message.layers = compact ? Number(bits, 0, 2) + 1 : Number(bits, 0, 5) + 1;
    message.dataCodewords = compact ? Number(bits, 2, 6) + 1 : Number(bits, 5, 11) + 1;
    if (message.layers == Layers(size)) return message;
  }
  return std::nullopt;
}

bool AztecMeetsCheckShare(const zint_symbol& encoded, int percent) {
  const std::optional<AztecModeMessage> message = ReadAztecModeMessage(encoded);
  if (!message) return false;
  const int size = message->compact ? message->layers : message->layers + kCompactSizes;
  const int total = AztecCodewords(size);
  const int check = total - message->dataCodewords;
  return check > 0 && check * 100 >= percent * total;
}

}  // namespace vellum
