// The text line of CJPLParser: "T[:name;]x,y,rotation,font,size[,styles];text".
// The text may quote texts named earlier in the job as "[name]"; a line that
// names its text makes it available to later lines.

#include <algorithm>
#include <cmath>

#include "parsers/jpl/JPLParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

using record::RecordWriter;
using record::TextParam;

constexpr size_t kTextFields = 7;

// Style letters and the text flags they set.
struct StyleLetter {
  wchar_t letter;
  std::wstring ScriptData::*flag;
};
constexpr StyleLetter kStyles[] = {
    {L'b', &ScriptData::bold},    {L'i', &ScriptData::italic},   {L'u', &ScriptData::underline},
    {L'n', &ScriptData::reverse}, {L'v', &ScriptData::vertical},
};

// "pt12", "12pt": a size in points, without the letters around it.
bool IsPointSize(const std::wstring& size) { return size.find(L"pt") != std::wstring::npos; }
std::wstring StripPointLetters(const std::wstring& size) {
  const size_t first = size.find_first_not_of(L"pt");
  if (first == std::wstring::npos) return L"";
  return size.substr(first, size.find_last_not_of(L"pt") - first + 1);
}

// Difference of two decimal texts, truncated toward zero and kept inside 64 bits.
std::wstring Difference(const std::wstring& a, const std::wstring& b) {
  const double value = std::trunc(platform::LeadingNumber(a) - platform::LeadingNumber(b));
  constexpr double kMax = 9.2e18;
  if (!(value > -kMax && value < kMax)) return platform::IntToWide(value > 0 ? kMax : -kMax);
  return platform::IntToWide(static_cast<int64_t>(value));
}

}  // namespace

void CJPLParser::Text(const Fields& fields) {
  if (fields.size() < kTextFields) return;
  const size_t s = ValueStart(fields);
  const std::wstring& size = fields[s + 4];
  const bool styled = fields.size() >= s + 7;  // two fields or more after the size
  const size_t textStart = styled ? s + 6 : s + 5;

  data_->ResetText();
  if (styled) {
    for (const StyleLetter& style : kStyles) {
      if (fields[s + 5].find(style.letter) != std::wstring::npos) data_->*style.flag = L"T";
    }
  }
  std::wstring points = size;
  if (IsPointSize(size)) {
    points = StripPointLetters(size);
  } else {
    ConvertUnitsToPoints(points);
  }
  std::wstring sizeDots = points;
  ConvertPointsToDots(sizeDots);

  std::wstring text;
  for (size_t i = textStart; i < fields.size(); ++i) {
    if (i > textStart) text.push_back(L' ');
    text += fields[i];
  }
  text = ResolveReferences(text);
  if (fields[1].starts_with(L':')) namedTexts_.emplace(platform::Trim(fields[1].substr(1)), text);

  RecordWriter record(TEXT, TextParam::kRequired);
  WriteTextAttributes(record);  // the styles; the line's own values follow
  record.Set(TextParam::kText, std::move(text))
      .Set(TextParam::kX, Dots(fields[s]))
      .Set(TextParam::kY, Difference(Dots(fields[s + 1]), sizeDots))
      .Set(TextParam::kWidth, L"300")
      .Set(TextParam::kHeight, points)
      .Set(TextParam::kFontSize, points)
      .Set(TextParam::kRotation, fields[s + 2]);
  AppendObject(record.Take());
}

// "[name]" becomes the text named `name` earlier in the job, or the bare name
// when there is none. A "[" without a later "]" is kept as written, with the
// rest of the text. Each character is looked at once.
std::wstring CJPLParser::ResolveReferences(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != L'[') {
      out.push_back(text[i++]);
      continue;
    }
    const size_t close = text.find(L']', i + 1);
    if (close == std::wstring::npos) {
      out.append(text, i, std::wstring::npos);
      break;
    }
    const std::wstring name = platform::Trim(std::wstring_view(text).substr(i + 1, close - i - 1));
    auto named = namedTexts_.find(name);
    if (named == namedTexts_.end()) {
      out += name;
    } else {
      const size_t take = std::min(named->second.size(), referenceBudget_);
      out.append(named->second, 0, take);
      referenceBudget_ -= take;
      if (take < named->second.size() && !budgetReported_) {
        LogError(L"Named texts cut: a job may add at most " +
                 platform::IntToWide(static_cast<int64_t>(kReferenceAllowance)) +
                 L" characters more than its own length through references");
        budgetReported_ = true;
      }
    }
    i = close + 1;
  }
  return out;
}
