// Barcode commands against the recording engine: type dispatch, data checks,
// geometry and options, and the data source chosen by the parameter count.

#include <map>

#include "session/SessionTestHarness.h"

namespace {

using B = record::BarcodeParam;

// A Code 39 command (type name included) with `changes` applied, cut or
// padded to `count`. At 300 dpi and 1000 units per inch, x 30, y 60 and
// height 150 dots are 100, 200 and 500 units.
std::vector<std::wstring> BarcodeParams(const std::map<size_t, std::wstring>& changes = {},
                                        size_t count = B::kRequired) {
  return With(
      {L"Code 39", L"ABC123", L"30", L"60", L"150", L"0", L"T", L"BOTTOM", L"20", L"3:1", L"F"},
      changes, count);
}

using BarcodeTest = SessionTest;

// Names are matched ignoring case; an unknown name or data outside the
// type's set draws nothing, and UPC/EAN data is padded or cut, each logged.
TEST_F(BarcodeTest, TypeNamesSelectARowAndItsDataCheck) {
  const struct {
    const wchar_t *name, *data;
    const wchar_t *typeName, *encoded;  // empty: nothing drawn
    const char* logged;                 // empty: nothing expected
  } cases[] = {
      {L"code 39", L"abc-12", L"Code 39", L"abc-12", ""},
      {L"CODE 39", L"AB#1", L"", L"", "Invalid Data for BarCode 39\r\n"},
      {L"Code39", L"ABC", L"", L"", "Invalid Barcode Type: Code39\r\n"},
      {L"qrcode", L"A:B", L"QRCode", L"A:B", ""},
      {L"Code 16K", L"A:B", L"", L"", "Invalid Data for BarCode 16K\r\n"},
      {L"Maxicode", L"#{}", L"Maxicode", L"#{}", ""},
      {L"UPCA", L"123", L"UPCA", L"00000000123",
       "Invalid length for Barcode UPCA, less than 11 Characters, will be padded with 0\r\n"},
      {L"upca", L"1234567890123", L"UPCA", L"12345678901",
       "Invalid length for Barcode UPCA, Longer then 11 characters, will be truncated\r\n"},
      {L"EAN/JAN-8", L"123", L"EAN/JAN-8", L"0000123",
       "Invalid length for Barcode EAN8, less than 7 Characters, will be padded with 0\r\n"},
      {L"Interleaved 2-of-5", L"12a", L"", L"", "Invalid Data for Barcode Interleaved 2 of 5\r\n"}};
  for (const auto& c : cases) {
    const RecordedObject* barcode =
        Build(BARCODE, BarcodeParams({{B::kType, c.name}, {B::kData, c.data}}));
    EXPECT_TRUE(Logged(c.logged)) << c.logged;
    EXPECT_EQ(barcode ? barcode->barcodeFormat.typeName : L"", c.typeName) << c.name;
    EXPECT_EQ(barcode ? barcode->barcodeFormat.data : L"", c.encoded);
    const BarcodeType* row = barcode ? FindBarcodeType(c.name) : nullptr;
    EXPECT_EQ(barcode ? barcode->barcodeLayout.symbology : 0, row ? row->Symbology() : 0);
  }
}

TEST_F(BarcodeTest, GeometryAndOptionsReachTheEngine) {
  const struct {
    const wchar_t *type, *rotation, *shown, *where, *density, *ratio, *check;
    int32_t engineRotation, human, mils, densityIndex;
    float ratioValue;
    int32_t checkCharacter;
  } cases[] = {{L"Code 39", L"450", L"T", L"BOTTOM", L"24", L"2.5:1", L"T", 90, 2, 20, 1, 2.5f, 1},
               {L"Code 39", L"-90", L"T", L"TOP", L"25", L"2:1", L"F", -90, 1, 30, 2, 2.0f, 0},
               {L"Code 39", L"360", L"T", L"top", L"85", L"3:1", L"t", 0, 2, 20, 1, 3.0f, 0},
               {L"Code 39", L"x", L"F", L"TOP", L"10", L"", L"T", 0, 0, 10, 0, 3.0f, 1},
               {L"EAN/JAN-13", L"0", L"T", L"BOTTOM", L"80", L"2", L"T", 0, 2, 80, 7, 2.0f, 0}};
  for (const auto& c : cases) {
    const RecordedObject* barcode =
        Build(BARCODE, {c.type, L"123456789012", L"30", L"60", L"150", c.rotation, c.shown, c.where,
                        c.density, c.ratio, c.check});
    ASSERT_NE(barcode, nullptr);
    const VBarcodeFormat& format = barcode->barcodeFormat;
    const VBarcodeLayout& layout = barcode->barcodeLayout;
    EXPECT_EQ(barcode->rotation, c.engineRotation) << c.rotation;
    EXPECT_EQ(Corners(barcode->rect), (std::vector<int32_t>{100, 200, 3100, 700}));
    EXPECT_FLOAT_EQ(format.heightInches, 0.5f);
    EXPECT_EQ(format.humanReadable, c.human) << c.density;
    EXPECT_EQ(layout.humanReadable, c.human);
    EXPECT_EQ(format.densityMils, c.mils);
    EXPECT_EQ(layout.densityIndex, c.densityIndex);
    EXPECT_FLOAT_EQ(format.ratio, c.ratioValue);
    EXPECT_EQ(format.checkCharacter, c.checkCharacter);
    EXPECT_EQ(layout.checkCharacter, c.checkCharacter);
  }
}

TEST_F(BarcodeTest, TheParameterCountDecidesTheDataSource) {
  enum Expect { kStatic, kPrompt, kSequence };
  const std::tuple<int32_t, size_t, Expect> cases[] = {
      {BARCODE, B::kWithPrompt, kPrompt},
      {PROMPT_BARCODE, B::kRequired, kStatic},
      {SEQUENCE_BARCODE, B::kWithSequence, kSequence},
      {PROMPT_BARCODE, 13, kStatic}};
  const std::map<size_t, std::wstring> extra = {{B::kPrompt, L"Scan it"},
                                                {B::kIncrement, L"7"},
                                                {B::kLabelCount, L"25"},
                                                {B::kPrefix, L"PRE-"},
                                                {B::kPostfix, L"-POST"}};
  for (const auto& [kind, count, expect] : cases) {
    window.Clear();
    const RecordedObject* barcode = Build(kind, BarcodeParams(extra, count));
    ASSERT_NE(barcode, nullptr) << count;
    EXPECT_EQ(barcode->prompted, expect == kPrompt ? 1 : 0) << count;
    EXPECT_EQ(window.Codes(), expect == kPrompt ? Codes{NOTIFY_PROMPT_CREATED} : Codes{});
    EXPECT_EQ(barcode->promptText, expect == kPrompt ? L"Scan it" : L"");
    EXPECT_EQ(barcode->promptDefault, expect == kPrompt ? L"ABC123" : L"");
    EXPECT_EQ(barcode->dataSource, expect == kSequence ? kVSourceSequence : kVSourceStatic);
    EXPECT_EQ(session.LargestLabelCount(), expect == kSequence ? 25 : 1);
    EXPECT_EQ(
        engine.Trace({"SetSequence"}),
        expect == kSequence ? Trace{L"SetSequence(Scan it, 25, 7, 1, PRE-, -POST, )"} : Trace{});
  }
}

}  // namespace
