// Field blocks ("^FB"): a field's text wraps at the block's width into at
// most its number of lines, with extra spacing, a justification and a
// hanging indent; "\&" in the data breaks a line and "\\" is a backslash.

#include <algorithm>

#include "parsers/zpl/ZPLEncoding.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "platform/Text.h"

namespace {

constexpr int64_t kMostLines = 9999;
constexpr int64_t kMostDots = 9999;

bool IsBlockJustification(wchar_t c) { return c == L'L' || c == L'C' || c == L'R' || c == L'J'; }

}  // namespace

// "^FB" width,lines,spacing,justification,hanging indent.
bool ZPLFullParser::FieldBlock(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  zpl::SplitParameters(command.parameters, p);
  const size_t given = p.size();
  p.resize(std::max<size_t>(given, 5));
  const wchar_t justify = p[3].empty() ? L'L' : platform::ToUpperChar(p[3][0]);
  if (given > 5 || !zpl::IsNumeric(p[0], false) || !zpl::IsNumeric(p[1], false) ||
      !zpl::IsNumeric(p[2], false) || !zpl::IsNumeric(p[4], false) ||
      !IsBlockJustification(justify)) {
    ReportBadParameters(L"FIELD BLOCK", command);
    return true;
  }
  auto number = [&p](size_t i, int64_t fallback, int64_t low, int64_t high) {
    return p[i].empty() ? fallback : std::clamp<int64_t>(platform::LeadingInt(p[i]), low, high);
  };
  field_.block = true;
  field_.blockWidth = number(0, 0, 0, kMostDots * 4);
  field_.blockLines = number(1, 1, 1, kMostLines);
  field_.blockSpacing = number(2, 0, -kMostDots, kMostDots);
  field_.blockJustify = justify;
  field_.hangingIndent = number(4, 0, 0, kMostDots);
  return true;
}

// The text of a block: "\&" breaks the line, "\\" is one backslash; any
// other backslash stays as written.
std::wstring ZplBlockText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && (text[i + 1] == L'&' || text[i + 1] == L'\\')) {
      out.push_back(text[i + 1] == L'&' ? L'\n' : L'\\');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}
