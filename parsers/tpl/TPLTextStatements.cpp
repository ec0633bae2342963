// Value statements of text blocks: font, sizing mode, justification, styles.

#include <algorithm>
#include <iterator>
#include <string_view>

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLStatements.h"
#include "platform/Text.h"

namespace {

// The numbers after a sizing mode's word, which is expected at the start of
// the value (the word is only looked for somewhere in it).
std::wstring NumbersAfter(const std::wstring& value, std::wstring_view word) {
  if (value.size() <= word.size()) return {};
  return platform::Trim(std::wstring_view(value).substr(word.size()));
}

bool Contains(const std::wstring& value, std::wstring_view word) {
  return value.find(word) != std::wstring::npos;
}

struct Style {
  std::wstring_view word;
  std::wstring ScriptData::*flag;
};

constexpr Style kStyles[] = {
    {L"B", &ScriptData::bold},          {L"I", &ScriptData::italic},
    {L"U", &ScriptData::underline},     {L"VERTICAL", &ScriptData::vertical},
    {L"REVERSE", &ScriptData::reverse},
};

}  // namespace

void TPLParser::FontName(const std::wstring& value) {
  if (value.empty()) {
    Log(L"Not Font Name defined, Font name will be set to SystemDefault");
    return;
  }
  data_->fontName = value;
}

// The modes are tried in turn; a mode whose numbers are malformed logs and
// lets the next one try.
void TPLParser::FontType(const std::wstring& value) {
  if (TryAutosize(value) || TryFreeform(value) || TryManual(value)) return;
  data_->ApplyFreeformDefaults();
  Log(L"Invalid FontStyle: " + value + L"Style defaulted to FreeForm with 1/2 inch font size");
}

bool TPLParser::TryAutosize(const std::wstring& value) {
  constexpr std::wstring_view kWord = L"AUTOSIZE";
  if (!Contains(value, kWord)) return false;
  data_->fontType = kWord;
  std::wstring numbers = NumbersAfter(value, kWord);
  if (!tpl::SplitPair(numbers, data_->height, data_->width)) {
    Log(L"Invalid Syntax for AUTOSIZE command: " + numbers);
    return false;
  }
  return true;
}

bool TPLParser::TryFreeform(const std::wstring& value) {
  constexpr std::wstring_view kWord = L"FREEFORM";
  if (!Contains(value, kWord)) return false;
  data_->ApplyFreeformDefaults();
  data_->fontSize = NumbersAfter(value, kWord);
  return true;
}

// MANUAL h,w,s: the height is kept even when the rest is malformed.
bool TPLParser::TryManual(const std::wstring& value) {
  constexpr std::wstring_view kWord = L"MANUAL";
  if (!Contains(value, kWord)) return false;
  data_->fontType = kWord;
  std::wstring numbers = NumbersAfter(value, kWord);
  std::wstring rest;
  if (!tpl::SplitPair(numbers, data_->height, rest)) {
    Log(L"Invalid Syntax for AUTOSIZE command: " + numbers);
    return false;
  }
  if (!tpl::SplitPair(rest, data_->width, data_->fontSize)) {
    Log(L"Invalid Syntax for AUTOSIZE command: " + rest);
    return false;
  }
  return true;
}

void TPLParser::Justification(const std::wstring& value) {
  if (value.empty()) return;
  if (value == L"L" || value == L"R" || value == L"C") {
    data_->justification = value;
    return;
  }
  Log(L"Invalid Text Justification Parameter:" + value +
      L" Justification will be set to default value");
}

// Styles are only ever switched on; STARTTEXT switches them off.
void TPLParser::Styles(const std::wstring& value) {
  if (value.empty()) return;
  for (const std::wstring& item : tpl::SplitList(value)) {
    auto style = std::find_if(std::begin(kStyles), std::end(kStyles),
                              [&](const Style& s) { return item == s.word; });
    if (style == std::end(kStyles)) {
      Log(L"Invalid parameter for Font Style: " + item);
      continue;
    }
    data_->*(style->flag) = L"T";
  }
}
