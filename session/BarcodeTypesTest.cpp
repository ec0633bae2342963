#include <gtest/gtest.h>

#include <set>
#include <string>

#include "session/BarcodeTypes.h"

namespace {

TEST(BarcodeTypesTest, NamesMatchWithoutRegardToCaseAndNothingElse) {
  struct Case {
    const wchar_t* name;
    const wchar_t* expected;  // null: no row
  };
  const Case cases[] = {
      {L"Code 39", L"Code 39"},
      {L"code 39", L"Code 39"},
      {L"CODE 39", L"Code 39"},
      {L"Code39", nullptr},
      {L" Code 39", nullptr},
      {L"ean/jan-13", L"EAN/JAN-13"},
      {L"INTERLEAVED 2-OF-5", L"Interleaved 2-of-5"},
      {L"qrcode", L"QRCode"},
      {L"", nullptr},
  };
  for (const Case& c : cases) {
    const BarcodeType* type = FindBarcodeType(c.name);
    if (c.expected == nullptr) {
      EXPECT_EQ(type, nullptr) << c.name;
    } else {
      ASSERT_NE(type, nullptr) << c.name;
      EXPECT_EQ(type->name, c.expected);
    }
  }
}

TEST(BarcodeTypesTest, RowsAreIndexedByIdAndNamedUniquely) {
  std::set<std::wstring_view> names, builders, validators;
  for (const BarcodeType& type : BarcodeTypes()) {
    EXPECT_EQ(&GetBarcodeType(type.id), &type);
    EXPECT_TRUE(names.insert(type.name).second);
    EXPECT_TRUE(builders.insert(type.builder).second);
    EXPECT_TRUE(validators.insert(type.validator).second);
  }
  EXPECT_EQ(names.size(), 23u);
}

TEST(BarcodeTypesTest, CharacterSetBoundaries) {
  struct Case {
    BarcodeCheck check;
    const wchar_t* data;
    bool valid;
  };
  const Case cases[] = {
      {BarcodeCheck::kSetA, L"", true},
      {BarcodeCheck::kSetA, L"az09-.$/+% ", true},  // lower case is upper-cased first
      {BarcodeCheck::kSetA, L"AB#", false},
      {BarcodeCheck::kSetA, L"!", false},
      {BarcodeCheck::kSetA, L"'", false},
      {BarcodeCheck::kSetA, L":", false},
      {BarcodeCheck::kSetA, L"_", false},
      {BarcodeCheck::kSetB, L"HELLO!'", true},
      {BarcodeCheck::kSetB, L"A:B", false},
      {BarcodeCheck::kSetC, L"http://x.y", true},
      {BarcodeCheck::kSetC, L"a?b", false},
      {BarcodeCheck::kSetC, L"\xE9", false},  // upper-cases to a letter outside the set
      {BarcodeCheck::kDigits, L"0123456789", true},
      {BarcodeCheck::kDigits, L"12A", false},
      {BarcodeCheck::kDigits, L"1 2", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidateBarCode(c.data, BarcodeCharacterSet(c.check)), c.valid) << c.data;
  }
  EXPECT_EQ(BarcodeCharacterSet(BarcodeCheck::kSetA).size(), 43u);
}

TEST(BarcodeTypesTest, DataCheckUsesEachRowsSet) {
  struct Case {
    BarcodeId id;
    std::wstring data;
    bool valid;
  };
  const Case cases[] = {
      {BarcodeId::kCode39, L"abc-123", true},     {BarcodeId::kCode39, L"A#1", false},
      {BarcodeId::kCode49, L"HI!", true},         {BarcodeId::kCode93, L"HI!", false},
      {BarcodeId::kQRCode, L"A:B", true},         {BarcodeId::kPostnet, L"A:B", false},
      {BarcodeId::kInterleaved2Of5, L"12", true}, {BarcodeId::kInterleaved2Of5, L"1A", false},
      {BarcodeId::kMaxicode, L"#@{}\x1F", true},  {BarcodeId::kDatamatrix, L"{", false},
  };
  for (Case c : cases) {
    BarcodeDataCheck check = CheckBarcodeData(GetBarcodeType(c.id), c.data);
    EXPECT_EQ(check.valid, c.valid) << c.data;
    EXPECT_TRUE(check.lengthMessage.empty());
  }
}

TEST(BarcodeTypesTest, UpcAndEanArePaddedOrCut) {
  struct Case {
    BarcodeId id;
    std::wstring data;
    std::wstring encoded;
    bool valid;
    std::wstring message;
  };
  const Case cases[] = {
      {BarcodeId::kUPCA, L"123", L"00000000123", true,
       L"Invalid length for Barcode UPCA, less than 11 Characters, will be padded with 0"},
      {BarcodeId::kUPCA, L"1234567890123", L"12345678901", true,
       L"Invalid length for Barcode UPCA, Longer then 11 characters, will be truncated"},
      {BarcodeId::kUPCA, L"12345678901", L"12345678901", true, L""},
      {BarcodeId::kUPCA, L"", L"00000000000", true,
       L"Invalid length for Barcode UPCA, less than 11 Characters, will be padded with 0"},
      {BarcodeId::kUPCA, L"1234567890X", L"1234567890X", false, L""},
      // Cut first, then checked: a bad character beyond the length is gone.
      {BarcodeId::kEAN13, L"123456789012X", L"123456789012", true,
       L"Invalid length for Barcode EAN13, Longer then 12 characters, will be truncated"},
      {BarcodeId::kEAN13, L"12345678901", L"012345678901", true,
       L"Invalid length for Barcode EAN13, less than 12 Characters, will be padded with 0"},
      {BarcodeId::kEAN8, L"12345678", L"1234567", true,
       L"Invalid length for Barcode EAN8, Longer then 7 characters, will be truncated"},
      {BarcodeId::kUPCE2, L"1", L"0000000000001", true,
       L"Invalid length for Barcode UPCE2, less than 13 Characters, will be padded with 0"},
      {BarcodeId::kUPCE5, L"A", L"000000000000000A", false,
       L"Invalid length for Barcode UPCE5, less than 16 Characters, will be padded with 0"},
  };
  for (Case c : cases) {
    BarcodeDataCheck check = CheckBarcodeData(GetBarcodeType(c.id), c.data);
    EXPECT_EQ(c.data, c.encoded);
    EXPECT_EQ(check.valid, c.valid) << c.encoded;
    EXPECT_EQ(check.lengthMessage, c.message);
  }
}

TEST(BarcodeTypesTest, DensityRoundsToTensAndFallsBackTo20) {
  struct Case {
    const wchar_t* text;
    int32_t rounded;
    int32_t mils;
  };
  const Case cases[] = {
      {L"10", 10, 10},   {L"14", 10, 10},
      {L"15", 20, 20},   {L"24", 20, 20},
      {L"25", 30, 30},   {L"24.9", 20, 20},
      {L"80", 80, 80},   {L"84", 80, 80},
      {L"85", 90, 20},   {L"4", 0, 20},
      {L"", 0, 20},      {L"abc", 0, 20},
      {L"-30", -20, 20}, {L" 40x", 40, 40},
      {L"7e1", 70, 70},  {L"1e999", 1000000000, 20},
      {L"60.5", 60, 60}, {L"-1e999", -999999990, 20},
  };
  for (const Case& c : cases) {
    const int32_t rounded = RoundBarcodeDensity(c.text);
    EXPECT_EQ(rounded, c.rounded) << c.text;
    EXPECT_EQ(BarcodeDensityMils(rounded), c.mils) << c.text;
  }
}

TEST(BarcodeTypesTest, RatioStrings) {
  struct Case {
    const wchar_t* text;
    float ratio;
  };
  const Case cases[] = {
      {L"2.0", 2.0f}, {L"2:1", 2.0f}, {L"2", 2.0f}, {L"2.5", 2.5f}, {L"2.5:1", 2.5f},
      {L"3:1", 3.0f}, {L"3.5", 3.0f}, {L"", 3.0f},  {L" 2", 3.0f},  {L"2.50", 3.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(BarcodeRatio(c.text), c.ratio) << c.text;
}

TEST(BarcodeTypesTest, HumanReadableCodes) {
  EXPECT_EQ(HumanReadableCode(false, true), 0);
  EXPECT_EQ(HumanReadableCode(false, false), 0);
  EXPECT_EQ(HumanReadableCode(true, true), 1);
  EXPECT_EQ(HumanReadableCode(true, false), 2);
}

TEST(BarcodeTypesTest, OnlyEanRowsIgnoreTheCheckCharacter) {
  for (const BarcodeType& type : BarcodeTypes()) {
    const bool ean = type.id == BarcodeId::kEAN13 || type.id == BarcodeId::kEAN8;
    EXPECT_EQ(type.checkCharacterAllowed, !ean) << static_cast<int>(type.id);
  }
}

}  // namespace
