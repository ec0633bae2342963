#include "parsers/zpl/ZPLParserCore.h"

#include <algorithm>
#include <memory>

#include "intake/Languages.h"
#include "platform/Text.h"

namespace {
constexpr wchar_t kDefaultFontSize[] = L"36";
}  // namespace

ZPLParserCore::ZPLParserCore(ZPLData* data) : CLanguageParserBase(data), data_(data) {
  state_ = 0;
  pendingObject_ = 0;
  errorLog_ = std::make_unique<CLogging>(LanguageOf(LANGUAGE_ZPL).errorLog);
}

void ZPLParserCore::ReportError(const std::wstring& message) {
  LogError(message);
  Append(SCRIPT_ERROR, {message});
}

void ZPLParserCore::Commit(LabelCommand record) {
  if (watch_) watch_(record);
  AddCommand(std::move(record));
}

void ZPLParserCore::Append(int32_t kind, std::vector<std::wstring> params) {
  Append(LabelCommand{kind, std::move(params)});
}

bool ZPLParserCore::ReadParameters(std::wstring_view text, const zpl::ParameterRule& rule,
                                   std::vector<std::wstring>& params) {
  const zpl::ParameterRead read = zpl::ReadParameters(text, rule, params);
  if (read == zpl::ParameterRead::kTooMany) ReportError(std::wstring(rule.countMessage));
  return read == zpl::ParameterRead::kRead;
}

// The font's height is in dots; the text record wants points at this
// printer's resolution, so a 30-dot font does not print half an inch tall.
std::wstring ZPLParserCore::FontSizeInPoints(const std::wstring& heightInDots) const {
  const int64_t dots = platform::LeadingInt(heightInDots);
  if (dots <= 0) return kDefaultFontSize;
  const int64_t dpi = GetParserDPI();
  const int64_t points = (dots * 72 + dpi / 2) / dpi;
  return platform::IntToWide(std::max<int64_t>(points, 1));
}

// "^BY" gives the narrow bar in dots, the session reads the density in
// thousandths of an inch: without this a "^BY2" barcode printed three times
// too wide at 300 dpi. "0" (no "^BY" yet) is passed on for the session's default.
std::wstring ZPLParserCore::DensityInMils(const std::wstring& moduleInDots) const {
  const int64_t dots = platform::LeadingInt(moduleInDots);
  if (dots <= 0) return moduleInDots;
  const int64_t dpi = GetParserDPI();
  return platform::IntToWide((dots * 1000 + dpi / 2) / dpi);
}
