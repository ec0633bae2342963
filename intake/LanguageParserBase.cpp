#include "intake/LanguageParserBase.h"

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

LabelCommand& CLanguageParserBase::AddCommand(int32_t kind, std::vector<std::wstring> params) {
  commandList_.push_back(LabelCommand{kind, std::move(params)});
  return commandList_.back();
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
