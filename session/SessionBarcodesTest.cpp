// Barcode commands against the recording engine: type dispatch, data checks,
// geometry, options, the data source chosen by the parameter count, and the
// named builders and validators.

#include <map>

#include "intake/Notifications.h"
#include "session/SessionTestHarness.h"

namespace {

// A Code 39 command (type name included) with `changes` applied, cut or
// padded with empty strings to `count`. At 300 dpi and 1000 units per inch,
// x 30, y 60 and height 150 dots are 100, 200 and 500 units.
std::vector<std::wstring> BarcodeParams(const std::map<size_t, std::wstring>& changes = {},
                                        size_t count = 11) {
  std::vector<std::wstring> p = {L"Code 39", L"ABC123", L"30", L"60",  L"150", L"0",
                                 L"T",       L"BOTTOM", L"20", L"3:1", L"F"};
  for (const auto& [i, v] : changes) {
    if (i >= p.size()) p.resize(i + 1);
    p[i] = v;
  }
  p.resize(count);
  return p;
}

class BarcodeTest : public SessionTest {
 protected:
  // Runs one barcode command on a fresh label; the barcode made, or null.
  const RecordedObject* Build(std::vector<std::wstring> params, int32_t kind = BARCODE) {
    Run({Cmd(START_LABEL), Cmd(kind, std::move(params))});
    return engine.Objects().empty() ? nullptr : engine.Objects().back().get();
  }
  bool Logged(const std::string& line) const { return Log().find(line) != std::string::npos; }
};

TEST_F(BarcodeTest, TypeNamesMatchWithoutRegardToCase) {
  struct Case {
    const wchar_t* name;
    const wchar_t* typeName;  // null: rejected
    int32_t symbology;
  };
  const Case cases[] = {
      {L"code 39", L"Code 39", kVSymCode39},
      {L"CODE 39", L"Code 39", kVSymCode39},
      {L"micro 417", L"Micro 417", kVSymPdf417},
      {L"ean/jan-8", L"EAN/JAN-8", kVSymEan8},
      {L"Code39", nullptr, 0},
      {L"", nullptr, 0},
  };
  for (const Case& c : cases) {
    const std::wstring data = c.symbology == kVSymEan8 ? L"1234567" : L"ABC";
    const RecordedObject* barcode = Build(BarcodeParams({{0, c.name}, {1, data}}));
    if (!c.typeName) {
      EXPECT_EQ(barcode, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(barcode, nullptr) << c.name;
    EXPECT_EQ(barcode->type, kVObjBarcode);
    EXPECT_EQ(barcode->barcodeFormat.typeName, c.typeName);
    EXPECT_EQ(barcode->barcodeLayout.symbology, c.symbology);
  }
  EXPECT_TRUE(Logged("Invalid Barcode Type: Code39\r\n"));
}

TEST_F(BarcodeTest, DataIsCheckedAndUpcEanLengthsFixed) {
  struct Case {
    const wchar_t* type;
    const wchar_t* data;
    const wchar_t* encoded;  // null: nothing drawn
    const char* logged;      // null: nothing expected
  };
  const Case cases[] = {
      {L"Code 39", L"abc-12 $", L"abc-12 $", nullptr},
      {L"Code 39", L"AB#1", nullptr, "Invalid Data for BarCode 39"},
      {L"QRCode", L"A:B", L"A:B", nullptr},
      {L"Code 16K", L"A:B", nullptr, "Invalid Data for BarCode 16K"},
      {L"Interleaved 2-of-5", L"12a", nullptr, "Invalid Data for Barcode Interleaved 2 of 5"},
      {L"Maxicode", L"#{}", L"#{}", nullptr},
      {L"UPCA", L"123", L"00000000123",
       "Invalid length for Barcode UPCA, less than 11 Characters, will be padded with 0"},
      {L"UPCA", L"1234567890123", L"12345678901",
       "Invalid length for Barcode UPCA, Longer then 11 characters, will be truncated"},
      {L"EAN/JAN-13", L"12345678901X", nullptr, "Invalid Data for Barcode EAN13"},
      {L"EAN/JAN-8", L"123", L"0000123",
       "Invalid length for Barcode EAN8, less than 7 Characters, will be padded with 0"},
  };
  for (const Case& c : cases) {
    const RecordedObject* barcode = Build(BarcodeParams({{0, c.type}, {1, c.data}}));
    if (c.encoded) {
      ASSERT_NE(barcode, nullptr) << c.data;
      EXPECT_EQ(barcode->barcodeFormat.data, c.encoded);
    } else {
      EXPECT_EQ(barcode, nullptr) << c.data;
    }
    if (c.logged) {
      EXPECT_TRUE(Logged(c.logged)) << c.logged;
    }
  }
}

TEST_F(BarcodeTest, GeometryIsConvertedAndRotationTakenModulo360) {
  struct Case {
    const wchar_t* rotation;
    int32_t expected;
  };
  const Case cases[] = {{L"450", 90}, {L"-90", -90}, {L"360", 0}, {L"-450", -90}, {L"x", 0}};
  for (const Case& c : cases) {
    const RecordedObject* barcode = Build(BarcodeParams({{5, c.rotation}}));
    ASSERT_NE(barcode, nullptr);
    EXPECT_EQ(barcode->rotation, c.expected) << c.rotation;
    EXPECT_EQ(barcode->rect.left, 100);
    EXPECT_EQ(barcode->rect.top, 200);
    EXPECT_EQ(barcode->rect.right, 3100);
    EXPECT_EQ(barcode->rect.bottom, 700);
    EXPECT_FLOAT_EQ(barcode->barcodeFormat.heightInches, 0.5f);
    EXPECT_FLOAT_EQ(barcode->barcodeLayout.heightInches, 0.5f);
  }
}

TEST_F(BarcodeTest, HumanReadableDensityRatioAndCheckCharacter) {
  struct Case {
    const wchar_t* type;
    const wchar_t *shown, *where, *density, *ratio, *check;
    int32_t human, mils, densityIndex;
    float ratioValue;
    int32_t checkCharacter;
  };
  const Case cases[] = {
      {L"Code 39", L"T", L"BOTTOM", L"24", L"2.5:1", L"T", 2, 20, 1, 2.5f, 1},
      {L"Code 39", L"T", L"TOP", L"25", L"2:1", L"F", 1, 30, 2, 2.0f, 0},
      {L"Code 39", L"T", L"top", L"85", L"3:1", L"t", 2, 20, 1, 3.0f, 0},
      {L"Code 39", L"F", L"TOP", L"10", L"", L"T", 0, 10, 0, 3.0f, 1},
      {L"Code 39", L"t", L"TOP", L"80", L"2", L"T", 0, 80, 7, 2.0f, 1},
      {L"EAN/JAN-13", L"T", L"BOTTOM", L"20", L"2.5", L"T", 2, 20, 1, 2.5f, 0},
  };
  for (const Case& c : cases) {
    const RecordedObject* barcode = Build(BarcodeParams({{0, c.type},
                                                         {1, L"123456789012"},
                                                         {6, c.shown},
                                                         {7, c.where},
                                                         {8, c.density},
                                                         {9, c.ratio},
                                                         {10, c.check}}));
    ASSERT_NE(barcode, nullptr);
    const VBarcodeFormat& format = barcode->barcodeFormat;
    const VBarcodeLayout& layout = barcode->barcodeLayout;
    EXPECT_EQ(format.humanReadable, c.human) << c.density;
    EXPECT_EQ(layout.humanReadable, c.human);
    EXPECT_EQ(format.densityMils, c.mils);
    EXPECT_EQ(layout.densityIndex, c.densityIndex);
    EXPECT_FLOAT_EQ(format.ratio, c.ratioValue);
    EXPECT_EQ(format.checkCharacter, c.checkCharacter);
    EXPECT_EQ(layout.checkCharacter, c.checkCharacter);
    EXPECT_EQ(layout.humanReadableFont, 2);
    EXPECT_EQ(layout.quietZones, 1);
    EXPECT_EQ(format.quietZones, 0);
  }
}

TEST_F(BarcodeTest, TheParameterCountDecidesTheDataSource) {
  enum Expect { kStatic, kPrompt, kSequence };
  struct Case {
    int32_t kind;
    size_t count;
    Expect expect;
  };
  const Case cases[] = {
      {BARCODE, 12, kPrompt},   {PROMPT_BARCODE, 11, kStatic}, {SEQUENCE_BARCODE, 16, kSequence},
      {BARCODE, 16, kSequence}, {PROMPT_BARCODE, 13, kStatic}, {SEQUENCE_BARCODE, 17, kStatic},
  };
  for (const Case& c : cases) {
    window.Clear();
    const std::map<size_t, std::wstring> extra = {
        {11, L"Scan it"}, {12, L"7"}, {13, L"25"}, {14, L"PRE-"}, {15, L"-POST"}};
    const RecordedObject* barcode = Build(BarcodeParams(extra, c.count), c.kind);
    ASSERT_NE(barcode, nullptr) << c.count;
    EXPECT_EQ(barcode->prompted, c.expect == kPrompt ? 1 : 0) << c.count;
    EXPECT_EQ(window.Codes(), (c.expect == kPrompt ? std::vector<int32_t>{NOTIFY_PROMPT_CREATED}
                                                   : std::vector<int32_t>{}));
    if (c.expect == kPrompt) {
      EXPECT_EQ(barcode->promptText, L"Scan it");
      EXPECT_EQ(barcode->promptDefault, L"ABC123");
      EXPECT_EQ(barcode->promptCaption, L"Message");
    }
    EXPECT_EQ(barcode->dataSource, c.expect == kSequence ? kVSourceSequence : kVSourceStatic);
    if (c.expect == kSequence) {
      EXPECT_EQ(barcode->sequenceStart, L"Scan it");
      EXPECT_EQ(barcode->sequenceIncrement, 7);
      EXPECT_EQ(barcode->sequenceCount, 25);
      EXPECT_EQ(barcode->sequencePrefix, L"PRE-");
      EXPECT_EQ(barcode->sequencePostfix, L"-POST");
      EXPECT_EQ(session.VariableDataKind(), 1);
      EXPECT_EQ(session.LargestLabelCount(), 25);
    }
  }
}

TEST_F(BarcodeTest, TheBarcodeIsSelectedBeforeItsFormatIsSet) {
  Build(BarcodeParams());
  const std::vector<RecordedCall>& calls = engine.Calls();
  auto at = [&](std::string_view name) {
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].name == name) return i;
    }
    return calls.size();
  };
  EXPECT_LT(at("CreateNewObject"), at("SetSelectByObject"));
  EXPECT_LT(at("SetSelectByObject"), at("SetBarcodeFormat"));
  EXPECT_LT(at("SetBarcodeFormat"), at("SetObjectAutoSize"));
  EXPECT_LT(at("SetObjectAutoSize"), at("SetBarcodeLayout"));
  EXPECT_LT(at("SetBarcodeLayout"), at("RotateSelectedObject"));
}

TEST_F(BarcodeTest, ShortRecordsAndMissingEnginesDrawNothing) {
  EXPECT_EQ(Build(BarcodeParams({}, 10)), nullptr);
  EXPECT_TRUE(Logged("Command BARCODE skipped"));
  std::vector<std::wstring> empty;
  EXPECT_FALSE(session.CreateBarCode(empty, DATA_SOURCE_STATIC));

  TestSession headless(nullptr);
  std::vector<std::wstring> params = BarcodeParams();
  EXPECT_TRUE(headless.CreateBarCode(params, DATA_SOURCE_STATIC));
}

TEST_F(BarcodeTest, NamedBuildersAndValidatorsAreTheirRows) {
  Run({Cmd(START_LABEL)});
  std::vector<std::wstring> upca = BarcodeParams({{1, L"42"}});
  upca.erase(upca.begin());
  session.CreateBarCode_UPCA(upca);
  std::vector<std::wstring> ean = BarcodeParams({{1, L"123456789012"}, {10, L"T"}});
  ean.erase(ean.begin());
  session.CreateBarCode_EAN13(ean);
  ASSERT_EQ(engine.Objects().size(), 2u);
  EXPECT_EQ(engine.Objects()[0]->barcodeFormat.typeName, L"UPCA");
  EXPECT_EQ(engine.Objects()[0]->barcodeFormat.data, L"00000000042");
  EXPECT_EQ(engine.Objects()[1]->barcodeFormat.typeName, L"EAN/JAN-13");
  EXPECT_EQ(engine.Objects()[1]->barcodeFormat.checkCharacter, 0);

  std::wstring data = L"1234567890123";
  EXPECT_TRUE(session.ValidateBarcode_UPCA(data));
  EXPECT_EQ(data, L"12345678901");
  std::wstring lower = L"abc-1", hash = L"A#", letters = L"12A", anything = L"\x01{}";
  EXPECT_TRUE(session.ValidateBarcode_Code39(lower));
  EXPECT_FALSE(session.ValidateBarcode_Code39(hash));
  EXPECT_FALSE(session.ValidateBarcode_I2OF5(letters));
  EXPECT_TRUE(session.ValidateBarcode_Maxicode(anything));
}

}  // namespace
