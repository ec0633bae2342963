// Text objects: geometry, sizing modes, justification, flags, fonts, the
// bounding box and the three data sources besides static text.

#include "intake/Languages.h"
#include "session/SessionTestHarness.h"

namespace {

using T = record::TextParam;

class TextTest : public SessionTest {
 protected:
  TextTest() { session.SetSystemFonts({Font(L"Arial"), Font(L"Courier")}); }

  // Runs one text command on a fresh label and returns its object.
  const RecordedObject& Make(int32_t kind, const std::vector<std::wstring>& params) {
    Build(kind, params);
    EXPECT_EQ(engine.Objects().size(), 1u);
    return *engine.Objects().at(0);
  }
};

TEST_F(TextTest, SizingModes) {
  const struct {
    const wchar_t* mode;
    int32_t boxBound, autoSize;
    bool sizeSet, moved;
  } cases[] = {
      {L"AUTOSIZE", 1, 1, false, false}, {L"FREEFORM", 0, 0, true, true},
      {L"MANUAL", 1, 0, true, false},    {L"autosize", 1, 0, false, false},
      {L"", 1, 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    const RecordedObject& o = Make(TEXT, TextParams({{T::kSizing, c.mode}, {T::kFontSize, L"14"}}));
    EXPECT_EQ(o.textAlignment.boxBound, c.boxBound);
    EXPECT_EQ(o.textAlignment.autoSize, c.autoSize);
    EXPECT_EQ(engine.Trace({"SetTextFontSize"}),
              c.sizeSet ? Trace{L"SetTextFontSize(2, 0, 14, 0, 0, true)"} : Trace{});
    EXPECT_EQ(engine.CountOf("SetTextFormat"), c.moved ? 1u : 0u);
    EXPECT_FLOAT_EQ(o.textFormat.xInches, c.moved ? 0.1f : 0.0f);  // 30 dots = 100 units
    EXPECT_FLOAT_EQ(o.textFormat.yInches, c.moved ? 0.2f : 0.0f);
  }
}

TEST_F(TextTest, JustificationAndFlags) {
  const struct {
    const wchar_t *justification, *flag;
    int32_t expectedJustification;
    bool on;
  } cases[] = {{L"L", L"T", kVJustifyLeft, true},   {L"C", L"t", kVJustifyCentre, false},
               {L"R", L"F", kVJustifyRight, false}, {L"x", L"TRUE", kVJustifyRight, false},
               {L"", L"", kVJustifyRight, false},   {L"l", L"T", kVJustifyRight, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.justification);
    const std::wstring f = c.flag;
    const RecordedObject& o = Make(TEXT, TextParams({{T::kJustification, c.justification},
                                                     {T::kBold, f},
                                                     {T::kItalic, f},
                                                     {T::kUnderline, f},
                                                     {T::kReverse, f},
                                                     {T::kVertical, f}}));
    EXPECT_EQ(o.textAlignment.justification, c.expectedJustification);
    EXPECT_EQ(o.bold, c.on);
    EXPECT_EQ(o.italic, c.on);
    EXPECT_EQ(o.underline, c.on);
    EXPECT_EQ(o.textAlignment.reverse, c.on ? 1 : 0);
    EXPECT_EQ(o.textAlignment.vertical, c.on ? 1 : 0);
  }
}

TEST_F(TextTest, StaticTextItsBoxAndItsBorder) {
  const RecordedObject& o = Make(
      TEXT, TextParams({{T::kRotation, L"90"}, {T::kBoxDrawn, L"T"}, {T::kBoxThickness, L"3"}}));
  EXPECT_EQ(o.type, kVObjText);
  EXPECT_EQ(Corners(o.rect), (std::vector<int32_t>{100, 200, 1100, 500}));  // dots to units
  EXPECT_EQ(o.text, L"Hello");
  EXPECT_EQ(o.fontName, L"Arial");
  EXPECT_EQ(o.fontPoints, 12);
  EXPECT_EQ(o.rotation, 90);
  EXPECT_EQ(o.textAlignment.verticalCentre, 1);
  EXPECT_EQ(o.textAlignment.wordWrap, 1);
  EXPECT_EQ(o.dataSource, kVSourceStatic);
  EXPECT_EQ(window.Size(), 0u);
  const std::wstring huge = L"99999999999", tiny = L"-99999999999";
  EXPECT_EQ(
      Corners(Make(TEXT, TextParams(
                             {{T::kX, huge}, {T::kY, tiny}, {T::kWidth, huge}, {T::kHeight, tiny}}))
                  .rect),
      (std::vector<int32_t>{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN}));  // never wrapped

  const struct {
    const wchar_t *drawn, *thickness;
    int32_t border;
  } cases[] = {{L"T", L"", 1}, {L"T", L"3", 3}, {L"T", L"x", 0}, {L"t", L"4", 0}, {L"F", L"", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(Make(TEXT, TextParams({{T::kBoxDrawn, c.drawn}, {T::kBoxThickness, c.thickness}}))
                  .textFormat.borderThickness,
              c.border)
        << c.drawn << "/" << c.thickness;
  }
}

TEST_F(TextTest, FontLookUpIgnoresCaseTakesTheFirstMatchAndLogsAMiss) {
  session.SetSystemFonts({Font(L"Arial", 400), Font(L"ARIAL", 700), Font(L"Courier")});
  ASSERT_NE(session.GetSystemFont(L"arial"), nullptr);
  EXPECT_EQ(session.GetSystemFont(L"arial")->lfWeight, 400);
  EXPECT_EQ(session.GetSystemFont(L"COURIER")->lfFaceName, L"Courier");
  EXPECT_EQ(session.GetSystemFont(L"Arial "), nullptr);
  EXPECT_EQ(session.GetSystemFont(L""), nullptr);
  EXPECT_EQ(Make(TEXT, TextParams({{T::kFontName, L"arial"}})).fontName, L"Arial");

  const RecordedObject& o = Make(TEXT, TextParams({{T::kFontName, L"Nowhere Sans"}}));
  EXPECT_EQ(o.text, L"Hello");
  EXPECT_EQ(engine.CountOf("SetTextFontName"), 0u);
  EXPECT_TRUE(Logged("] Unable to locate font: Nowhere Sans, System Default will be used\r\n"));

  session.SetSystemFonts({});
  EXPECT_EQ(session.GetSystemFont(L"Arial"), nullptr);
}

// A TPL job of one text in `face`.
std::string TplText(const std::string& face) {
  return "STARTTPL\r\nSETUNITS DOTS\r\nSTARTLABEL\r\nSTARTTEXT\r\nPOSITION 30,60\r\n"
         "TEXT Hello\r\nFONTNAME " +
         face + "\r\nENDTEXT\r\nENDLABEL 1\r\nENDTPL\r\n";
}

// The host hands the list's source while it still reads the list: a job is
// parsed and run up to its first font look-up without it, and the list is
// taken once, whatever follows.
TEST_F(SessionTest, FontListIsTakenFromItsSourceAtTheFirstLookUp) {
  int asked = 0;
  size_t objectsMadeWhenAsked = 0;
  session.SetSystemFontSource([&] {
    ++asked;
    objectsMadeWhenAsked = engine.CountOf("CreateNewObject");
    return std::vector<platform::LOGFONTW>{Font(L"Arial"), Font(L"Courier")};
  });
  const struct {
    const char* what;
    int32_t language;
    std::string job;
    int askedSoFar;
    Trace fontNames;
  } jobs[] = {
      {"no parser", 0, "garbage", 0, {}},
      {"shapes and a barcode",
       LANGUAGE_ZPL,
       "^XA^FO30,60^GB200,100,3^FS^FO30,200^BCN,80^FD123^FS^XZ",
       0,
       {}},
      {"a listed face",
       LANGUAGE_TPL,
       TplText("courier"),
       1,
       {L"SetTextFontName(2, 0, Courier, 0)"}},
      {"another", LANGUAGE_TPL, TplText("ARIAL"), 1, {L"SetTextFontName(2, 0, Arial, 0)"}},
      {"an unlisted face", LANGUAGE_TPL, TplText("Nowhere Sans"), 1, {}},
  };
  for (const auto& j : jobs) {
    SCOPED_TRACE(j.what);
    engine.ClearCalls();
    session.ProcessData(Job(j.language, j.job));
    EXPECT_EQ(asked, j.askedSoFar);
    EXPECT_EQ(engine.Trace({"SetTextFontName"}), j.fontNames);
  }
  EXPECT_EQ(objectsMadeWhenAsked, 1u);  // the text that looked its font up
  // TPL spells face names in capitals; the list decides the spelling used.
  EXPECT_TRUE(Logged("] Unable to locate font: NOWHERE SANS, System Default will be used\r\n"));

  // A new source replaces the list, and a list set outright a source not
  // yet asked.
  session.SetSystemFontSource([&] {
    ++asked;
    return std::vector<platform::LOGFONTW>{Font(L"Arial")};
  });
  EXPECT_EQ(session.GetSystemFont(L"Courier"), nullptr);
  session.SetSystemFontSource([&] {
    ++asked;
    return std::vector<platform::LOGFONTW>{Font(L"Arial")};
  });
  session.SetSystemFonts({Font(L"Courier")});
  EXPECT_NE(session.GetSystemFont(L"Courier"), nullptr);
  EXPECT_EQ(asked, 2);
}

TEST_F(TextTest, PromptTextHasNoTextOfItsOwnAndIsAnnouncedWhenComplete) {
  size_t callsAtPost = 0;
  window.onPost = [&](const platform::Notification&) { callsAtPost = engine.Calls().size(); };
  const RecordedObject& o =
      Make(PROMPT_TEXT, TextParams({{T::kSourceText, L"Lot number?"}}, T::kWithSource));
  EXPECT_EQ(o.text, L"");
  EXPECT_EQ(engine.CountOf("SetTextFromObject"), 0u);
  EXPECT_EQ(engine.Trace({"SetDataSource", "SetPrompt"}),
            (Trace{L"SetDataSource(3)", L"SetPrompt(Lot number?, Hello, 0, Message, 1, , )"}));
  EXPECT_EQ(window.Codes(), Codes{NOTIFY_PROMPT_CREATED});
  EXPECT_EQ(callsAtPost, engine.Calls().size());
  EXPECT_EQ(session.VariableDataKind(), kVVariablePrompt);

  Make(PROMPT_TEXT, TextParams({}, 18));
  EXPECT_EQ(engine.Trace({"SetPrompt"}), Trace{L"SetPrompt(, Hello, 0, Message, 1, , )"});
}

TEST_F(TextTest, DateTimeText) {
  const RecordedObject& o =
      Make(DATE_TIME_TEXT, TextParams({{T::kSourceText, L"yyyy-MM-dd"}}, T::kWithSource));
  EXPECT_EQ(o.text, L"Hello");
  EXPECT_EQ(engine.Trace({"SetDataSource", "SetDateTimeFormat"}),
            (Trace{L"SetDataSource(2)", L"SetDateTimeFormat(yyyy-MM-dd, 1)"}));
  EXPECT_EQ(session.VariableDataKind(), kVVariableNone);
  Make(DATE_TIME_TEXT, TextParams());
  EXPECT_EQ(engine.Trace({"SetDateTimeFormat"}), Trace{L"SetDateTimeFormat(, 1)"});
}

TEST_F(TextTest, SequenceTextSetsUpTheSequenceAndTheLargestCount) {
  auto sequence = [](const wchar_t* count) {
    return Cmd(SEQUENCE_TEXT, TextParams({{T::kSourceText, L"0010"},
                                          {T::kIncrement, L"5"},
                                          {T::kLabelCount, count},
                                          {T::kPrefix, L"A-"},
                                          {T::kPostfix, L"-Z"}},
                                         T::kWithSequence));
  };
  Run({Cmd(START_LABEL), sequence(L"4"), sequence(L"9"), sequence(L"2"), Cmd(PRINT_LABEL)});
  EXPECT_EQ(engine.Trace({"SetSequence"}).at(0), L"SetSequence(0010, 4, 5, 1, A-, -Z, )");
  EXPECT_EQ(engine.CountOf("SetDataSource"), 3u);
  ASSERT_EQ(engine.prints.size(), 1u);
  const VPrintData& job = engine.prints[0].jobs.at(0);
  EXPECT_EQ(job.variableDataKind, 1);
  EXPECT_EQ(job.labelCount, 9);
  EXPECT_EQ(job.sequencedMark, 1);

  // Too short for a sequence: static text, logged.
  for (size_t count : {18u, 22u}) {
    EXPECT_EQ(Make(SEQUENCE_TEXT, TextParams({{T::kSourceText, L"1"}}, count)).text, L"Hello");
    EXPECT_EQ(engine.CountOf("SetSequence") + engine.CountOf("SetDataSource"), 0u);
    EXPECT_TRUE(Logged("SEQUENCE_TEXT with " + std::to_string(count) +
                       " parameters has no sequence set-up; created as static text"));
  }
  EXPECT_EQ(session.VariableDataKind(), kVVariableNone);
}

TEST_F(TextTest, AnEngineThatRefusesIsSurvived) {
  engine.withoutTextProperties = true;
  Make(TEXT, TextParams({{T::kFontName, L"Missing"}}));
  EXPECT_TRUE(Logged("Unable to locate font: Missing"));

  engine.failObjectCreation = true;
  EXPECT_EQ(Build(PROMPT_TEXT, TextParams({}, 19)), nullptr);
  EXPECT_EQ(engine.CountOf("SetSelectByObject") + engine.CountOf("SetPrompt"), 0u);
  EXPECT_TRUE(Logged("Unable to create text object: Hello"));
  EXPECT_EQ(window.Size(), 0u);
}

}  // namespace
