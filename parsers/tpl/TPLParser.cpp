#include "parsers/tpl/TPLParser.h"

#include "intake/Languages.h"
#include "parsers/tpl/TPLStatements.h"
#include "platform/Text.h"

// One row per keyword. A statement is the first keyword of the table that
// begins it, so a keyword that begins a longer one must come after it.
struct TPLParser::Keyword {
  enum ValueCase { kUpper, kAsWritten };
  enum WhenMissing { kSkip, kRunAnyway };

  std::wstring_view word;
  uint32_t needs;          // at least one of these flags, or 0 for none
  const wchar_t* message;  // logged when none of them is set
  Handler handler;
  ValueCase valueCase = kUpper;
  WhenMissing whenMissing = kSkip;  // block ends still emit their object
};

namespace {

constexpr uint32_t kShapes = TPLParser::kShapeOpen;
constexpr uint32_t kArrows = TPLParser::kArrowOpen;
constexpr uint32_t kLabel = TPLParser::kLabelOpen;
constexpr uint32_t kText = TPLParser::kTextOpen;
constexpr uint32_t kBarcode = TPLParser::kBarcodeOpen;
constexpr uint32_t kGraphic = TPLParser::kGraphicOpen;
constexpr uint32_t kLine = TPLParser::kLineOpen;

constexpr wchar_t kNoLabel[] = L"No StartLabel found, please check your script";
constexpr wchar_t kNoText[] = L"No StartText Found. Please check your script";
constexpr wchar_t kNoSource[] = L"No StartText or StartBarcode Found. Please check your script";
constexpr wchar_t kNoBarcode[] = L"No StartBarcode Found. Please check your script";

}  // namespace

using P = TPLParser;

const TPLParser::Keyword TPLParser::kKeywords[] = {
    {L"STARTTPL", 0, nullptr, &P::StartTpl},
    {L"ENDTPL", 0, nullptr, &P::EndTpl},
    {L"STARTLABEL", 0, nullptr, &P::StartLabel},
    {L"ENDLABEL", kLabel, L"No StartLabel Found, EndLabel not Valid, Please check your script",
     &P::EndLabel},
    {L"TEARORCUTBETWEENEACHLABEL", 0, nullptr, &P::CutBetweenLabels},
    {L"TEARORCUTATENDOFJOB", 0, nullptr, &P::CutAtEndOfJob},
    {L"DONTTEARORCUT", 0, nullptr, &P::DontCut},
    {L"LABELWIDTH", 0, nullptr, &P::LabelLength},
    {L"LABELNEGATIVE", 0, nullptr, &P::LabelNegative},
    {L"SETPRINTSPEED", 0, nullptr, &P::PrintSpeed},
    {L"SETPRINTDENSITY", 0, nullptr, &P::PrintDensity},
    {L"LABELMIRROR", 0, nullptr, &P::LabelMirror},
    {L"LABELROTATE", 0, nullptr, &P::LabelRotate},
    {L"SETUNITS", 0, nullptr, &P::SetUnits},
    {L"LABELORIENTATION", 0, nullptr, &P::LabelOrientation},
    {L"LABELOFFSET", 0, nullptr, &P::LabelOffset},
    {L"LABELHEIGHT", 0, nullptr, &P::LabelLength},
    {L"MATCHTAPE", 0, nullptr, &P::MatchTape},
    {L"MATCHRIBBON", 0, nullptr, &P::MatchRibbon},
    {L"STARTSHAPE", kLabel, kNoLabel, &P::StartShape},
    {L"STARTGRAPHICS", kLabel, kNoLabel, &P::StartGraphics},
    {L"ENDSHAPE", kLabel, kNoLabel, &P::EndShape, Keyword::kUpper, Keyword::kRunAnyway},
    {L"ENDGRAPHICS", kLabel, kNoLabel, &P::EndGraphics, Keyword::kUpper, Keyword::kRunAnyway},
    {L"STARTLINE", kLabel, kNoLabel, &P::StartLine},
    {L"ENDLINE", kLabel, kNoLabel, &P::EndLine, Keyword::kUpper, Keyword::kRunAnyway},
    {L"STARTARROW", kLabel, kNoLabel, &P::StartArrow},
    {L"ENDARROW", kLabel, kNoLabel, &P::EndArrow, Keyword::kUpper, Keyword::kRunAnyway},
    {L"STARTPOINT", kLine, L"No StartLine Defined, Cannot create StartPoint", &P::StartPoint},
    {L"ENDPOINT", kLine, L"No StartLine Defined, Cannot create EndPoint", &P::EndPoint},
    {L"SHAPETYPE", kShapes, L"No StartShape Defined, Cannot create Shape Type", &P::ShapeType},
    {L"ARROWTYPE", kArrows, L"No StartShape Defined, Cannot create Arrow Type", &P::ArrowType},
    {L"DEGREESOFARC", kArrows, L"No StartShape Defined, Cannot create DegreesOfArc",
     &P::Store<&TPLData::degreesOfArc>},
    {L"ARROWHEADLENGTH", kArrows, L"No StartShape Defined, Cannot create ArrowHeadLength",
     &P::Store<&TPLData::arrowHeadLength>},
    {L"ARROWHEADOVERHANG", kArrows, L"No StartShape Defined, Cannot create ArrowHeadOverhang",
     &P::Store<&TPLData::arrowHeadOverhang>},
    {L"ARROWSTEMWIDTH", kArrows, L"No StartShape Defined, Cannot create ArrowStemWidth",
     &P::Store<&TPLData::arrowStemWidth>},
    {L"POSITION", kShapes | kText | kArrows | kGraphic | kBarcode,
     L"No StartShape Defined, Cannot create object Position", &P::Position},
    {L"IMAGENAME", kGraphic, L"No StartGraphics Defined, Cannot create object Imagename",
     &P::Store<&TPLData::imageName>},
    {L"WIDTH", kShapes | kArrows | kGraphic, L"No StartShape Defined, Cannot create ObjectWidth",
     &P::Store<&TPLData::width>},
    {L"HEIGHT", kShapes | kArrows | kGraphic | kBarcode,
     L"No StartShape Defined, Cannot create ObjectHeight", &P::Store<&TPLData::height>},
    {L"ROUNDEDCORNERS", kShapes | kArrows, L"No StartShape Defined, Cannot create CornerRoundness",
     &P::Store<&TPLData::roundedCorners>},
    {L"LINETHICKNESS", kShapes | kLine | kArrows,
     L"No StartShape or StartLine Defined, Cannot create LineThickness",
     &P::Store<&TPLData::lineThickness>},
    {L"ROTATION", kShapes | kText | kArrows | kBarcode,
     L"No StartShape Defined, Cannot create ObjectRotation", &P::Store<&TPLData::rotation>},
    {L"STARTTEXT", kLabel, L"No StartLabel Found. Please check your script", &P::StartText},
    {L"ENDTEXT", kText, kNoText, &P::EndText},
    {L"GETTEXT", kText | kBarcode, kNoSource, &P::GetText, Keyword::kAsWritten},
    {L"GETSERIAL", kText | kBarcode, kNoSource, &P::GetSerial, Keyword::kAsWritten},
    {L"GETDATETIME", kText, kNoSource, &P::GetDateTime, Keyword::kAsWritten},
    {L"TEXT", kText, kNoText, &P::Store<&TPLData::objectData>, Keyword::kAsWritten},
    {L"FONTNAME", kText, kNoText, &P::FontName},
    {L"STYLES", kText | kGraphic, kNoText, &P::Styles},
    {L"JUSTIFICATION", kText, kNoText, &P::Justification},
    {L"FONTTYPE", kText, kNoText, &P::FontType},
    {L"BOUNDINGBOX", kText, kNoText, &P::Store<&TPLData::boundingBox>},
    {L"STARTBARCODE", kLabel, kNoLabel, &P::StartBarcode},
    {L"ENDBARCODE", kLabel, kNoLabel, &P::EndBarcode, Keyword::kUpper, Keyword::kRunAnyway},
    {L"DATA", kBarcode, kNoBarcode, &P::Store<&TPLData::objectData>},
    {L"BARCODETYPE", kBarcode, kNoBarcode, &P::Store<&TPLData::objectType>},
    {L"HUMANREADABLE", kBarcode, kNoBarcode, &P::HumanReadable},
    {L"DENSITY", kBarcode, kNoBarcode, &P::Store<&TPLData::density>},
    {L"RATIO", kBarcode, kNoBarcode, &P::Store<&TPLData::ratio>},
    {L"CHECKCHARACTER", kBarcode, kNoBarcode, &P::Store<&TPLData::checkCharacter>},
};

TPLParser::TPLParser(TPLData* data) : CLanguageParserBase(data), data_(data) {
  errorLog_ = std::make_unique<CLogging>(LanguageOf(LANGUAGE_TPL).errorLog);
  state_ = 0;
  data_->ResetAll();
}

TPLParser::~TPLParser() = default;

// Statements are read and run one at a time, so a large job is never held
// twice over.
bool TPLParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  size_t count = (bytes != nullptr && length > 0) ? static_cast<size_t>(length) : 0;
  tpl::StatementReader reader(std::string_view(bytes, count));
  commandList_.clear();
  stopped_ = false;
  for (std::wstring statement; !stopped_ && reader.Next(statement);) {
    SetCommandSpan(reader.offset(), reader.length());
    RunStatement(statement);
  }
  HandOverCommands(out);
  return true;
}

bool TPLParser::parseCommandList(const std::vector<std::wstring>& statements) {
  commandList_.clear();
  stopped_ = false;
  for (size_t i = 0; i < statements.size() && !stopped_; ++i) RunStatement(statements[i]);
  return !stopped_;
}

void TPLParser::RunStatement(const std::wstring& statement) {
  std::wstring_view asWritten = statement;
  while (!asWritten.empty() && platform::IsSpace(asWritten.front())) asWritten.remove_prefix(1);
  // Upper-casing keeps every character in its place, so the two copies line up.
  std::wstring upper = platform::ToUpper(asWritten);
  if (upper.empty() || upper.starts_with(L"//")) return;  // a comment line

  const Keyword* keyword = FindKeyword(upper);
  if (keyword == nullptr) {
    Log(L"Invalid command found:" + upper);
    return;
  }
  if (keyword->needs != 0 && !IsAnyState(keyword->needs)) {
    Log(keyword->message);
    if (keyword->whenMissing == Keyword::kSkip) return;
  }
  std::wstring_view source = keyword->valueCase == Keyword::kAsWritten ? asWritten : upper;
  (this->*keyword->handler)(platform::Trim(source.substr(keyword->word.size())));
}

const TPLParser::Keyword* TPLParser::FindKeyword(std::wstring_view upperStatement) {
  if (upperStatement.empty()) return nullptr;
  // The first letter rules out most rows without a full comparison.
  for (const Keyword& keyword : kKeywords) {
    if (keyword.word.front() == upperStatement.front() &&
        upperStatement.starts_with(keyword.word)) {
      return &keyword;
    }
  }
  return nullptr;
}

std::wstring TPLParser::Dots(std::wstring value) const {
  ConvertUnitsToDots(value);
  return value;
}
