#include <gtest/gtest.h>

#include <span>
#include <string>
#include <tuple>

#include "platform/Text.h"
#include "session/BarcodeTypes.h"

namespace {

// The table adds the session's columns to the vocabulary's rows: one row per
// BarcodeId in its order, found by its name in any case, and the retail types'
// fixed lengths (the vocabulary's digit counts) checked as digits.
TEST(BarcodeTypesTest, OneRowPerVocabularyRowInItsOrder) {
  const std::span<const BarcodeType> types = BarcodeTypes();
  ASSERT_EQ(types.size(), kBarcodeVocabulary.size());
  for (size_t i = 0; i < types.size(); ++i) {
    const BarcodeVocabularyRow& word = kBarcodeVocabulary[i];
    const BarcodeType& type = types[i];
    SCOPED_TRACE(platform::WideToUtf8(word.name));
    EXPECT_EQ(type.id, word.id);
    EXPECT_EQ(&GetBarcodeType(word.id), &type);
    EXPECT_EQ(FindBarcodeType(platform::ToLower(word.name)), &type);
    if (type.FixedLength() > 0) {
      EXPECT_EQ(type.check, BarcodeCheck::kDigits);
    }
    EXPECT_EQ(type.invalidDataMessage.empty(), type.check == BarcodeCheck::kNone);
  }
  EXPECT_EQ(FindBarcodeType(L"Code39"), nullptr);
}

TEST(BarcodeTypesTest, CharacterSetBoundaries) {
  using enum BarcodeCheck;
  const std::tuple<BarcodeCheck, const wchar_t*, bool> cases[] = {
      {kSetA, L"", true},      {kSetA, L"az09-.$/+% ", true},  {kSetA, L"!", false},
      {kSetA, L":", false},    {kSetA, L"_", false},           {kSetB, L"HELLO!'", true},
      {kSetB, L"A:B", false},  {kSetC, L"http://x.y", true},   {kSetC, L"a?b", false},
      {kSetC, L"\xE9", false}, {kDigits, L"0123456789", true}, {kDigits, L"1 2", false}};
  for (const auto& [check, data, valid] : cases) {
    EXPECT_EQ(ValidateBarCode(data, BarcodeCharacterSet(check)), valid) << data;
  }
}

TEST(BarcodeTypesTest, UpcAndEanArePaddedOrCutBeforeTheCheck) {
  struct Case {
    BarcodeId id;
    std::wstring data, encoded;
    bool valid;
    std::wstring message;
  };
  const Case cases[] = {
      {BarcodeId::kUPCA, L"12345678901", L"12345678901", true, L""},
      {BarcodeId::kUPCA, L"", L"00000000000", true,
       L"Invalid length for Barcode UPCA, less than 11 Characters, will be padded with 0"},
      {BarcodeId::kEAN13, L"123456789012X", L"123456789012", true,
       L"Invalid length for Barcode EAN13, Longer then 12 characters, will be truncated"},
      {BarcodeId::kUPCE2, L"1", L"0000000000001", true,
       L"Invalid length for Barcode UPCE2, less than 13 Characters, will be padded with 0"},
      {BarcodeId::kUPCE5, L"A", L"000000000000000A", false,
       L"Invalid length for Barcode UPCE5, less than 16 Characters, will be padded with 0"},
  };
  for (Case c : cases) {
    const BarcodeDataCheck check = CheckBarcodeData(GetBarcodeType(c.id), c.data);
    EXPECT_EQ(c.data, c.encoded);
    EXPECT_EQ(check.valid, c.valid) << c.encoded;
    EXPECT_EQ(check.lengthMessage, c.message);
  }
}

TEST(BarcodeTypesTest, DensityRoundsToTensAndFallsBackTo20) {
  struct Case {
    const wchar_t* text;
    int32_t rounded, mils;
  };
  const Case cases[] = {
      {L"10", 10, 10}, {L"14", 10, 10},   {L"15", 20, 20},  {L"24.9", 20, 20},
      {L"25", 30, 30}, {L"84", 80, 80},   {L"85", 90, 20},  {L"4", 0, 20},
      {L"", 0, 20},    {L"-30", -20, 20}, {L"7e1", 70, 70}, {L"1e999", 1000000000, 20},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundBarcodeDensity(c.text), c.rounded) << c.text;
    EXPECT_EQ(BarcodeDensityMils(c.rounded), c.mils) << c.text;
  }
}

TEST(BarcodeTypesTest, RatioStrings) {
  const std::pair<const wchar_t*, float> cases[] = {
      {L"2.0", 2.0f}, {L"2:1", 2.0f}, {L"2", 2.0f}, {L"2.5", 2.5f}, {L"2.5:1", 2.5f},
      {L"3:1", 3.0f}, {L"3.5", 3.0f}, {L"", 3.0f},  {L" 2", 3.0f},  {L"2.50", 3.0f},
  };
  for (const auto& [text, ratio] : cases) EXPECT_EQ(BarcodeRatio(text), ratio) << text;
}

}  // namespace
