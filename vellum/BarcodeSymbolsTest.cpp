// The symbology table against the barcode vocabulary it extends.

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "platform/Text.h"
#include "vellum/BarcodeData.h"
#include "vellum/BarcodeSymbols.h"

namespace vellum {
namespace {

// One row per BarcodeId in its order, found by its name in any case; the rows
// that take a fixed count of digits are the vocabulary's retail types, and
// they take exactly its count (shorter data padded, longer refused).
TEST(BarcodeSymbolsTest, OneRowPerVocabularyRowInItsOrder) {
  const std::span<const SymbologyRow> rows = SymbologyRows();
  ASSERT_EQ(rows.size(), kBarcodeVocabulary.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const BarcodeVocabularyRow& word = kBarcodeVocabulary[i];
    const SymbologyRow& row = rows[i];
    SCOPED_TRACE(platform::WideToUtf8(word.name));
    EXPECT_EQ(row.id, word.id);
    EXPECT_EQ(FindSymbology(platform::ToUpper(word.name), 0), &row);
    EXPECT_EQ(row.rule == DataRule::kDigits || row.rule == DataRule::kUpcE, word.digits > 0);
    EXPECT_EQ(row.rule == DataRule::kUpcE, word.addOnDigits > 0);
    if (word.digits == 0) continue;
    const size_t digits = static_cast<size_t>(word.DataDigits());
    EXPECT_TRUE(MapBarcodeData(row, std::wstring(digits, L'0')).ok);
    EXPECT_FALSE(MapBarcodeData(row, std::wstring(digits + 1, L'0')).ok);
  }
}

TEST(BarcodeSymbolsTest, TypeNamesFindTheirRowBeforeTheSharedCode) {
  EXPECT_EQ(FindSymbology(L"micro 417", kVSymPdf417)->TypeName(), L"Micro 417");
  EXPECT_EQ(FindSymbology(L"", kVSymPdf417)->TypeName(), L"PDF 417");
  EXPECT_EQ(FindSymbology(L"UPCE5", kVSymUpcAddOn)->TypeName(), L"UPCE5");
  EXPECT_EQ(FindSymbology(L"", kVSymUpcAddOn)->TypeName(), L"UPCE2");
  EXPECT_EQ(FindSymbology(L"Code39", 999), nullptr);
}

}  // namespace
}  // namespace vellum
