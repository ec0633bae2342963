// The mask chosen must be the barcode library's own for every symbol it
// handles: random data of every kind and length, every error correction
// level, versions 1 to 10. Any rule scored differently, a module taken for
// data that is not, or a tie broken the other way shows up as a different
// symbol.
#include <gtest/gtest.h>
#include <zint.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "vellum/QrMask.h"

namespace vellum {
namespace {

struct Deleter {
  void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using Symbol = std::unique_ptr<zint_symbol, Deleter>;

Symbol Encode(const std::string& data, int level, int maskOption) {
  Symbol s(ZBarcode_Create());
  s->symbology = BARCODE_QRCODE;
  s->input_mode = DATA_MODE;
  s->option_1 = level;
  s->option_3 = maskOption;
  EXPECT_LT(ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(data.data()),
                            static_cast<int>(data.size())),
            ZINT_ERROR);
  return s;
}

bool SameModules(const zint_symbol& a, const zint_symbol& b) {
  if (a.width != b.width || a.rows != b.rows) return false;
  for (int y = 0; y < a.rows; ++y) {
    if (std::memcmp(a.encoded_data[y], b.encoded_data[y], (a.width + 7) / 8) != 0) return false;
  }
  return true;
}

TEST(QrMask, ChoosesTheLibrarysMaskForEverySizeAndLevel) {
  std::mt19937 draw(2026);
  const std::string alphabets[] = {"0123456789", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:",
                                   "https://track.example/JJD0123456789abcdefghijklmnopqrstuvwxyz"};
  std::set<int> masks, sizes;
  for (int i = 0; i < 1500; ++i) {
    const int level = 1 + static_cast<int>(draw() % 4);
    const std::string& alphabet = alphabets[draw() % 3];
    std::string data(1 + draw() % 150, ' ');
    for (char& c : data)
      c = i % 5 == 0 ? static_cast<char>(draw() % 256) : alphabet[draw() % alphabet.size()];
    const Symbol library = Encode(data, level, 0);
    const Symbol first = Encode(data, level, QrMaskOption(0));
    const std::optional<int> mask = ChooseQrMask(*first, 0);
    if (library->width > 57) {
      EXPECT_FALSE(mask) << "only versions 1-10 are handled";
      continue;
    }
    ASSERT_TRUE(mask) << data;
    const Symbol ours = Encode(data, level, QrMaskOption(*mask));
    ASSERT_TRUE(SameModules(*library, *ours))
        << "level " << level << " size " << library->width << " mask " << *mask << " data " << data;
    masks.insert(*mask);
    sizes.insert(library->width);
  }
  EXPECT_EQ(masks.size(), 8u) << "every mask chosen somewhere";
  EXPECT_EQ(sizes.size(), 10u) << "every version 1-10 met";
}

// Starting from any mask gives the same choice.
TEST(QrMask, TheMaskEncodedWithDoesNotMatter) {
  const std::string data = "https://track.example/JJD0000004711074";
  const std::optional<int> fromZero = ChooseQrMask(*Encode(data, 3, QrMaskOption(0)), 0);
  ASSERT_TRUE(fromZero);
  for (int used = 1; used < 8; ++used) {
    EXPECT_EQ(ChooseQrMask(*Encode(data, 3, QrMaskOption(used)), used), fromZero) << used;
  }
}

}  // namespace
}  // namespace vellum
