// The command table and the barcode table: one row per keyword, each
// keyword found by itself, and the barcode rows the command table serves as
// the barcode table says.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "parsers/zpl/ZPLBarcodeTable.h"
#include "parsers/zpl/ZPLCommandTable.h"
#include "parsers/zpl/ZPLParser.h"
#include "parsers/zpl/full/ZPLFullParser.h"

namespace {

TEST(ZPLCommandTableTest, EveryKeywordHasOneRowThatServesADialect) {
  std::set<std::wstring_view> keywords;
  for (const ZPLCommandRow& row : ZPLCommandTable::Rows()) {
    const std::string name(row.keyword.begin(), row.keyword.end());
    EXPECT_TRUE(keywords.insert(row.keyword).second) << name;
    EXPECT_TRUE(row.device != nullptr || row.full != nullptr) << name;
    EXPECT_EQ(ZPLCommandTable::Find(std::wstring(row.keyword) + L"1,2"), &row) << name;
  }
  EXPECT_EQ(ZPLCommandTable::Find(L"^ZZ"), nullptr);
  EXPECT_EQ(ZPLCommandTable::Find(L"^"), nullptr);
  EXPECT_EQ(ZPLCommandTable::Find(L"^AD"), ZPLCommandTable::Find(L"^A0N,30,30"));
}

TEST(ZPLCommandTableTest, BarcodeRowsAreServedAsTheBarcodeTableSays) {
  for (const ZPLBarcodeRow& barcode : ZplBarcodeRows()) {
    const std::string name(barcode.keyword.begin(), barcode.keyword.end());
    const ZPLCommandRow* row = ZPLCommandTable::Find(barcode.keyword);
    ASSERT_NE(row, nullptr) << name;
    EXPECT_EQ(row->device != nullptr, barcode.device.known) << name;
    EXPECT_NE(row->full, nullptr) << name;
    EXPECT_EQ(FindZplBarcode(std::wstring(barcode.keyword) + L"N,50"), &barcode) << name;
    // The device reads whatever the full dialect has no reading of its own for.
    EXPECT_TRUE(barcode.device.known || barcode.full.known) << name;
  }
  EXPECT_EQ(FindZplBarcode(L"^BY2"), nullptr);
}

}  // namespace
