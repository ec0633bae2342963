#include <gtest/gtest.h>

#include "platform/Text.h"
#include "vellum/BarcodeData.h"

namespace vellum {
namespace {

TEST(BarcodeDataTest, UpcANumbersTakeTheirUpcEFormWhereTheyHaveOne) {
  const struct {
    std::wstring upcA, upcE;
  } cases[] = {
      {L"01200000345", L"0123450"},  // manufacturer ends 000: room for three product digits
      {L"01210000345", L"0123451"},  // ... 100
      {L"01220000099", L"0120992"},  // ... 200
      {L"01230000045", L"0123453"},  // ends 00: two product digits, then 3
      {L"01234000005", L"0123454"},  // ends 0: one product digit, then 4
      {L"01234500007", L"0123457"},  // product 5..9 after a full manufacturer
      {L"11234500009", L"1123459"},  // number system 1
      {L"01234500003", L""},         // product 1..4 needs a manufacturer zero
      {L"01230000145", L""},         // product too long for two zeros
      {L"21200000345", L""},         // number system 2 has no UPC-E
      {L"0120000034", L""},          // ten digits
      {L"0120000034X", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompressUpcE(c.upcA), c.upcE) << platform::WideToUtf8(c.upcA);
  }
}

TEST(BarcodeDataTest, DataBecomesZintInputByTheRowsRule) {
  const struct {
    const wchar_t* type;
    std::wstring data;
    bool ok;
    std::string bytes;  // zint's input when ok
  } cases[] = {
      {L"Code 39", L"abc-1", true, "ABC-1"},  // upper-cased by us, not silently by zint
      {L"Code 128 Auto", L"abc-1", true, "abc-1"},
      {L"Codabar", L"123", true, "A123B"},
      {L"Codabar", L"c123d", true, "C123D"},
      {L"EAN/JAN-13", L"12345", true, "000000012345"},  // padded like the session pads
      {L"EAN/JAN-13", L"1234567890123", false, ""},     // never cut
      {L"EAN/JAN-8", L"1234567", true, "1234567"},      // seven digits stay EAN-8
      {L"EAN/JAN-8", L"12345678", false, ""},           // eight would make zint an EAN-13
      {L"UPCA", L"12a", false, ""},
      {L"UPCE2", L"0120000034512", true, "0123450+12"},
      {L"UPCE5", L"0120000034551234", true, "0123450+51234"},
      {L"UPCE2", L"0123456789012", false, ""},  // no UPC-E form
      {L"UCC128", L"0109501101530003", true, "[01]09501101530003"},
      {L"UCC128", L"X1", false, ""},
      {L"QRCode", L"", false, ""},
      {L"QRCode", L"caf\x00e9", true, "caf\xc3\xa9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::WideToUtf8(c.type) + " " + platform::WideToUtf8(c.data));
    const SymbologyRow* row = FindSymbology(c.type, 0);
    ASSERT_NE(row, nullptr);
    const ZintInput input = MapBarcodeData(*row, c.data);
    EXPECT_EQ(input.ok, c.ok) << platform::WideToUtf8(input.reason);
    EXPECT_EQ(input.bytes, c.ok ? c.bytes : "");
    EXPECT_EQ(input.reason.empty(), c.ok);
  }
}

}  // namespace
}  // namespace vellum
