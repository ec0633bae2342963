// The three data sources of texts and barcodes besides their own data: an
// operator prompt, a serial number and (texts only) the date and time. The
// last source given in a block wins.

#include <algorithm>
#include <array>
#include <string_view>

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLStatements.h"

namespace {

constexpr uint32_t kAllSources =
    TPLParser::kPromptSource | TPLParser::kSerialSource | TPLParser::kDateTimeSource;

constexpr wchar_t kDefaultDateTime[] = L"MM/dd/yyyy";

// Indexed by the code 0 to 19.
constexpr std::array<std::wstring_view, 20> kDateTimePictures = {
    L"M/d/yyyy",
    L"M/d/yy",
    L"MM/dd/yy",
    L"MM/dd/yyyy",
    L"yy/MM/dd",
    L"yyyy-MM-dd",
    L"d-MMM-yy",
    L"dddd, MMMM d, yyyy",
    L"MMMM d, yyyy",
    L"dddd, d MMMM, yyyy",
    L"d MMMM, yyyy",
    L"h:mm:ss tt",
    L"hh:mm:ss tt",
    L"H:mm:ss",
    L"HH:mm:ss",
    L"MM/dd/yy' 'h:mm tt",
    L"MM.dd.yy' 'h:mm tt",
    L"dd/MM/yy' 'h:mm tt",
    L"dd.MM.yy' 'hh:mm tt",
    L"hh:mm tt",
};

// The code as plain decimal text ("7", not "07" or "+7"), or -1.
int DateTimeCode(const std::wstring& code) {
  bool digits =
      !code.empty() && code.size() <= 2 &&
      std::all_of(code.begin(), code.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
  if (!digits || (code.size() == 2 && code[0] == L'0')) return -1;
  return code.size() == 1 ? code[0] - L'0' : (code[0] - L'0') * 10 + (code[1] - L'0');
}

}  // namespace

std::wstring TPLParser::GetDateTimeFormat(const std::wstring& code) {
  int index = DateTimeCode(code);
  if (index < 0 || index >= static_cast<int>(kDateTimePictures.size())) return kDefaultDateTime;
  return std::wstring(kDateTimePictures[static_cast<size_t>(index)]);
}

bool TPLParser::IsSignedInteger(const std::wstring& text) {
  if (text.empty()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    bool digit = c >= L'0' && c <= L'9';
    if (!digit && !(c == L'-' && i == 0)) return false;
  }
  return true;
}

void TPLParser::SelectSource(uint32_t source) {
  if (IsAnyState(kAllSources & ~source)) {
    Log(L"Warning: GetText, GetSerial, and GetDateTime cannot be used simultaneously.");
  }
  RemoveState(kAllSources);
  AddState(source);
}

void TPLParser::GetText(const std::wstring& value) {
  SelectSource(kPromptSource);
  data_->promptText = value;
}

// start,increment,count[,prefix[,suffix]]; the fields change only when all
// three numbers are sound.
void TPLParser::GetSerial(const std::wstring& value) {
  SelectSource(kSerialSource);
  std::vector<std::wstring> items = tpl::SplitList(value);
  if (items.size() < 3) {
    Log(L"Invalid Syntax for GetSerial command: " + value);
    return;
  }
  if (!IsSignedInteger(items[0]) || !IsSignedInteger(items[1]) || !IsSignedInteger(items[2])) {
    Log(L"Invalid parameter(s) for GetSerial command: " + value);
    return;
  }
  data_->serialStart = items[0];
  data_->serialIncrement = items[1];
  data_->serialCount = items[2];
  data_->serialPrefix = items.size() > 3 ? items[3] : std::wstring();
  data_->serialSuffix = items.size() > 4 ? items[4] : std::wstring();
}

void TPLParser::GetDateTime(const std::wstring& value) {
  SelectSource(kDateTimeSource);
  data_->dateTimeFormat = value.empty() ? std::wstring(kDefaultDateTime) : GetDateTimeFormat(value);
}
