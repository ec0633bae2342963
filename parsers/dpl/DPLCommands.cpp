// STX commands and label-format commands. Settings keep their value in
// TPLData, where later DPL, TPL and XTPL jobs find it, and append one setting
// record.

#include <cmath>

#include "parsers/dpl/DPLParser.h"
#include "platform/Text.h"

namespace {

constexpr size_t kValue = 0;  // the one position of a setting record

constexpr wchar_t kLengthMessage[] =
    L"Incorrect length in Paramer for <Stx>c command, length must be 4 characters";
constexpr wchar_t kQuantityMessage[] =
    L"Incorrect length in Paramer for Q command, length must be 4 characters";
constexpr wchar_t kSpeedMessage[] =
    L"Invalid Parameter for P (Set Print Speed Command. Only Values of A, C, E, G are valid";
constexpr wchar_t kAttributeMessage[] =
    L"A command (Set Format Attribute) only supports the value 2,  Transparent Mode";

// Speed letters and the speeds the session takes.
struct Speed {
  std::wstring_view letter;
  const wchar_t* speed;
};
constexpr Speed kSpeeds[] = {{L"A", L"1000"}, {L"C", L"2000"}, {L"E", L"3000"}, {L"G", L"4000"}};

// The line without its first `n` characters.
std::wstring After(const std::wstring& line, size_t n) {
  return line.size() > n ? line.substr(n) : std::wstring();
}

}  // namespace

using P = DPLParser;

const DPLParser::Command DPLParser::kStxCommands[] = {
    {L'L', &P::EnterLabelFormat},
    {L'c', &P::LabelLength},
    {L'm', &P::MetricMode},
    {L'n', &P::InchMode},
};

// Taken whether or not a label format is open.
const DPLParser::Command DPLParser::kFormatCommands[] = {
    {L'E', &P::EndLabelFormat},  {L'H', &P::Heat},
    {L'P', &P::PrintSpeed},      {L'Q', &P::PrintQuantity},
    {L'A', &P::FormatAttribute},
};

bool DPLParser::HandleSTXCommand(const std::wstring& line) {
  const wchar_t letter = line.size() > 1 ? line[1] : L'\0';
  for (const Command& command : kStxCommands) {
    if (command.letter == letter) return (this->*command.handler)(line);
  }
  ReportError(L"Unknown command " + line);
  return false;
}

bool DPLParser::HandleLabelFormatCommand(const std::wstring& line) {
  const wchar_t letter = line.empty() ? L'\0' : line.front();
  for (const Command& command : kFormatCommands) {
    if (command.letter == letter) return (this->*command.handler)(line);
  }
  return false;
}

// The session starts every label with a length that follows its content, so
// a length given before STX "L" is given again to each label of the job.
bool DPLParser::EnterLabelFormat(const std::wstring&) {
  AddState(kLabelFormat);
  record::RecordWriter start(START_LABEL);
  Add(start);
  if (!labelLengthDots_.empty()) {
    record::RecordWriter length(LABEL_LENGTH);
    length.Set(kValue, labelLengthDots_);
    Add(length);
  }
  return true;
}

bool DPLParser::LabelLength(const std::wstring& line) {
  ParseLabelLength(line);
  record::RecordWriter length(LABEL_LENGTH);
  labelLengthDots_.clear();  // "0000": the length follows the content again
  if (GenerateLabelLengthCommand(length)) {
    LabelCommand command = length.Take();
    labelLengthDots_ = command.params[kValue];
    commandList_.push_back(std::move(command));
  }
  return true;
}

bool DPLParser::MetricMode(const std::wstring&) {
  SetParserUnits(L"MM");
  return true;
}

bool DPLParser::InchMode(const std::wstring&) {
  SetParserUnits(L"INCHES");
  return true;
}

void DPLParser::ParseLabelLength(const std::wstring& line) {
  std::wstring length = After(line, 2);  // STX and "c"
  if (length.size() == 4) {
    data_->labelLength = std::move(length);
  } else {
    ReportError(kLengthMessage);
  }
}

// Converted like every other length, so that "0350" is three and a half
// inches, not three.
bool DPLParser::GenerateLabelLengthCommand(record::RecordWriter& command) {
  if (data_->labelLength == L"0000") return false;
  command.Set(kValue, Dots(data_->labelLength));
  return true;
}

bool DPLParser::EndLabelFormat(const std::wstring&) {
  record::RecordWriter print(PRINT_LABEL);
  Add(print);
  RemoveState(kLabelFormat);
  data_->ResetAll();
  return true;
}

bool DPLParser::Heat(const std::wstring& line) {
  ParseHeatSetting(line);
  record::RecordWriter density(PRINT_DENSITY);
  density.Set(kValue, data_->printDensity);
  Add(density);
  return true;
}

bool DPLParser::PrintSpeed(const std::wstring& line) {
  ParsePrintSpeed(line);
  record::RecordWriter speed(PRINT_SPEED);
  speed.Set(kValue, data_->printSpeed);
  Add(speed);
  return true;
}

bool DPLParser::PrintQuantity(const std::wstring& line) {
  ParsePrintQuantity(line);
  record::RecordWriter quantity(PRINT_QUANTITY);
  quantity.Set(kValue, data_->copies);
  Add(quantity);
  return true;
}

bool DPLParser::FormatAttribute(const std::wstring& line) {
  if (After(line, 1) != L"2") Log(kAttributeMessage);
  return true;
}

// Heat 0 to 20 maps onto the session's density range, 80 to 115.
void DPLParser::ParseHeatSetting(const std::wstring& line) {
  const double heat = platform::LeadingInt(After(line, 1));
  data_->printDensity = platform::IntToWide(static_cast<int64_t>(std::trunc(heat * 1.75 + 80.0)));
}

// A bad letter keeps the speed as it was; the caller sends it all the same.
void DPLParser::ParsePrintSpeed(const std::wstring& line) {
  const std::wstring letter = After(line, 1);
  for (const Speed& speed : kSpeeds) {
    if (speed.letter == letter) {
      data_->printSpeed = speed.speed;
      return;
    }
  }
  Log(kSpeedMessage);
}

void DPLParser::ParsePrintQuantity(const std::wstring& line) {
  std::wstring copies = After(line, 1);
  if (copies.size() == 4) {
    data_->copies = std::move(copies);
  } else {
    ReportError(kQuantityMessage);
    data_->copies = L"1";
  }
}
