// Typeset text records (the full ZPL dialect's): the appended positions reach
// the engine's text format and font width; records without them do not.

#include "record/CommandRecord.h"
#include "session/SessionTestHarness.h"

namespace {

using record::TextParam;

class TypesetTest : public SessionTest {
 protected:
  TypesetTest() { session.SetSystemFonts({Font(L"Arial")}); }

  const RecordedObject& Make(const std::map<size_t, std::wstring>& typeset) {
    std::map<size_t, std::wstring> changes = {{TextParam::kSizing, L"FREEFORM"}};
    changes.insert(typeset.begin(), typeset.end());
    Build(TEXT, TextParams(changes, TextParam::kTypeset));
    EXPECT_EQ(engine.Objects().size(), 1u);
    return *engine.Objects().at(0);
  }
};

TEST_F(TypesetTest, AppendedPositionsReachTheTextFormat) {
  const RecordedObject& o = Make({{TextParam::kCellHeight, L"40"},
                                  {TextParam::kCapHeight, L"30"},
                                  {TextParam::kBaseline, L"31"},
                                  {TextParam::kAdvance, L"20"},
                                  {TextParam::kWidthPercent, L"150"},
                                  {TextParam::kBlockWidth, L"400"},
                                  {TextParam::kBlockLines, L"3"},
                                  {TextParam::kBlockSpacing, L"-5"},
                                  {TextParam::kBlockJustify, L"J"},
                                  {TextParam::kHangingIndent, L"12"},
                                  {TextParam::kReverseBelow, L"T"},
                                  {TextParam::kOriginKind, L"BASELINE"},
                                  {TextParam::kOriginJustify, L"R"}});
  const VTextFormat& f = o.textFormat;
  EXPECT_EQ(f.cellHeightDots, 40.0f);
  EXPECT_EQ(f.capHeightDots, 30.0f);
  EXPECT_EQ(f.baselineDots, 31.0f);
  EXPECT_EQ(f.advanceDots, 20.0f);
  EXPECT_EQ(f.blockWidthDots, 400.0f);
  EXPECT_EQ(f.blockLines, 3);
  EXPECT_EQ(f.blockSpacingDots, -5.0f);
  EXPECT_EQ(f.blockJustify, kVJustifyBoth);
  EXPECT_EQ(f.hangingIndentDots, 12.0f);
  EXPECT_EQ(f.reverseBelow, 1);
  EXPECT_EQ(f.originKind, kVOriginBaseline);
  EXPECT_EQ(f.originRight, 1);
  EXPECT_EQ(engine.Trace({"SetTextFontSize"}), Trace{L"SetTextFontSize(2, 0, 12, 0, 1.5, true)"});
}

TEST_F(TypesetTest, WordsMapAndNonsenseFallsBack) {
  const std::tuple<std::wstring, std::wstring, std::wstring, int32_t, int32_t, int32_t> cases[] = {
      // justify, origin, lines -> blockJustify, originKind, blockLines
      {L"C", L"FOLLOW", L"2", kVJustifyCentre, kVOriginFollow, 2},
      {L"R", L"TOP", L"0", kVJustifyRight, kVOriginTop, 1},
      {L"x", L"baseline", L"-3", kVJustifyLeft, kVOriginTop, 1},
  };
  for (const auto& [justify, origin, lines, j, k, n] : cases) {
    SCOPED_TRACE(justify);
    const RecordedObject& o = Make({{TextParam::kCellHeight, L"10"},
                                    {TextParam::kBlockJustify, justify},
                                    {TextParam::kOriginKind, origin},
                                    {TextParam::kBlockLines, lines}});
    EXPECT_EQ(o.textFormat.blockJustify, j);
    EXPECT_EQ(o.textFormat.originKind, k);
    EXPECT_EQ(o.textFormat.blockLines, n);
  }
}

// Without a cell height the record is an ordinary free-form text, however
// long it is.
TEST_F(TypesetTest, RecordsWithoutACellHeightAreUntouched) {
  const RecordedObject& o = Make({{TextParam::kBlockWidth, L"400"}, {TextParam::kAdvance, L"9"}});
  EXPECT_EQ(o.textFormat.cellHeightDots, 0.0f);
  EXPECT_EQ(o.textFormat.blockWidthDots, 0.0f);
  EXPECT_EQ(engine.Trace({"SetTextFontSize"}), Trace{L"SetTextFontSize(2, 0, 12, 0, 0, true)"});
}

// The full dialect's print width rides on LABEL_LENGTH after the length.
TEST_F(TypesetTest, LabelLengthCarriesAWidth) {
  const std::pair<std::vector<std::wstring>, std::wstring> cases[] = {
      {{L"600", L"1200"}, L"width=4 gap=0 length=2 media=0 fixed=1 margin=0 across=1 down=1"},
      {{L"", L"600"}, L"width=2 gap=0.125 length=0 media=0 fixed=0 margin=0 across=1 down=1"},
      {{L"600", L""}, L"width=0 gap=0 length=2 media=0 fixed=1 margin=0 across=1 down=1"},
  };
  for (const auto& [params, data] : cases) {
    engine.ClearCalls();
    engine.labelData = VLabelData{};
    engine.labelData.gapInches = 0.125;
    Run({Cmd(LABEL_LENGTH, params)});
    EXPECT_EQ(engine.Trace({"SetLabelData"}), Trace{L"SetLabelData(" + data + L")"});
  }
  engine.ClearCalls();
  Run({Cmd(LABEL_LENGTH, {L"", L""})});
  EXPECT_EQ(engine.CountOf("SetLabelData"), 0u);
}

}  // namespace
