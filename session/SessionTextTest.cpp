// Text objects: geometry, sizing modes, justification, flags, fonts, the
// bounding box and the three data sources besides static text.

#include "intake/Notifications.h"
#include "session/SessionTestHarness.h"
#include "testing/CallArgs.h"

namespace {

using Trace = std::vector<std::wstring>;

platform::LOGFONTW Font(const wchar_t* face, int32_t weight = 400) {
  platform::LOGFONTW font;
  font.lfFaceName = face;
  font.lfWeight = weight;
  return font;
}

class TextTest : public SessionTest {
 protected:
  TextTest() { session.SetSystemFonts({Font(L"Arial"), Font(L"Courier")}); }

  // Runs one text command on a fresh label and returns its object.
  const RecordedObject& Make(int32_t kind, const std::vector<std::wstring>& params) {
    engine.ClearCalls();
    Run({Cmd(START_LABEL), Cmd(kind, params)});
    EXPECT_EQ(engine.Objects().size(), 1u);
    return *engine.Objects().front();
  }
};

TEST_F(TextTest, BoxIsConvertedFromDotsToEngineUnits) {
  struct Case {
    int32_t dpi;
    std::vector<std::wstring> xywh;
    VRect rect;
  } cases[] = {
      {300, {L"30", L"60", L"300", L"90"}, {100, 200, 1100, 500}},
      {300, {L"1", L"2", L"1", L"1"}, {3, 6, 6, 9}},  // truncated
      {203, {L"203", L"0", L"406", L"-203"}, {1000, 0, 3000, -1000}},
      {300,
       {L"99999999999", L"-99999999999", L"99999999999", L"-99999999999"},
       {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN}},  // saturated, never wrapped
  };
  for (const Case& c : cases) {
    engine.dpi = c.dpi;
    const RecordedObject& o =
        Make(TEXT, TextParams({{1, c.xywh[0]}, {2, c.xywh[1]}, {3, c.xywh[2]}, {4, c.xywh[3]}}));
    EXPECT_EQ(o.type, kVObjText);
    EXPECT_EQ(callargs::Arg(o.rect), callargs::Arg(c.rect));
  }
}

struct SizingCase {
  const wchar_t* mode;
  int32_t boxBound;
  int32_t autoSize;
  bool sizeSet;
  bool moved;
};

TEST_F(TextTest, SizingModes) {
  const SizingCase cases[] = {
      {L"AUTOSIZE", 1, 1, false, false}, {L"FREEFORM", 0, 0, true, true},
      {L"MANUAL", 1, 0, true, false},    {L"autosize", 1, 0, false, false},
      {L"", 1, 0, false, false},
  };
  for (const SizingCase& c : cases) {
    SCOPED_TRACE(c.mode);
    const RecordedObject& o = Make(TEXT, TextParams({{6, c.mode}, {7, L"14"}}));
    EXPECT_EQ(o.textAlignment.boxBound, c.boxBound);
    EXPECT_EQ(o.textAlignment.autoSize, c.autoSize);
    EXPECT_EQ(engine.Trace({"SetTextFontSize"}),
              c.sizeSet ? Trace{L"SetTextFontSize(2, 0, 14, 0, 0, true)"} : Trace{});
    EXPECT_EQ(engine.CountOf("SetTextFormat"), c.moved ? 1u : 0u);
    if (c.moved) {
      EXPECT_FLOAT_EQ(o.textFormat.xInches, 0.1f);  // 30 dots = 100 units
      EXPECT_FLOAT_EQ(o.textFormat.yInches, 0.2f);
    }
  }
}

TEST_F(TextTest, JustificationAndFlags) {
  struct Case {
    const wchar_t* justification;
    const wchar_t* flag;
    int32_t expectedJustification;
    bool on;
  } cases[] = {{L"L", L"T", kVJustifyLeft, true},   {L"C", L"t", kVJustifyCentre, false},
               {L"R", L"F", kVJustifyRight, false}, {L"x", L"TRUE", kVJustifyRight, false},
               {L"", L"", kVJustifyRight, false},   {L"l", L"T", kVJustifyRight, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.justification);
    const std::wstring f = c.flag;
    const RecordedObject& o =
        Make(TEXT, TextParams({{8, c.justification}, {13, f}, {14, f}, {15, f}, {16, f}, {17, f}}));
    EXPECT_EQ(o.textAlignment.justification, c.expectedJustification);
    EXPECT_EQ(o.bold, c.on);
    EXPECT_EQ(o.italic, c.on);
    EXPECT_EQ(o.underline, c.on);
    EXPECT_EQ(o.textAlignment.reverse, c.on ? 1 : 0);
    EXPECT_EQ(o.textAlignment.vertical, c.on ? 1 : 0);
  }
}

TEST_F(TextTest, AStaticTextIsBuiltInThisOrder) {
  Make(TEXT, TextParams({{10, L"90"}, {11, L"T"}, {12, L"3"}, {13, L"T"}}));
  EXPECT_EQ(
      engine.Trace({"CreateNewObject", "SetSelectByObject", "SetTextFormat", "SetTextFromObject",
                    "SetTextAlignment", "SetTextFontName", "SetTextFontBold", "SetTextFontItalic",
                    "SetTextFontUnderline", "SetTextFontSize", "RotateSelectedObject"}),
      (Trace{L"CreateNewObject(117, (100,200,1100,500), 1)", L"SetSelectByObject(1)",
             L"SetTextFormat(x=0 y=0 width=0 height=0 border=3)",
             L"SetTextFromObject(1, Hello, true)",
             L"SetTextAlignment(boxBound=1 justification=0 verticalCentre=1 reverse=0 "
             L"autoSize=0 vertical=0 wordWrap=1)",
             L"SetTextFontName(2, 0, Arial, 0)", L"SetTextFontBold(2, 0, true, 0)",
             L"SetTextFontItalic(2, 0, false, 0)", L"SetTextFontUnderline(2, 0, false, 0)",
             L"SetTextFontSize(2, 0, 12, 0, 0, true)", L"RotateSelectedObject(90)"}));
  EXPECT_EQ(engine.CountOf("SetDataSource"), 0u);
  EXPECT_EQ(window.Size(), 0u);
}

TEST_F(TextTest, BoundingBoxThickness) {
  struct Case {
    const wchar_t* drawn;
    const wchar_t* thickness;
    int32_t border;
  } cases[] = {{L"T", L"", 1}, {L"T", L"4", 4}, {L"T", L"x", 0}, {L"t", L"4", 0}, {L"F", L"", 0}};
  for (const Case& c : cases) {
    const RecordedObject& o = Make(TEXT, TextParams({{11, c.drawn}, {12, c.thickness}}));
    EXPECT_EQ(o.textFormat.borderThickness, c.border) << c.drawn << "/" << c.thickness;
  }
}

TEST_F(TextTest, FontLookUpIgnoresCaseAndTakesTheFirstMatch) {
  session.SetSystemFonts({Font(L"Arial", 400), Font(L"ARIAL", 700), Font(L"Courier")});
  ASSERT_NE(session.GetSystemFont(L"arial"), nullptr);
  EXPECT_EQ(session.GetSystemFont(L"arial")->lfWeight, 400);
  EXPECT_EQ(session.GetSystemFont(L"COURIER")->lfFaceName, L"Courier");
  EXPECT_EQ(session.GetSystemFont(L"Arial "), nullptr);
  EXPECT_EQ(session.GetSystemFont(L""), nullptr);
  EXPECT_EQ(engine.CountOf("CopyLogicalFont"), 2u + 3u);

  const RecordedObject& o = Make(TEXT, TextParams({{5, L"arial"}}));
  EXPECT_EQ(o.fontName, L"Arial");

  session.SetSystemFonts({});
  EXPECT_EQ(session.GetSystemFont(L"Arial"), nullptr);
}

TEST_F(TextTest, AMissingFontIsLoggedAndTheTextStillDrawn) {
  const RecordedObject& o = Make(TEXT, TextParams({{5, L"Nowhere Sans"}}));
  EXPECT_EQ(o.text, L"Hello");
  EXPECT_EQ(engine.CountOf("SetTextFontName"), 0u);
  EXPECT_NE(Log().find("] Unable to locate font: Nowhere Sans, System Default will be used\r\n"),
            std::string::npos)
      << Log();
}

TEST_F(TextTest, PromptTextHasNoTextOfItsOwnAndIsAnnouncedWhenComplete) {
  size_t callsAtPost = 0;
  class SnapshotWindow : public platform::HostWindow {
   public:
    SnapshotWindow(RecordingEngine& engine, size_t& calls) : engine_(engine), calls_(calls) {}
    void Post(platform::Notification n) override {
      if (n.code == NOTIFY_PROMPT_CREATED) calls_ = engine_.Calls().size();
      codes.push_back(n.code);
    }
    std::vector<int32_t> codes;

   private:
    RecordingEngine& engine_;
    size_t& calls_;
  } snapshot(engine, callsAtPost);
  session.SetMainWindow(&snapshot);

  const RecordedObject& o = Make(PROMPT_TEXT, TextParams({{18, L"Lot number?"}}, 19));
  EXPECT_EQ(o.text, L"");
  EXPECT_EQ(engine.CountOf("SetTextFromObject"), 0u);
  EXPECT_EQ(engine.Trace({"SetDataSource", "SetPrompt"}),
            (Trace{L"SetDataSource(3)", L"SetPrompt(Lot number?, Hello, 0, Message, 1, , )"}));
  EXPECT_EQ(snapshot.codes, (std::vector<int32_t>{NOTIFY_PROMPT_CREATED}));
  EXPECT_EQ(callsAtPost, engine.Calls().size());
  EXPECT_EQ(session.VariableDataKind(), 2);

  Make(PROMPT_TEXT, TextParams({}, 18));
  EXPECT_EQ(engine.Trace({"SetPrompt"}), Trace{L"SetPrompt(, Hello, 0, Message, 1, , )"});
}

TEST_F(TextTest, DateTimeText) {
  const RecordedObject& o = Make(DATE_TIME_TEXT, TextParams({{18, L"yyyy-MM-dd"}}, 19));
  EXPECT_EQ(o.text, L"Hello");
  EXPECT_EQ(engine.Trace({"SetDataSource", "SetDateTimeFormat"}),
            (Trace{L"SetDataSource(2)", L"SetDateTimeFormat(yyyy-MM-dd, 1)"}));
  EXPECT_EQ(session.VariableDataKind(), 0);
  Make(DATE_TIME_TEXT, TextParams());
  EXPECT_EQ(engine.Trace({"SetDateTimeFormat"}), Trace{L"SetDateTimeFormat(, 1)"});
}

TEST_F(TextTest, SequenceTextSetsUpTheSequenceAndTheLargestCount) {
  auto sequence = [](const wchar_t* count) {
    return Cmd(SEQUENCE_TEXT,
               TextParams({{18, L"0010"}, {19, L"5"}, {20, count}, {21, L"A-"}, {22, L"-Z"}}, 23));
  };
  Run({Cmd(START_LABEL), sequence(L"4"), sequence(L"9"), sequence(L"2"), Cmd(PRINT_LABEL)});
  EXPECT_EQ(engine.CallsNamed("SetSequence").at(0).ToString(),
            L"SetSequence(0010, 4, 5, 1, A-, -Z, )");
  EXPECT_EQ(engine.CountOf("SetDataSource"), 3u);
  ASSERT_EQ(engine.prints.size(), 1u);
  const VPrintData& job = engine.prints[0].jobs.at(0);
  EXPECT_EQ(job.variableDataKind, 1);
  EXPECT_EQ(job.labelCount, 9);
  EXPECT_EQ(job.sequencedMark, 1);
}

TEST_F(TextTest, ShortSequenceTextBecomesStaticTextAndIsLogged) {
  for (size_t count : {18u, 22u}) {
    const RecordedObject& o = Make(SEQUENCE_TEXT, TextParams({{18, L"1"}}, count));
    EXPECT_EQ(o.text, L"Hello");
    EXPECT_EQ(engine.CountOf("SetSequence") + engine.CountOf("SetDataSource"), 0u);
    EXPECT_NE(Log().find("SEQUENCE_TEXT with " + std::to_string(count) +
                         " parameters has no sequence set-up; created as static text"),
              std::string::npos);
  }
  EXPECT_EQ(session.VariableDataKind(), 0);
}

TEST_F(TextTest, AnEngineThatRefusesIsSurvived) {
  engine.withoutTextProperties = true;
  Make(TEXT, TextParams({{5, L"Missing"}}));
  EXPECT_NE(Log().find("Unable to locate font: Missing"), std::string::npos);

  engine.failObjectCreation = true;
  engine.ClearCalls();
  Run({Cmd(START_LABEL), Cmd(PROMPT_TEXT, TextParams({}, 19))});
  EXPECT_EQ(engine.CountOf("SetSelectByObject") + engine.CountOf("SetPrompt"), 0u);
  EXPECT_NE(Log().find("Unable to create text object: Hello"), std::string::npos);
  EXPECT_EQ(window.Size(), 0u);
}

}  // namespace
