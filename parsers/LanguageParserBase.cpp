#include "parsers/LanguageParserBase.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Text.h"

namespace {

// Truncates toward zero and writes a plain decimal integer. Values beyond
// 64 bits (or not a number) are clamped rather than left undefined.
std::wstring TruncatedText(double value) {
  if (std::isnan(value)) return L"0";
  double t = std::trunc(value);
  constexpr double kMax = 9.2e18;
  if (t > kMax) t = kMax;
  if (t < -kMax) t = -kMax;
  return platform::IntToWide(static_cast<int64_t>(t));
}

}  // namespace

CLanguageParserBase::CLanguageParserBase(ScriptData* scriptData) : scriptData_(scriptData) {}

CLanguageParserBase::~CLanguageParserBase() = default;

void CLanguageParserBase::SetCommandSpan(size_t offset, size_t length) {
  spanOffset_ = static_cast<int64_t>(std::min<size_t>(offset, std::numeric_limits<int64_t>::max()));
  spanLength_ = static_cast<int32_t>(std::min<size_t>(length, std::numeric_limits<int32_t>::max()));
}

void CLanguageParserBase::NoteProblem(const ScriptProblem& problem) const {
  if (!problemObserver_) return;
  if (problem.offset >= 0) {
    problemObserver_(problem);
    return;
  }
  ScriptProblem placed = problem;
  placed.offset = spanOffset_;
  placed.length = spanLength_;
  problemObserver_(placed);
}

void CLanguageParserBase::NoteScriptError(const std::wstring& message) const {
  if (!problemObserver_) return;
  ScriptProblem problem;
  problem.kind = ScriptProblem::kScriptError;
  problem.message = message;
  NoteProblem(problem);
}

void CLanguageParserBase::LogError(const std::wstring& message) const {
  errorLog_->Write(message);
  NoteScriptError(message);
}

void CLanguageParserBase::SetParserDPI(int dpi) { dpi_ = (dpi >= 1 && dpi <= 1000) ? dpi : 300; }

void CLanguageParserBase::SetParserUnits(const std::wstring& unitName) {
  wchar_t first = unitName.empty() ? L'\0' : unitName[0];
  if (first == L'm' || first == L'M') {
    units_ = UNITS_MILLIMETRES;
  } else if (first == L'i' || first == L'I') {
    units_ = UNITS_INCHES;
  } else {
    units_ = UNITS_DOTS;
  }
}

void CLanguageParserBase::ConvertUnitsToDots(std::wstring& value) const {
  if (units_ == UNITS_DOTS) return;
  double v = platform::LeadingNumber(value);
  double dots = units_ == UNITS_INCHES ? dpi_ * v : (dpi_ * v) * 0.03937007874015748;
  value = TruncatedText(dots);
}

void CLanguageParserBase::ConvertUnitsToMils(std::wstring& value) const {
  if (units_ == UNITS_DOTS) return;
  double v = platform::LeadingNumber(value);
  value = TruncatedText(units_ == UNITS_INCHES ? v * 1000.0 : v * 39.3700787);
}

void CLanguageParserBase::ConvertUnitsToPoints(std::wstring& value) const {
  if (units_ == UNITS_DOTS) return;
  double v = platform::LeadingNumber(value);
  value = TruncatedText(units_ == UNITS_INCHES ? v * 72.0 : v * 2.8346456692913384);
}

void CLanguageParserBase::ConvertPointsToDots(std::wstring& value) const {
  double v = platform::LeadingNumber(value);
  value = TruncatedText(dpi_ * v * 0.00980392156862745);
}

// Shapes and arrows carry their outline as a pen width in hundredths of a
// point, while scripts give a thickness in dots: passed on as written, a
// 10-dot border printed one dot wide. Nothing to convert is passed on as it is.
std::wstring CLanguageParserBase::PenInHundredthsOfPoint(const std::wstring& dots) const {
  const int64_t value = platform::LeadingInt(dots);
  if (value <= 0) return dots;
  return platform::IntToWide((value * 7200 + dpi_ / 2) / dpi_);
}

LabelCommand& CLanguageParserBase::AddCommand(int32_t kind, std::vector<std::wstring> params) {
  return AddCommand(LabelCommand{kind, std::move(params)});
}

LabelCommand& CLanguageParserBase::AddCommand(LabelCommand command) {
  commandList_.push_back(std::move(command));
  return commandList_.back();
}

void CLanguageParserBase::WriteTextAttributes(record::RecordWriter& text) const {
  using P = record::TextParam;
  if (!scriptData_) return;
  const ScriptData& d = *scriptData_;
  text.Set(P::kFontName, d.fontName)
      .Set(P::kSizing, d.fontType)
      .Set(P::kJustification, d.justification)
      .Set(P::kUnused9, d.textExtra)
      .Set(P::kRotation, d.rotation)
      .Set(P::kBoxDrawn, d.boundingBox)
      .Set(P::kBoxThickness, d.lineThickness)
      .Set(P::kBold, d.bold)
      .Set(P::kItalic, d.italic)
      .Set(P::kUnderline, d.underline)
      .Set(P::kReverse, d.reverse)
      .Set(P::kVertical, d.vertical);
}

void CLanguageParserBase::HandOverCommands(CommandList& out) {
  if (out.empty()) {
    out = std::move(commandList_);
  } else {
    out.insert(out.end(), std::make_move_iterator(commandList_.begin()),
               std::make_move_iterator(commandList_.end()));
  }
  commandList_.clear();
}

// The list keeps its capacity, so a job's labels reuse one block of records.
void CLanguageParserBase::HandOverLabel() {
  if (!labelSink_ || commandList_.empty()) return;
  labelSink_(commandList_);
  commandList_.clear();
}
