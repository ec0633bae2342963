// The mode message read back must be the one the library wrote (layers and
// compactness for every size it offers), and a symbol sized for a check
// share must meet it while the size below it does not.
#include <gtest/gtest.h>
#include <zint.h>

#include <memory>
#include <string>

#include "vellum/AztecSize.h"
#include "vellum/BarcodeSymbols.h"
#include "vellum/ZintSymbol.h"

namespace vellum {
namespace {

struct Deleter {
  void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using Symbol = std::unique_ptr<zint_symbol, Deleter>;

Symbol Encode(const std::string& data, int size) {
  Symbol s(ZBarcode_Create());
  s->symbology = BARCODE_AZTEC;
  s->input_mode = DATA_MODE;
  s->option_2 = size;
  if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(data.data()),
                      static_cast<int>(data.size())) >= ZINT_ERROR) {
    return nullptr;
  }
  return s;
}

TEST(AztecSizeTest, ModeMessageTellsEverySizesLayers) {
  for (int size = 1; size <= 36; ++size) {
    const Symbol s = Encode("AZ-09", size);
    ASSERT_NE(s, nullptr) << size;
    const std::optional<AztecModeMessage> message = ReadAztecModeMessage(*s);
    ASSERT_TRUE(message.has_value()) << size;
    EXPECT_EQ(message->compact, size <= 4) << size;
    EXPECT_EQ(message->layers, size <= 4 ? size : size - 4) << size;
    EXPECT_GE(message->dataCodewords, 1) << size;
    EXPECT_LT(message->dataCodewords, AztecCodewords(size)) << size;
  }
}

TEST(AztecSizeTest, DataCodewordsGrowWithTheData) {
  // Digits pack four bits each: 24 more digits need more codewords.
  const Symbol shorter = Encode(std::string(12, '7'), 9);
  const Symbol longer = Encode(std::string(36, '7'), 9);
  ASSERT_NE(shorter, nullptr);
  ASSERT_NE(longer, nullptr);
  EXPECT_LT(ReadAztecModeMessage(*shorter)->dataCodewords,
            ReadAztecModeMessage(*longer)->dataCodewords);
}

TEST(AztecSizeTest, CodewordsOfTheStandardsSizes) {
  const std::pair<int, int> cases[] = {
      {1, 17}, {4, 76}, {5, 21}, {8, 88}, {19, 528}, {36, 1664}, {0, 0}, {37, 0},
  };
  for (const auto& [size, codewords] : cases) EXPECT_EQ(AztecCodewords(size), codewords) << size;
}

TEST(AztecSizeTest, SizesGoFromTheSmallestSideUp) {
  const std::vector<int>& sizes = AztecSizesBySide();
  ASSERT_EQ(sizes.size(), 36u);
  int lastWidth = 0;
  for (int size : sizes) {
    const Symbol s = Encode("1", size);
    ASSERT_NE(s, nullptr) << size;
    EXPECT_GE(s->width, lastWidth) << size;
    lastWidth = s->width;
  }
}

TEST(AztecSizeTest, SymbolsMeetTheCheckShareAskedFor) {
  const SymbologyRow* row = FindSymbology(L"Aztec", 0);
  ASSERT_NE(row, nullptr);
  const std::wstring data = L"Part:123;Warehouse:BYZA;Position:12-12-1";
  int lastWidth = 0;
  for (int percent : {10, 23, 45, 70, 95}) {
    SymbolOptions options;
    options.symbologyRule = true;
    options.errorLevel = percent;
    const EncodeResult result = EncodeSymbol(*row, data, options);
    ASSERT_NE(result.symbol, nullptr) << percent;
    EXPECT_GE(result.symbol->widthModules, lastWidth) << percent;
    lastWidth = result.symbol->widthModules;
    // The size chosen meets the share; the next smaller one that holds the
    // data does not.
    const std::string bytes(data.begin(), data.end());
    const std::vector<int>& sizes = AztecSizesBySide();
    bool below = true;
    for (int size : sizes) {
      const Symbol s = Encode(bytes, size);
      if (!s) continue;
      if (s->width == result.symbol->widthModules) {
        EXPECT_TRUE(AztecMeetsCheckShare(*s, percent)) << percent;
        below = false;
        break;
      }
      EXPECT_FALSE(AztecMeetsCheckShare(*s, percent)) << percent << " at size " << size;
    }
    EXPECT_FALSE(below) << percent;
  }
  EXPECT_GT(lastWidth, 60);  // 95 percent: a large symbol for a little data
}

TEST(AztecSizeTest, DataTooLongForTheShareStillPrints) {
  const SymbologyRow* row = FindSymbology(L"Aztec", 0);
  ASSERT_NE(row, nullptr);
  SymbolOptions options;
  options.symbologyRule = true;
  options.errorLevel = 99;
  const EncodeResult result = EncodeSymbol(*row, std::wstring(1200, L'x'), options);
  EXPECT_NE(result.symbol, nullptr) << std::string(result.reason.begin(), result.reason.end());
}

}  // namespace
}  // namespace vellum
